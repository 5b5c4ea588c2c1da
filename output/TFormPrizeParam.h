#pragma once
// The prize settings dialog ("賞パラメータ"): edits the result window's prize settings
// on four pages, offers default font sizes and margins scaled to the chosen paper.
// Made for one showing: FormShow copies the settings in, FormClose copies them back.
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/ListBox.h"
#include "platform/RadioGroup.h"
#include "platform/StringGrid.h"

#include <string>
#include <vector>

class TOutputForm;

class TFormPrizeParam : public FormBase {
  public:
    explicit TFormPrizeParam(TOutputForm& owner);

    PageControl PageControl1{"PageControl1", {"全般", "団体賞", "個人賞", "ｴﾘｱｽｸﾗｽ名"}};
    // "全般"
    ComboBox ComboBox1{"ComboBox1"}; // フォント名
    ComboBox ComboBox2{"ComboBox2"}; // 賞状用プリンタ名
    Edit LabeledEdit1{"LabeledEdit1"}, LabeledEdit2{"LabeledEdit2"}, LabeledEdit3{"LabeledEdit3"},
        LabeledEdit4{"LabeledEdit4"};
    RadioGroup RG_ddisp{"RG_ddisp", "日付表示", {"和暦", "西暦"}};
    // "団体賞"
    SpinEdit CSPZNum1{"CSPZNum1"}, CSPZNum2{"CSPZNum2"}, CSPZNum3{"CSPZNum3"};
    CheckBox CBoxList{"CBoxList"};
    RadioGroup RadioGroup6{"RadioGroup6", "用紙方向", {"縦", "横"}};
    CheckBox CheckBox2{"CheckBox2"};
    SpinEdit CSF[9]{SpinEdit{"CSF0"}, SpinEdit{"CSF1"}, SpinEdit{"CSF2"}, SpinEdit{"CSF3"}, SpinEdit{"CSF4"},
                    SpinEdit{"CSF5"}, SpinEdit{"CSF6"}, SpinEdit{"CSF7"}, SpinEdit{"CSF8"}};
    SpinEdit tm_gap[7]{SpinEdit{"tm_gap0"}, SpinEdit{"tm_gap1"}, SpinEdit{"tm_gap2"}, SpinEdit{"tm_gap3"},
                       SpinEdit{"tm_gap4"}, SpinEdit{"tm_gap5"}, SpinEdit{"tm_gap6"}};
    SpinEdit t_mgLS{"t_mgLS"};
    Label t_mgLSLabel{"t_mgLSLabel"};
    SpinEdit CS_date_gap{"CS_date_gap"};
    Action Button3{"Button3", "ﾃﾞﾌｫﾙﾄに設定"}; // team margins
    RadioGroup RadioGroup2{"RadioGroup2", "用紙ｻｲｽﾞ", {"A4", "B4", "A3"}};
    Action Button1{"Button1", "ﾃﾞﾌｫﾙﾄに設定"}; // team font sizes
    CheckBox CheckBox3{"CheckBox3"};
    RadioGroup RadioGroup3{"RadioGroup3", "賞ﾀｲﾄﾙ", {"賞状", "表彰状"}};
    Action Button5{"Button5", "賞賛句編集"};
    CheckBox CBoxPmember{"CBoxPmember"};
    CheckBox CB_mimicKojin{"CB_mimicKojin"};
    // "個人賞"
    RadioGroup RadioGroup1{"RadioGroup1", "ｸﾗｽ賞表示", {}};
    CheckBox CheckBox1{"CheckBox1"};
    SpinEdit CSpinEdit2{"CSpinEdit2"}, CSpinEdit3{"CSpinEdit3"}, CS_CRPos{"CS_CRPos"};
    SpinEdit CSFont[9]{SpinEdit{"CSFont0"}, SpinEdit{"CSFont1"}, SpinEdit{"CSFont2"},
                       SpinEdit{"CSFont3"}, SpinEdit{"CSFont4"}, SpinEdit{"CSFont5"},
                       SpinEdit{"CSFont6"}, SpinEdit{"CSFont7"}, SpinEdit{"CSFont8"}};
    Action Button2{"Button2", "ﾃﾞﾌｫﾙﾄに設定"}; // individual font sizes
    SpinEdit kj_gap[6]{SpinEdit{"kj_gap0"}, SpinEdit{"kj_gap1"}, SpinEdit{"kj_gap2"},
                       SpinEdit{"kj_gap3"}, SpinEdit{"kj_gap4"}, SpinEdit{"kj_gap5"}};
    SpinEdit CS_date_gap2{"CS_date_gap2"};
    Action Button4{"Button4", "ﾃﾞﾌｫﾙﾄに設定"}; // individual margins
    RadioGroup RadioGroup4{"RadioGroup4", "用紙ｻｲｽﾞ", {"A4", "B4"}};
    Action Button6{"Button6", "賞賛句編集"};
    // "ｴﾘｱｽｸﾗｽ名": rows "A".."J", the value of row i + 1 is ClassAlias entry i.
    StringGrid ValueListEditor1{"ValueListEditor1"};

    void FormShow();
    void FormClose();
    void ComboBox1Change();
    void ComboBox2Change();
    // Both font-size buttons (Tag 0 team, 1 individual).
    void Button1Click(const Action& sender);
    // Both margin buttons.
    void Button3Click(const Action& sender);
    void Button5Click();
    void Button6Click();
    void RadioGroup6Click();
    void PageControl1Change();
    // Clicking a spin turns the input method off for it.
    void CSpinEdit11MouseDown(SpinEdit& spin);
    // Every spin of the dialog.
    std::vector<SpinEdit*> Spins();

  private:
    void setUpControls();
    void showSettings();
    // The factor of the tab's paper group; false (after no question) when the user declines.
    bool askPaper(int tag, const char* what, double& factor);
    void editPhrase(std::string& member, const char* standard);

    TOutputForm& owner_;
};
