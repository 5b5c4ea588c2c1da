#include "output/TQuickReport4.h"

#include "database/ReportTables.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

namespace {

constexpr const char* kFixedPitch = "ＭＳ ゴシック";
constexpr int kBandWidth = 680; // A4 portrait between the 20 mm and 10 mm margins

ReportControl& put(ReportBand& band, ControlKind kind, const char* name, int left, int top, int width,
                   int height, int size) {
    ReportControl& c = band.Add(kind, name);
    c.Left = left, c.Top = top, c.Width = width, c.Height = height;
    c.Font.Size = size;
    return c;
}

ReportControl& label(ReportBand& band, const char* name, const std::string& caption, int left, int top,
                     int width, int height, int size) {
    ReportControl& c = put(band, ControlKind::Label, name, left, top, width, height, size);
    c.Lines = {caption};
    return c;
}

ReportControl& field(ReportBand& band, const char* name, int left, int top, int width, int height, int size) {
    return put(band, ControlKind::DataText, name, left, top, width, height, size);
}

// printf's "%-*s" with the width in columns of the fixed-pitch font.
std::string padRightColumns(const std::string& s, int width) {
    const int used = DisplayWidth(s);
    return used >= width ? s : s + std::string(static_cast<size_t>(width - used), ' ');
}

} // namespace

TQuickReport4::TQuickReport4()
    : FormBase("TQuickReport4"),
      QRLabel2(label(PageHeaderBand1, "QRLabel2", "QRLabel2", 0, 8, kBandWidth, 32, 14)),
      QRMemo1(put(ColumnHeaderBand1, ControlKind::Memo, "QRMemo1", 0, 4, kBandWidth, 20, 9)),
      QRLabel1(label(DetailBand1, "QRLabel1", "QRLabel1", 0, 6, 90, 22, 12)),
      QrNCard(field(DetailBand1, "QrNCard", 0, 28, 90, 50, 26)),
      QRLabel4(label(DetailBand1, "QRLabel4", "QRLabel4", 110, 6, 200, 22, 12)),
      QrTeam(field(DetailBand1, "QrTeam", 110, 28, 570, 50, 26)),
      QRShape1(put(DetailBand1, ControlKind::Shape, "QRShape1", 0, 80, kBandWidth, 4, 9)),
      QRLabel3(label(DetailBand1, "QRLabel3", "監督名：", 0, 94, 130, 40, 18)),
      QrSensei(field(DetailBand1, "QrSensei", 130, 90, 550, 44, 22)),
      QRLabel5(label(DetailBand1, "QRLabel5", "登録)   [ｵｰﾀﾞｰ]", 0, 140, 400, 34, 18)),
      QRMemoRunner(put(DetailBand1, ControlKind::Memo, "QRMemoRunner", 0, 178, kBandWidth, 50, 26)) {
    SetCaption("オーダー用紙");
    Rep.Orientation = ReportOrientation::Portrait;
    Rep.TopMargin = 10, Rep.BottomMargin = 10, Rep.LeftMargin = 20, Rep.RightMargin = 10;
    PageHeaderBand1.Height = 48;
    ColumnHeaderBand1.Height = 24;
    DetailBand1.Height = 240;
    DetailBand1.Frame.Bottom = true;
    Rep.PageFooter.Height = 0;
    QRLabel2.Font.Bold = true;
    QRLabel1.Alignment = QrNCard.Alignment = ReportAlign::Right;
    QRShape1.Dotted = true;
    QRMemo1.AutoStretch = true;
    QRMemoRunner.Font.Family = kFixedPitch;
    QRMemoRunner.AutoStretch = QRMemoRunner.WordWrap = true;
    // A long team name keeps whole in its box; a team's block that runs on over a page
    // says whose runners continue there.
    QrTeam.ShrinkToFit = true;
    for (ReportControl* c : {&QRLabel1, &QrNCard, &QRLabel4, &QrTeam})
        c->RepeatOnContinuation = true;
    QRLabel2.OnPrint = [this](std::string& t) { QRLabel2Print(t); };
    QRLabel1.OnPrint = [this](std::string& t) { QRLabel1Print(t); };
    QRLabel4.OnPrint = [this](std::string& t) { QRLabel4Print(t); };
    QRLabel5.OnPrint = [this](std::string& t) { QRLabel5Print(t); };
    Rep.DetailBeforePrint = [this](ReportBand& b) { DetailBand1BeforePrint(b); };
}

void TQuickReport4::QRLabel2Print(std::string& text) {
    text = MainForm->ReceName.Text() + " オーダー用紙";
}

// The registered runners of the record with their readings; the brackets are the box
// in which the team writes its order. The fixed-pitch font lines the columns up.
void TQuickReport4::DetailBand1BeforePrint(ReportBand&) {
    TMainForm& f = *MainForm;
    const int team = f.FindTeamRowByAlias(StrToIntDef(Rep.FieldText("TCol_0"), 0));
    QRMemoRunner.Lines.clear();
    for (int i = 1; i <= f.KukanNum + f.HoketuNum; ++i) {
        std::string name = Trim(Rep.FieldText(Format("TCol_%d", i + 2)));
        std::string kana = f.RunnerKanaName(team, i, 0);
        if (name.empty()) name = " ";
        if (kana.empty()) kana = " ";
        QRMemoRunner.Lines.push_back(Format("%2d) [   ] ", i) + padRightColumns(name, 13) + " " + kana);
    }
}

void TQuickReport4::Preview(const std::vector<std::string>& headLines) {
    const ReportTableData data = LoadReportTable();
    Rep.Fields = data.Fields;
    Rep.Records = data.Records;
    QRMemo1.Lines = headLines;
    QrNCard.DataField = "TCol_0";
    QrTeam.DataField = "TCol_1";
    QrSensei.DataField = "TCol_2";
    ReportSvc().Preview(Rep);
}
