// The prize settings dialog: its controls, the copies between them and the result
// window's prize settings, the default sizes and margins scaled to the paper, and the
// praise phrases. The result window's "賞ﾊﾟﾗﾒｰﾀ" makes one for each showing.
#include "output/TFormPrizeParam.h"

#include "database/Comparators.h"
#include "output/Rtf.h"
#include "output/TOutputForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <algorithm>

namespace {

constexpr int kTeamFonts[9] = {70, 53, 40, 42, 33, 31, 28, 28, 20};  // B4
constexpr int kKojinFonts[9] = {58, 34, 38, 38, 38, 33, 53, 28, 26}; // A4
constexpr int kTeamGaps[6] = {52, 54, 84, 108, 0, 0};                // B4
constexpr int kKojinGaps[6] = {53, 70, 87, 0, 0, 0};                 // A4
constexpr int kTeamTopGap = 10, kPrizeTitleGap = 3;
// Factors from each tab's base paper to A4, B4, A3.
constexpr double kTeamFactors[3] = {0.8136986301369863, 1.0, 1.1506849315068493};
constexpr double kKojinFactors[3] = {1.0, 1.228956228956229, 1.4141414141414141};
constexpr const char* kStandardBody = "頭書のとおり優秀な成績をおさめられましたので";
constexpr const char* kStandardGlory = "栄光を讃える";
constexpr int kAliasRows = 10;

int scaled(int value, double factor) {
    return static_cast<int>(value * factor);
}

void fillCombo(ComboBox& box, const std::vector<std::string>& items, const std::string& choose) {
    box.Clear();
    for (const std::string& i : items)
        box.Add(i);
    const auto it = std::find(items.begin(), items.end(), choose);
    box.SetItemIndex(it == items.end() ? -1 : static_cast<int>(it - items.begin()));
}

} // namespace

TFormPrizeParam::TFormPrizeParam(TOutputForm& owner) : FormBase("TFormPrizeParam"), owner_(owner) {
    SetCaption("賞パラメータ");
    setUpControls();
}

void TFormPrizeParam::setUpControls() {
    for (SpinEdit* s : {&CSPZNum1, &CSPZNum2, &CSPZNum3})
        s->SetRange(0, 100);
    for (SpinEdit& s : CSF)
        s.SetRange(10, 100);
    for (SpinEdit& s : CSFont)
        s.SetRange(20, 100);
    const int teamGapRange[7][2] = {{10, 100}, {20, 100}, {20, 200}, {20, 200}, {0, 20}, {0, 20}, {0, 20}};
    for (int i = 0; i < 7; ++i)
        tm_gap[i].SetRange(teamGapRange[i][0], teamGapRange[i][1]);
    // The name indent reaches 106 mm with the B4 defaults: it goes to 200 as the team indents do.
    const int kojinGapRange[6][2] = {{20, 100}, {20, 100}, {20, 200}, {20, 100}, {0, 20}, {0, 20}};
    for (int i = 0; i < 6; ++i)
        kj_gap[i].SetRange(kojinGapRange[i][0], kojinGapRange[i][1]);
    t_mgLS.SetRange(0, 50);
    for (SpinEdit* s : {&CS_date_gap, &CS_date_gap2, &CSpinEdit2, &CSpinEdit3})
        s->SetRange(0, 30);
    CS_CRPos.SetRange(0, 40);
    t_mgLSLabel.SetCaption("上ｷﾞｬｯﾌﾟ");
    CBoxList.SetCaption("ﾘｽﾄ個人の部で改ﾍﾟｰｼﾞ");
    CheckBox2.SetCaption("1位を優勝と表示");
    CheckBox3.SetCaption("総合ｸﾗｽ使用");
    CBoxPmember.SetCaption("ﾒﾝﾊﾞｰを表示");
    CB_mimicKojin.SetCaption("個人ｽﾀｲﾙ模擬");
    CheckBox1.SetCaption("クラス名表示");
    Button2.SetTag(1);
    Button4.SetTag(1);
    ValueListEditor1.SetColCount(2);
    ValueListEditor1.SetRowCount(kAliasRows + 1);
    ValueListEditor1.SetCells(0, 0, "クラス");
    ValueListEditor1.SetCells(1, 0, "エリアス名");
    for (int i = 0; i < kAliasRows; ++i)
        ValueListEditor1.SetCells(0, i + 1, std::string(1, static_cast<char>('A' + i)));
    Button1.OnExecute = [this] { Button1Click(Button1); };
    Button2.OnExecute = [this] { Button1Click(Button2); };
    Button3.OnExecute = [this] { Button3Click(Button3); };
    Button4.OnExecute = [this] { Button3Click(Button4); };
    Button5.OnExecute = [this] { Button5Click(); };
    Button6.OnExecute = [this] { Button6Click(); };
    RadioGroup6.OnClick = [this] { RadioGroup6Click(); };
    PageControl1.OnChange = [this] { PageControl1Change(); };
}

