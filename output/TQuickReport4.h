#pragma once
// The order sheet: one block per team of the order-sheet work table with its number,
// name, coach and the numbered runner lines on which the team writes its order.
#include "platform/Form.h"
#include "platform/Report.h"

#include <string>
#include <vector>

class TQuickReport4 : public FormBase {
  public:
    TQuickReport4();
    Report Rep;
    ReportBand& PageHeaderBand1 = Rep.PageHeader;
    ReportBand& ColumnHeaderBand1 = Rep.ColumnHeader;
    ReportBand& DetailBand1 = Rep.Detail;
    ReportControl &QRLabel2, &QRMemo1;
    ReportControl &QRLabel1, &QrNCard, &QRLabel4, &QrTeam, &QRShape1, &QRLabel3, &QrSensei, &QRLabel5,
        &QRMemoRunner;

    void DetailBand1BeforePrint(ReportBand& band);
    void QRLabel2Print(std::string& text);
    void QRLabel1Print(std::string& text) { text = "No"; }
    void QRLabel4Print(std::string& text) { text = "チーム名"; }
    void QRLabel5Print(std::string&) {}
    // The sheet over the current order-sheet work table, in the modal preview.
    void Preview(const std::vector<std::string>& headLines);
};
