#pragma once
// The result output window: computes the results of the chosen leg (or of the whole
// race), shows them and starts every result output from its tool bar and menu.
#include "mainwindow/TMainForm.h"
#include "output/PrizeParams.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Form.h"
#include "platform/StringGrid.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// A tool button whose picture its handler switches.
class ImageAction : public Action {
  public:
    using Action::Action;
    int ImageIndex() const { return image_; }
    void SetImageIndex(int i) { set(image_, i); }

  private:
    int image_ = -1;
};

struct ToolButtonDef {
    std::string Name;
    Action* Target = nullptr;
    const MenuDef* DropDown = nullptr;
};

class TOutputForm : public FormBase {
  public:
    static constexpr int kTeamOrderImage = 17, kRunnerOrderImage = 16;
    // Fixed cells and the highlight of the result grids; the title line.
    static constexpr int kSkyBlue = 0xA6CAF0;
    static constexpr int kTitleYellow = 0xFFFF00;

    TOutputForm();

    // The leg shown: 0 the overall results, k leg k only (the start-list pages ask for
    // the placeholder sheet page with PutSheetHtml(-1), never through Tag).
    int Tag = 0;
    int OrderMode = 0; // leg view: 0 "チーム順", 1 "個人順"
    // A restart before the last relay point corrected the totals (set by the computation).
    bool RestartCorrected = false;
    // Teams in the ranking, from CountRankedTeams.
    int RankedTeamCount = 0;
    bool ClassRankOn = false; // every team has a class: class places and prizes shown
    std::string PrizeCsvText;
    std::string BatchMessages;
    bool BatchMode = false;
    std::string DenkoText;
    int WorkSortMode = 0;
    PrizeSettingsBlock PrizeSettings;
    // The view holds the results of the last showing. Without them (a data error, nobody
    // to rank, a view that failed to fill) every output refuses and writes nothing.
    bool ResultsShown = false;
    // What the view was computed from changed since (MainForm's InputRevision): every
    // output first asks to compute again, and writes nothing from the old view.
    bool ViewStale() const;

    // ---- Prize settings file and the certificates' work members ----
    void LoadPrizeParams();
    void SavePrizeParams();
    // Splits text after n characters into TitleLine1/TitleLine2; false (both empty)
    // when the text is empty or shorter than n Shift-JIS bytes.
    bool SplitTextAtChars(const std::string& text, int n);
    std::string TitleLine1, TitleLine2;
    // Paper width, height, left, right, top, bottom margin in twips of the document being written.
    int PaperTwips[6] = {};
    int ListTableWidth = 0;     // usable width of the prize list in twips
    int ListCellFontSize = 12;  // points of the prize list's cells
    bool ListBoldCells = false; // header cells
    // Runner name, runner kana, team name, team kana, time, remark of the winner being written.
    std::string PrizeRowTexts[6];
    // The default printer before a certificate's printer switch.
    std::string SavedPrinterName;
    // A viewer that hands the document to a running office suite ends at once; the
    // suite's lock file may appear this long after.
    int LockGraceMs = 3000;

    // ---- Controls ----
    Label ResultTTL{"ResultTTL"};
    StringGrid OutputTTLGrid{"OutputTTLGrid"}; // overall view
    StringGrid OutputGrid{"OutputGrid"};       // leg view
    StringGrid tmpDBGrid{"tmpDBGrid"};         // the raw work table after a data error
    StringGrid tempGrid{"tempGrid"};           // hidden work grid
    StatusBar StatusBar1{"StatusBar1"};
    FileDialogRequest SaveDialog1{"", "Excelファイル|*.xlsx", "", "", "xlsx"};
    // The control that has the keyboard focus, by name; the view follows it.
    std::string FocusedControl;