std::vector<SpinEdit*> TFormPrizeParam::Spins() {
    std::vector<SpinEdit*> all{&CSPZNum1,   &CSPZNum2,   &CSPZNum3, &t_mgLS,      &CS_date_gap,
                               &CSpinEdit2, &CSpinEdit3, &CS_CRPos, &CS_date_gap2};
    for (SpinEdit* group : {CSF, CSFont})
        for (int i = 0; i < 9; ++i)
            all.push_back(&group[i]);
    for (SpinEdit& s : tm_gap)
        all.push_back(&s);
    for (SpinEdit& s : kj_gap)
        all.push_back(&s);
    return all;
}

void TFormPrizeParam::FormShow() {
    const PrizeSettingsBlock& s = owner_.PrizeSettings;
    PageControl1.ShowPage(std::clamp(s.PrizeParamPage, 0, PageControl1.PageCount() - 1));
    std::vector<std::string> fonts = PrinterSvc().Fonts();
    // The stored font stays visible even where it is not installed.
    if (!s.fontName.empty() && std::find(fonts.begin(), fonts.end(), s.fontName) == fonts.end())
        fonts.insert(fonts.begin(), s.fontName);
    fillCombo(ComboBox1, fonts, s.fontName);
    const std::vector<std::string> printers = PrinterSvc().List();
    const bool known = std::find(printers.begin(), printers.end(), s.prnName) != printers.end();
    fillCombo(ComboBox2, printers, known ? s.prnName : CurrentPrinterName());
    RadioGroup1.SetItems({"クラス賞", "努力賞", "区間賞"});
    showSettings();
}

void TFormPrizeParam::showSettings() {
    const PrizeSettingsBlock& s = owner_.PrizeSettings;
    Edit* edits[4] = {&LabeledEdit1, &LabeledEdit2, &LabeledEdit3, &LabeledEdit4};
    for (int i = 0; i < 4; ++i) {
        edits[i]->SetText("");
        edits[i]->SetText(s.chiefNames[i]);
    }
    RG_ddisp.SetItemIndex(s.DDispOpt);
    CSPZNum1.SetValue(s.PrizeNums[0]);
    CSPZNum2.SetValue(s.PrizeNums[1]);
    CSPZNum3.SetValue(s.PrizeNums[2]);
    CBoxList.SetChecked(s.NeedNewPage);
    RadioGroup6.SetItemIndex(s.TeamPaperOrientation);
    CheckBox2.SetChecked(s.OneIsWinner);
    for (int i = 0; i < 9; ++i) {
        CSF[i].SetValue(s.TeamFontSize[i]);
        CSFont[i].SetValue(s.FontSize[i]);
    }
    for (int i = 0; i < 7; ++i)
        tm_gap[i].SetValue(s.team_gaps[i]);
    for (int i = 0; i < 6; ++i)
        kj_gap[i].SetValue(s.kojin_gaps[i]);
    t_mgLS.SetValue(s.topMgLandscape);
    CS_date_gap.SetValue(s.date_gap);
    CS_date_gap2.SetValue(s.date_gap2);
    RadioGroup2.SetItemIndex(s.PPSize);
    RadioGroup4.SetItemIndex(s.KPPSize);
    CheckBox3.SetChecked(s.NeedGClass);
    RadioGroup3.SetItemIndex(s.TTLOpt);
    CBoxPmember.SetChecked(s.NeedPrizeMember);
    CB_mimicKojin.SetChecked(s.MimicKojin);
    RadioGroup1.SetItemIndex(s.classDisp);
    CheckBox1.SetChecked(s.shoClass);
    CSpinEdit2.SetValue(s.PrizeGap);
    CSpinEdit3.SetValue(s.TaiKaiGap);
    CS_CRPos.SetValue(s.CRPos);
    for (int i = 0; i < kAliasRows; ++i)
        ValueListEditor1.SetCells(1, i + 1, s.ClassAlias[i]);
    RadioGroup6Click();
}

