#pragma once
// Names a new race folder while showing the existing ones under the data root.
#include "platform/Controls.h"
#include "platform/Form.h"

#include <string>
#include <vector>

class TcurrTaikaiDir : public FormBase {
public:
    TcurrTaikaiDir();

    Label TaikaiLbl{"TaikaiLbl"};
    Edit TaikaiEdit{"TaikaiEdit"};
    Action OKBtn{"OKBtn", "OK"};
    Action CancelBtn{"CancelBtn", "キャンセル"};
    // The folder the list shows (always the data root) and its sub-folders.
    std::string ShownFolder;
    std::vector<std::string> Folders;

    void FormActivate();
    void OKBtnClick();
    void currDirBoxMouseDown();
};