    // ---- Actions, tool bar and pop-up menu ----
    Action OpenResultRep{"OpenResultRep"};
    ImageAction UpDownBtn{"UpDownBtn"};
    Action PutToExcel{"PutToExcel", "Excel出力"};
    Action ActionClipCopy{"ActionClipCopy", "clipcopy"};
    Action TeamResultExcel{"TeamResultExcel"};
    Action PutToWeb{"PutToWeb"};
    Action Macro{"Macro"};
    Action PutToDenko{"PutToDenko"};
    Action PutKojinPrize{"PutKojinPrize", "個人賞状"};
    Action OpenPrintParam{"OpenPrintParam", "賞ﾊﾟﾗﾒｰﾀ"};
    Action TopRunnersList{"TopRunnersList", "表彰対象リスト"};
    Action TopTeamPrize{"TopTeamPrize", "チーム賞状"};
    Action N6{"N6", "チーム成績ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ"};
    Action N7{"N7", "個人成績ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ"};
    Action ToolButton2{"ToolButton2", "終了(&X)"};
    MenuDef PopupMenu1;
    std::vector<ToolButtonDef> ToolBar;

    // ---- Showing and the computation ----
    // The result action shows the window this way: visible, then FormShow computes.
    // The view must not call FormShow on its own show events (restoring a minimised
    // window recomputes nothing).
    void ShowResults();
    void FormShow();
    void ToolButton2Click() { Close(); }
    void MacroExecute();
    void ActionClipCopyExecute() { CopyResultToClipboard(); }
    void TeamResultExcelExecute() { CopyTeamResultText(0); }
    void N6Click() { CopyTeamResultText(1); }
    void N7Click() { CopyTeamResultText(2); }

    // ---- On-screen views ----
    void ShowTotalResult(StringGrid& grid);
    bool FillTotalResultGrid(int legs);
    void ShowLegResult();
    bool FillLegResultGrid(int leg, bool keepCells);
    void UpDownBtnClick();
    // The raw work table into tmpDBGrid.
    void ShowWorkTable();
    CellStyle OutputGridDrawCell(int col, int row) const;
    CellStyle OutputTTLGridDrawCell(int col, int row) const;
    CellStyle tmpDBGridDrawColumnCell(int col, int row) const;

    // ---- Outputs of their own (built one by one; until then they do nothing) ----
    void OpenResultRepExecute();
    void PutToExcelExecute();
    void CopyResultToClipboard();
    void CopyTeamResultText(int mode);
    void PutToWebExecute();
    // The batch's sheet pages are those of the leg shown.
    void PutSheetHtml() { PutSheetHtml(Tag); }
    void PutToDenkoExecute();
    void PutKojinPrizeExecute();
    void OpenPrintParamExecute();
    void TopRunnersListExecute();
    void TopTeamPrizeExecute();
    // False (with a message) when "開催日" is not a date: no file then.
    bool BeginPrizeResult();
    void AddPrizeResultLeg(int leg);
    bool WritePrizeResultCsv();
    void OfferMacroWorkbook();

    // ---- Web pages (DataHTML of the race folder) ----
    void doPutToWeb();
    // A notice of the web output: a box, or while the batch runs a line of BatchMessages.
    void WebNotice(const std::string& boxText, const std::string& batchLine);
    bool PutIndexPC(const std::filesystem::path& path);
    bool PutKojinResult(const std::filesystem::path& path);
    bool PutTeamPages(int team);
    bool PutLegPage(const std::filesystem::path& path, int k);
    bool PutTimeGapPage(const std::filesystem::path& path, int k);
    // First relay point 1..k with an advanced start (not a restart); 0 when none.
    int FindFirstKuriageLeg(int k) const;
    bool WriteHtmlIndexPages(const std::filesystem::path& dir, int k);
    bool IsLegColumnComplete(int k) const;
    // leg 0 nothing, -1 the placeholder s01.html, k the sheet pages of leg k. False when
    // a page (or the folder) could not be written.
    bool PutSheetHtml(int leg);
    bool WriteHtmlFile(const std::filesystem::path& path, const std::string& text);
    bool putSheetPages(int leg);

  private:
    void buildToolBar();
    void wireActions();
    // The handler of an output command: run only over computed results, and only over
    // those of the input as it stands (a stale view is computed again first, if the
    // desk agrees); not when the new showing disabled the command.
    std::function<void()> withResults(Action& command, std::function<void()> run);
    bool recomputeStaleView();
    // The title and the status bar tell that the view is stale.
    void markStale(bool stale);
    void computeAndShowView();
    // 0 ranked, 1 data error (the raw table is shown), 2 nobody to rank.
    int computeResults(int legs);
    void showView();
    void writePrizeData(int legs);
    void hideViews();
    unsigned long long shownRevision_ = 0;
    bool staleMarked_ = false;
};