void TFormPrizeParam::FormClose() {
    PrizeSettingsBlock& s = owner_.PrizeSettings;
    s.PrizeNums[0] = CSPZNum1.Value();
    s.PrizeNums[1] = CSPZNum2.Value();
    s.PrizeNums[2] = CSPZNum3.Value();
    s.NeedNewPage = CBoxList.Checked();
    s.NeedPrizeMember = CBoxPmember.Checked();
    s.MimicKojin = CB_mimicKojin.Checked();
    const Edit* edits[4] = {&LabeledEdit1, &LabeledEdit2, &LabeledEdit3, &LabeledEdit4};
    for (int i = 0; i < 4; ++i)
        s.chiefNames[i] = edits[i]->Text();
    s.PrizeGap = CSpinEdit2.Value();
    s.TaiKaiGap = CSpinEdit3.Value();
    s.classDisp = RadioGroup1.ItemIndex();
    s.shoClass = CheckBox1.Checked();
    s.CRPos = CS_CRPos.Value();
    for (int i = 0; i < 9; ++i)
        s.FontSize[i] = CSFont[i].Value();
    s.date_gap = CS_date_gap.Value();
    s.date_gap2 = CS_date_gap2.Value();
    s.TeamPaperOrientation = RadioGroup6.ItemIndex();
    s.OneIsWinner = CheckBox2.Checked();
    s.NeedGClass = CheckBox3.Checked();
    s.DDispOpt = RG_ddisp.ItemIndex();
    for (int i = 0; i < 9; ++i)
        s.TeamFontSize[i] = CSF[i].Value();
    for (int i = 0; i < 7; ++i)
        s.team_gaps[i] = tm_gap[i].Value();
    s.topMgLandscape = t_mgLS.Value();
    for (int i = 0; i < 6; ++i)
        s.kojin_gaps[i] = kj_gap[i].Value();
    s.PPSize = RadioGroup2.ItemIndex();
    s.PrizeParamPage = PageControl1.ActivePageIndex();
    s.TTLOpt = RadioGroup3.ItemIndex();
    s.KPPSize = RadioGroup4.ItemIndex();
    for (int i = 0; i < kAliasRows; ++i)
        s.ClassAlias[i] = ValueListEditor1.Cells(1, i + 1);
}

void TFormPrizeParam::ComboBox1Change() {
    const std::string font = ComboBox1.Text();
    if (font.empty()) return;
    // The font table names the font in Shift-JIS.
    if (!HasSjisForm(font)) {
        Dlg().ShowMessage("フォント名「" + font + "」はShift-JISで表せないため使えません。");
        return;
    }
    owner_.PrizeSettings.fontName = font;
}

void TFormPrizeParam::ComboBox2Change() {
    owner_.PrizeSettings.prnName = ComboBox2.Text();
}

bool TFormPrizeParam::askPaper(int tag, const char* what, double& factor) {
    const RadioGroup& paper = tag == 0 ? RadioGroup2 : RadioGroup4;
    const int i = paper.ItemIndex();
    if (i < 0) return false;
    const std::string question =
        Format("%s%s用のﾃﾞﾌｫﾙﾄに設定してもいいですか？", what, paper.Items()[i].c_str());
    if (Dlg().MessageDlg(question, MsgKind::Confirmation, Btn::YesNo) != mrYes) return false;
    factor = (tag == 0 ? kTeamFactors : kKojinFactors)[i];
    return true;
}

void TFormPrizeParam::Button1Click(const Action& sender) {
    double factor = 1;
    if (!askPaper(sender.Tag(), "ﾌｫﾝﾄｻｲｽﾞを", factor)) return;
    for (int i = 0; i < 9; ++i) {
        if (sender.Tag() == 0)
            CSF[i].SetValue(scaled(kTeamFonts[i], factor));
        else
            CSFont[i].SetValue(scaled(kKojinFonts[i], factor));
    }
}

void TFormPrizeParam::Button3Click(const Action& sender) {
    double factor = 1;
    if (!askPaper(sender.Tag(), "余白を", factor)) return;
    if (sender.Tag() == 0) {
        for (int i = 0; i < 6; ++i)
            tm_gap[i].SetValue(scaled(kTeamGaps[i], factor));
        tm_gap[6].SetValue(0);
        if (t_mgLS.Visible()) t_mgLS.SetValue(scaled(kTeamTopGap, factor));
        CS_date_gap.SetValue(0);
        return;
    }
    for (int i = 0; i < 6; ++i)
        kj_gap[i].SetValue(scaled(kKojinGaps[i], factor));
    CSpinEdit2.SetValue(scaled(kPrizeTitleGap, factor));
    CS_date_gap2.SetValue(0);
}

void TFormPrizeParam::editPhrase(std::string& member, const char* standard) {
    const std::string start = Trim(member).empty() ? standard : Trim(member);
    const auto edited = Dlg().InputQuery("賞賛句編集", "", start);
    if (!edited) return;
    const std::string text = Trim(*edited);
    if (text == start) return;
    if (text.empty()) Dlg().ShowMessage("賞賛句をデフォルトに戻します。");
    member = text;
}

void TFormPrizeParam::Button5Click() {
    editPhrase(owner_.PrizeSettings.bodyCont, kStandardBody);
}

void TFormPrizeParam::Button6Click() {
    editPhrase(owner_.PrizeSettings.gloryWord, kStandardGlory);
}

void TFormPrizeParam::RadioGroup6Click() {
    const bool landscape = RadioGroup6.ItemIndex() == 1;
    t_mgLS.SetVisible(landscape);
    t_mgLSLabel.SetVisible(landscape);
}

void TFormPrizeParam::PageControl1Change() {
    RadioGroup6Click();
}

void TFormPrizeParam::CSpinEdit11MouseDown(SpinEdit& spin) {
    spin.SetIme(ImeMode::Close);
}

void TOutputForm::OpenPrintParamExecute() {
    TFormPrizeParam dialog(*this);
    dialog.FormShow();
    Dlg().ShowModal(dialog);
    // Any way of closing keeps what the dialog shows.
    dialog.FormClose();
}
