// The web output of the result window: which pages the view shown writes into the
// DataHTML folder, and the notices about them.
#include "database/RankingQueries.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/RecordMarks.h"
#include "output/TOutputForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <exception>

void TOutputForm::PutToWebExecute() {
    // A folder that cannot be made or a race date that is no date ends the output;
    // the pages already written stay. Each leg's prizes and the runners are read once.
    OutputReads reads;
    try {
        doPutToWeb();
    } catch (const std::exception& e) {
        Dlg().ShowException(e.what());
    }
}

void TOutputForm::WebNotice(const std::string& boxText, const std::string& batchLine) {
    if (BatchMode)
        BatchMessages += batchLine + "\n";
    else
        Dlg().ShowMessage(boxText);
}

namespace {

void noticeCreated(TOutputForm& w, const std::filesystem::path& path) {
    w.WebNotice(path.string() + "\nが作成されました。", path.string() + "が作成されました。");
}

} // namespace

void TOutputForm::doPutToWeb() {
    if (!MainForm->GetClassFilter().empty()) {
        Dlg().ShowMessage("ｸﾗｽﾌｨﾙﾀｰが掛っているのでWeb出力はできません。");
        return;
    }
    MakeHtmlFolder();
    const std::filesystem::path dir = HtmlFolder();
    if (Tag == 0) {
        if (!PutIndexPC(dir / "indexPC.html")) return;
        noticeCreated(*this, dir / "indexPC.html");
        if (PutKojinResult(dir / "KojinResult.html")) noticeCreated(*this, dir / "KojinResult.html");
        return;
    }
    const int k = Tag;
    const std::filesystem::path leg = dir / Format("leg%d_%02d.html", OrderMode, k);
    if (!PutLegPage(leg, k)) {
        Dlg().ShowMessage("HTMLファイルの出力に失敗しました。");
    } else {
        noticeCreated(*this, leg);
        const std::filesystem::path gap = dir / Format("leg2_%02d.html", k);
        if (OrderMode == 0 && PutTimeGapPage(gap, k)) noticeCreated(*this, gap);
    }
    WriteHtmlIndexPages(dir, k);
}
