// Certificates and the prize list on the finished race F1 renamed 第5回駅伝 with team 1
// as 東高: the documents' exact lines where the desk's templates depend on them, the
// texts a word processor shows, the pages, and the opening with the prize printer.
#include "output/Certificates.h"
#include "output/OpenCertificates.h"
#include "platform/Shell.h"
#include "support/F1Race.h"
#include "support/FakeDesk.h"
#include "support/RtfReader.h"
#include "support/TempDir.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <tuple>

namespace {

class Certificates : public F1Race {
  protected:
    FakeDesk desk;
    bool shown = false;
    Printers printers{desk};

    void SetUp() override {
        F1Race::SetUp();
        CurrentServices().shell = &desk;
        CurrentServices().printers = &printers;
        OutputForm->LockGraceMs = 0;
    }
    PrizeSettingsBlock& S() { return OutputForm->PrizeSettings; }
    std::filesystem::path Folder() { return form().DataFolder; }

    // 東高 passes point 1 at p1 and the finish at p2 (time codes); the others 5 and 15 s
    // after it at point 1, 10 and 20 s at the finish. adjust changes the race before it is saved.
    void BuildRace(int p1 = 10000, int p2 = 20530, const std::function<void()>& adjust = {}) {
        BuildF1();
        form().ReceName.SetText("第5回駅伝");
        TeamRow(1, "東高", "3500");
        Leg(1, {{1, p1}, {2, p1 + 5}, {3, p1 + 15}});
        Leg(2, {{1, p2}, {2, p2 + 10}, {3, p2 + 20}});
        if (adjust) adjust();
        ASSERT_TRUE(SaveTaikaiFields(false));
        ShowAll();
    }
    // The overall view (all classes, or the class of that item: 1 A, 2 B) or the view of
    // one leg; a second showing recomputes.
    void ShowAll(int view = 0, int classItem = 0) {
        auto calls = std::make_shared<int>(0);
        auto pick = [view, classItem, calls](FormBase& f) {
            auto& d = static_cast<TKukanParamForm&>(f);
            d.KukanListBox.SetItemIndex((*calls)++ == 0 ? view : classItem);
            d.KukanListBoxClick();
            d.OKBtn.Execute();
            return f.ModalResultValue();
        };
        dialogs.AnswerModal(pick);
        if (view == 0 && !Trim(form().MaxClassLetter()).empty()) dialogs.AnswerModal(pick);
        if (shown) dialogs.AnswerDlg(mrYes);
        shown = true;
        form().OutputResultExecute();
        for (const std::string& t : dialogs.Texts())
            ASSERT_EQ(t, "処理はすでに実行されています\n再計算しますか ?");
        dialogs.ClearLog();
    }
    // The document's bytes and whether each wanted line (UTF-8, raw text as CP932) is in it.
    std::string Bytes(const std::string& name) {
        std::string bytes;
        EXPECT_TRUE(ReadFileBytes(Folder() / name, bytes)) << name;
        return bytes;
    }
    static bool Has(const std::string& bytes, const std::string& piece) {
        return bytes.find(ToSjis(piece)) != std::string::npos;
    }
    static ::testing::AssertionResult Said(const RtfText& doc, const std::string& paragraph) {
        if (std::find(doc.Paragraphs.begin(), doc.Paragraphs.end(), paragraph) != doc.Paragraphs.end())
            return ::testing::AssertionSuccess();
        std::string all;
        for (const std::string& p : doc.Paragraphs)
            all += "[" + p + "]\n";
        return ::testing::AssertionFailure() << "no [" << paragraph << "] among\n" << all;
    }
};

} // namespace

TEST_F(Certificates, RtfBasics) {
    for (auto [mm, twips] :
         std::vector<std::pair<int, int>>{{15, 850}, {-15, -850}, {0, 0}, {1, 56}, {20, 1134}})
        EXPECT_EQ(MmToTwips(mm), twips) << mm;
    EXPECT_EQ(RtfEscapeText("AB\n"), "\\'41\\'42\\'0A");
    EXPECT_EQ(RtfEscapeText(""), "");
    // Characters Shift-JIS lacks as signed UTF-16 units, each with the fallback the head's \uc1 skips.
    for (auto [text, rtf] : std::vector<std::pair<std::string, std::string>>{
             {"𠮷田", "\\u-10174?\\u-8265?\\'93\\'63"}, {"é", "\\u233?"}, {"한?", "\\u-10916?\\'3F"}})
        EXPECT_EQ(RtfEscapeText(text), rtf) << text;
    EXPECT_EQ(ReadRtf("{\\rtf1\\uc1 " + RtfEscapeText("𠮷田é") + "\\par}").Paragraphs.at(0), "𠮷田é");
    TOutputForm& w = *OutputForm;
    w.ListCellFontSize = 10;
    EXPECT_EQ(
        RtfTableCell(w, RtfEscapeText("山田太郎"), RtfEscapeText("ﾔﾏﾀﾞ"), 'l'),
        "\\pard\\intbl\\ql{\\fs16\\'D4\\'CF\\'C0\\'DE}\\line{\\fs20\\'8E\\'52\\'93\\'63\\'91\\'BE\\'98\\'59}"
        "\\sl-200\\cell");
    w.ListBoldCells = true;
    EXPECT_EQ(RtfTableCell(w, "\\'31", "", 'c'), "\\pard\\intbl\\qc{\\b\\fs20 \\'31}\\cell");
    EXPECT_EQ(RtfTableCell(w, "", "", 'c'), "\\pard\\intbl\\cell");
    EXPECT_EQ(RtfCellBorders(1, 0, 0, 1), "\\clbrdrt\\brdrw15\\brdrs\\clbrdrr\\brdrw15\\brdrs");
    EXPECT_EQ(RtfCellBorders(0, 0, 0, 0), "");
    // ソ is 83 5C: its second byte would end the name early.
    EXPECT_EQ(RtfFontTableName("a\\b{c};ソフト"), "a\\'5Cb\\'7Bc\\'7D\\'3B\\'83\\'5Cフト");
    EXPECT_TRUE(IsKnownRtfFont("ＭＳ Ｐゴシック 太字"));
    EXPECT_FALSE(IsKnownRtfFont("Noto Serif CJK JP"));
    form().NoUseOleFont = true;
    EXPECT_TRUE(IsKnownRtfFont("Noto Serif CJK JP"));
    // Each width converted alone; the last column reaches the usable width.
    w.ListTableWidth = 9923;
    const std::string kojin = WriteListKojinTable(w, false), team = WriteListTeamTable(w, false, '0');
    for (int edge : {793, 1813, 3514, 5498, 7482, 9923})
        EXPECT_NE(kojin.find(Format("\\clvertalc\\cellx%d", edge)), std::string::npos) << edge;
    for (int edge : {1417, 4081, 6745, 9923})
        EXPECT_NE(team.find(Format("\\cellx%d", edge)), std::string::npos) << edge;
    w.ListTableWidth = 100; // widths beyond the page stay as they are
    EXPECT_NE(WriteListTeamTable(w, false, '0').find("\\cellx9466"), std::string::npos);
}

TEST_F(Certificates, TeamCertificatePortraitB4) {
    BuildRace();
    S().PPSize = 1;
    S().TeamPaperOrientation = 0;
    S().bodyCont = "100%s";
    OutputForm->TopTeamPrize.Execute();
    EXPECT_TRUE(dialogs.Texts().empty()) << dialogs.Joined();
    const std::string path = (Folder() / "AllPrize.RTF").string();
    EXPECT_EQ(desk.Log, (std::vector<std::string>{"run viewer " + path}));
    const std::string b = Bytes("AllPrize.RTF");
    EXPECT_TRUE(
        Has(b, "{\\rtf1\\ansi\\ansicpg932\\uc1\\deff0\\fs22{\\fonttbl{\\f0\\fcharset128 ＭＳ Ｐゴシック;}"));
    EXPECT_TRUE(Has(
        b, "\r\n\\paperw14571 \\paperh20695 \\margl1134 \\margr1134 \\margt1134 \\margb1134 \\portrait\r\n"));
    EXPECT_TRUE(Has(b, "\\pard\\sb1814\\sa56\\qc\\sl-1400{\\fs140 \\'8F\\'DC\\'20\\'8F\\'F3}\\par"));
    EXPECT_TRUE(Has(b, "\\pard\\sa56\\li1927\\ri1927\\qj\\sl-1060{\\fs106 \\'97\\'44\\'8F\\'9F}\\par"));
    EXPECT_TRUE(Has(b, "\\pard\\sa56\\qc\\sl-840{\\fs84 \\'93\\'8C\\'8D\\'82 殿}\\par"));
    EXPECT_TRUE(EndsWith(b, "\\pard\\par\r\n}\r\n"));
    const RtfText doc = ReadRtf(b);
    EXPECT_TRUE(doc.Balanced);
    EXPECT_TRUE(Said(doc, "記録2時間5分30秒"));
    EXPECT_TRUE(Said(doc, "第2位"));
    EXPECT_TRUE(Said(doc, "躍進賞")); // 東高 lost least against last year
    EXPECT_TRUE(Said(doc, "記録1時間30分30秒(退)"));
    EXPECT_TRUE(Said(doc, "貴チームは第5回駅伝において100%sその栄誉を讃えこれを賞します"));
    EXPECT_EQ(doc.Pages, 5); // three overall, two improvement, no blank sheet
}

TEST_F(Certificates, TeamCertificateLandscapeWithMembersAndClasses) {
    BuildRace();
    S().NeedPrizeMember = true;
    S().NeedGClass = true;
    S().PrizeNums[2] = 0;
    OutputForm->TopTeamPrize.Execute();
    std::string b = Bytes("AllPrize.RTF");
    EXPECT_TRUE(Has(b, "\\margt1701 \\margb1134 \\landscape"));
    RtfText doc = ReadRtf(b);
    EXPECT_TRUE(Said(doc, "記録二時間五分三〇秒"));
    EXPECT_TRUE(Said(doc, "総合優勝"));
    EXPECT_TRUE(Said(doc, "東高 殿"));
    EXPECT_TRUE(Said(doc, "鈴木次郎 \n山田太郎")); // landscape separator is a blank
    EXPECT_TRUE(Said(doc, "貴チームは第五回駅伝において頭書のとおり優秀な成績をおさめられましたのでその栄誉を"
                          "讃えこれを賞します"));
    EXPECT_TRUE(Said(doc, "（例）日本タヴレン協会")); // the awarders' lines 1 and 3 full width,
    EXPECT_TRUE(Said(doc, "会長 タヴレン太郎"));      // the names below them as typed
    EXPECT_EQ(doc.Pages, 3);

    // Portrait members; classes with an alias; no overall prizes.
    S().TeamPaperOrientation = 0;
    S().PrizeNums[0] = 0;
    S().PrizeNums[1] = 1;
    S().ClassAlias[1] = "一般";
    Class(1, "A");
    Class(2, "B");
    Class(3, "B");
    ASSERT_TRUE(SaveTaikaiFields(false));
    ShowAll();
    desk.Log.clear();
    OutputForm->TopTeamPrize.Execute();
    b = Bytes("AllPrize.RTF");
    EXPECT_TRUE(Has(b, "\\'2F\\line\\'8E\\'52\\'93\\'63")); // 鈴木次郎/ <> 山田太郎
    doc = ReadRtf(b);
    EXPECT_TRUE(Said(doc, "A部優勝"));
    EXPECT_TRUE(Said(doc, "一般\n優勝"));
    EXPECT_FALSE(Said(doc, "第2位"));
    EXPECT_EQ(doc.Pages, 2);
    EXPECT_EQ(desk.Log.size(), 1u);
}

TEST_F(Certificates, LegCertificateWithNewRecord) {
    BuildRace(10000, 11530, [this] { LegInfo(2, "ゴール", "5.25", "1600"); }); // 東高 runs leg 2 in 15'30"
    ShowAll(2);
    OutputForm->PutKojinPrize.Execute();
    std::string b = Bytes("Kukan02.RTF");
    EXPECT_TRUE(Has(b, "\\paperw11907 \\paperh16839 \\margl567 \\margr567 \\margt567 \\margb567 \\portrait"));
    EXPECT_TRUE(Has(b, "\\pard\\sb2438\\sa170\\qc\\sl-1160{\\fs116 \\'8B\\'E6\\'20\\'8A\\'D4\\'20\\'8F\\'DC}\\par"));
    EXPECT_TRUE(Has(b, "{\\fs68(\\'8B\\'E6\\'8A\\'D4\\'90\\'56)}"));
    RtfText doc = ReadRtf(b);
    for (const char* p : {"第5回駅伝", "第2区(5.25km)", "記録15分30秒(区間新)", "山田太郎 殿", "東高",
                          "栄光を讃える", "(例)日本タヴレン協会"})
        EXPECT_TRUE(Said(doc, p)) << p;
    EXPECT_EQ(doc.Pages, 1);
    form().chk100.SetChecked(true);
    dialogs.AnswerDlg(mrYes); // the times are read again in hundredths
    OutputForm->PutKojinPrize.Execute();
    EXPECT_TRUE(Said(ReadRtfFile(Folder() / "Kukan02.RTF"), "第2区(5250m)"));
    form().chk100.SetChecked(false);
    dialogs.ClearLog();

    // Every leg in leg order; then a leg without any winner.
    ShowAll();
    OutputForm->PutKojinPrize.Execute();
    doc = ReadRtfFile(Folder() / "Kukan00.RTF");
    EXPECT_EQ(doc.Pages, 2);
    EXPECT_LT(std::find(doc.Paragraphs.begin(), doc.Paragraphs.end(), "第1区(5km)"),
              std::find(doc.Paragraphs.begin(), doc.Paragraphs.end(), "第2区(5.25km)"));
    DataMdl->Db()->Prepare("UPDATE temptable.db SET KPlace_2 = 999").Step();
    WriteKojinPrizeRtf(*OutputForm, 2);
    b = Bytes("Kukan02.RTF");
    EXPECT_EQ(Split(b, '\n').size(), 5u);
    EXPECT_TRUE(EndsWith(b, "\\portrait\r\n\\pard\\par\r\n}\r\n"));
}

TEST_F(Certificates, PrizeList) {
    BuildRace(10000, 20530, [this] { form().taikaiBestGrid.SetCells(3, 1, "30000"); });
    OutputForm->TopRunnersList.Execute();
    const std::string path = (Folder() / "ALL_List.RTF").string();
    EXPECT_EQ(desk.Log, (std::vector<std::string>{"open " + path})); // no printer, no wait
    std::string b = Bytes("ALL_List.RTF");
    EXPECT_TRUE(
        Has(b, "\\paperw11907 \\paperh16839 \\margl1134 \\margr850 \\margt850 \\margb850 \\portrait"));
    EXPECT_TRUE(
        Has(b, "\\pard\\intbl\\qc{\\fs24 \\'31}\\cell\\pard\\intbl\\ql{\\fs24 \\'93\\'8C\\'8D\\'82}\\cell"
               "\\pard\\intbl\\cell"));
    EXPECT_TRUE(Has(b, "\\pard\\intbl\\ql{\\fs24 \\'91\\'E5\\'89\\'EF\\'90\\'56}\\cell\\row"));
    EXPECT_TRUE(Has(b, "\\pard\\intbl\\qc{\\b\\fs20 \\'91\\'8D"));
    RtfText doc = ReadRtf(b);
    EXPECT_TRUE(doc.Balanced);
    EXPECT_EQ(doc.Pages, 1);
    for (const char* p : {"表彰対象リスト\n\n第5回駅伝 (令和6年1月14日)\n", "(団体の部)",
                          "総合順位\tチーム名\tカナ\t記録\t備考\t", "1\t東高\t\t2時間5分30秒\t大会新\t",
                          "躍進順位\t\t\t\t\t", "1\t東高\t\t1時間30分30秒\t退\t", "(個人の部)",
                          "1区\t5km\t区間賞\tｽｽﾞｷ ｼﾞﾛｳ\n鈴木  次郎\t東高\t1時間0分00秒\t\t",
                          "2区\t6.1km\t区間賞\tﾔﾏﾀﾞ ﾀﾛｳ\n山田  太郎\t東高\t1時間5分30秒\t\t"})
        EXPECT_TRUE(Said(doc, p)) << p;
    S().NeedNewPage = true;
    OutputForm->TopRunnersList.Execute();
    EXPECT_EQ(ReadRtfFile(path).Pages, 2);
}

TEST_F(Certificates, OpeningWithThePrizePrinter) {
    BuildRace();
    const std::string path = (Folder() / "AllPrize.RTF").string();
    S().prnName = "P2";
    OutputForm->TopTeamPrize.Execute();
    EXPECT_EQ(desk.Log, (std::vector<std::string>{"default P2", "run viewer " + path, "default P1"}));
    EXPECT_EQ(desk.DefaultPrinter, "P1");

    desk.Log.clear();
    desk.ViewerExit = -1;
    OutputForm->TopTeamPrize.Execute();
    EXPECT_EQ(dialogs.Joined(), "Could not create process\n" + path); // the document is there to open by hand
    EXPECT_EQ(desk.Log, (std::vector<std::string>{"default P2", "run viewer " + path, "default P1"}));

    // A desk without a default printer gets none back.
    desk.Log.clear();
    desk.ViewerExit = 0;
    desk.DefaultPrinter.clear();
    OutputForm->TopTeamPrize.Execute();
    EXPECT_EQ(desk.Log, (std::vector<std::string>{"default P2", "run viewer " + path, "drop P2"}));
    EXPECT_EQ(desk.DefaultPrinter, "");

    desk.Log.clear();
    form().PRTCHG_NO = true;
    OutputForm->TopTeamPrize.Execute();
    EXPECT_EQ(desk.Log, (std::vector<std::string>{"open " + path}));
}

// Under a class filter the ranking holds that class only: its places are class places,
// never overall ones.
TEST_F(Certificates, UnderAClassFilterNoOverallPlaces) {
    BuildRace(10000, 20530, [this] {
        Class(1, "A");
        Class(2, "B");
        Class(3, "B");
    });
    S().TeamPaperOrientation = 0;
    S().PrizeNums[2] = 0;
    ShowAll(0, 2); // class B: 大阪AC second overall, 横浜 third
    OutputForm->TopTeamPrize.Execute();
    RtfText doc = ReadRtfFile(Folder() / "AllPrize.RTF");
    EXPECT_TRUE(Said(doc, "B部優勝"));
    EXPECT_TRUE(Said(doc, "B部第2位"));
    EXPECT_FALSE(Said(doc, "優勝"));
    EXPECT_FALSE(Said(doc, "第2位"));
    EXPECT_EQ(doc.Pages, 2);
    OutputForm->TopRunnersList.Execute();
    doc = ReadRtfFile(Folder() / "ALL_List.RTF");
    EXPECT_TRUE(Said(doc, "総合順位\tチーム名\tカナ\t記録\t備考\t"));
    EXPECT_TRUE(Said(doc, "1\t大阪AC\t\t2時間5分40秒\t\t")); // the class table
    EXPECT_EQ(std::count(doc.Paragraphs.begin(), doc.Paragraphs.end(), "1\t大阪AC\t\t2時間5分40秒\t\t"), 1);

}

// A leg prize is the leg's whatever class the view shows.
TEST_F(Certificates, LegPrizesUnderAClassFilterGoToTheLegWinners) {
    BuildRace(10000, 20530, [this] {
        Class(1, "A");
        Class(2, "B");
        Class(3, "B");
    });
    OutputForm->PutKojinPrize.Execute();
    const std::string unfiltered = Bytes("Kukan00.RTF");
    ShowAll(0, 2); // B クラスのみ; 東高 (A) won both legs
    OutputForm->PutKojinPrize.Execute();
    EXPECT_TRUE(Bytes("Kukan00.RTF") == unfiltered);
    OutputForm->TopRunnersList.Execute();
    const RtfText list = ReadRtfFile(Folder() / "ALL_List.RTF");
    for (const std::string& p : list.Paragraphs)
        EXPECT_EQ(p.find("区間賞"), std::string::npos) << p;
    for (const char* p : {"1区\t5km\tB部クラス賞\tｻﾄｳ ｲﾁﾛｳ\n佐藤  一郎\t大阪AC\t1時間0分05秒\t\t",
                          "2区\t6.1km\tB部クラス賞\t高橋  三郎\t大阪AC\t1時間5分35秒\t\t",
                          "\t\tB部クラス賞\t伊藤  五郎\t横浜\t1時間5分35秒\t\t"})
        EXPECT_TRUE(Said(list, p));
}

TEST_F(Certificates, FontPassChangesOnlyTheFontTable) {
    BuildRace();
    form().PRTCHG_NO = true;
    OutputForm->TopTeamPrize.Execute();
    const std::string before = Bytes("AllPrize.RTF");
    S().fontName = "Noto Serif CJK JP";
    OutputForm->TopTeamPrize.Execute();
    const std::string after = Bytes("AllPrize.RTF");
    EXPECT_EQ(ReadRtf(after).Fonts, std::vector<std::string>(4, "Noto Serif CJK JP"));
    EXPECT_EQ(after.substr(after.find("}}")), before.substr(before.find("}}")));
    EXPECT_TRUE(dialogs.Texts().empty()) << dialogs.Joined();

    S().fontName = "Font\\{x};";
    OutputForm->TopTeamPrize.Execute();
    EXPECT_TRUE(Has(Bytes("AllPrize.RTF"), "{\\f3\\fcharset128 Font\\'5C\\'7Bx\\'7D\\'3B;}}"));
    S().fontName = "한글";
    OutputForm->TopTeamPrize.Execute();
    EXPECT_EQ(dialogs.Texts().back(), "フォント名「한글」はShift-JISで表せないため使えません。");
}

TEST_F(Certificates, FailuresAreNamed) {
    BuildRace();
    // A folder where the document should be: not saved, nothing opened.
    std::filesystem::create_directory(Folder() / "Kukan00.RTF");
    OutputForm->PutKojinPrize.Execute();
    EXPECT_EQ(dialogs.Joined(), (Folder() / "Kukan00.RTF").string() + "\nの出力に失敗しました。");
    // A race folder that became a plain file.
    std::filesystem::remove_all(Folder());
    ASSERT_TRUE(WriteFileBytes(Folder(), "x"));
    dialogs.ClearLog();
    for (Action* a : {&OutputForm->TopTeamPrize, &OutputForm->TopRunnersList, &OutputForm->PutKojinPrize})
        a->Execute();
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>(3, Folder().string() + "が存在しません。"));
    EXPECT_TRUE(desk.Log.empty());
}

// A lock file beside the document: an office suite holds it open.
TEST_F(Certificates, ADocumentHeldOpenIsRefused) {
    BuildRace();
    std::filesystem::path lock;
    desk.WhileViewing = [&] { std::filesystem::remove(lock); }; // else a wait would never end
    const std::string old = "{\\rtf1 old}\r\n";
    for (auto [action, file, lockName] :
         {std::tuple{&OutputForm->TopTeamPrize, "AllPrize.RTF", ".~lock.AllPrize.RTF#"},
          {&OutputForm->PutKojinPrize, "Kukan00.RTF", ".~lock.Kukan00.RTF#"},
          {&OutputForm->TopRunnersList, "ALL_List.RTF", ".~lock.ALL_List.RTF#"},
          {&OutputForm->TopTeamPrize, "AllPrize.RTF", "~$AllPrize.RTF"}}) {
        SCOPED_TRACE(lockName);
        lock = Folder() / lockName;
        ASSERT_TRUE(WriteFileBytes(Folder() / file, old) && WriteFileBytes(lock, ""));
        dialogs.ClearLog();
        desk.Log.clear();
        const auto t0 = std::chrono::steady_clock::now();
        action->Execute();
        EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));
        // Told, nothing written, nothing opened.
        EXPECT_EQ(std::tuple(dialogs.Joined(), Bytes(file) == old, desk.Log.empty()),
                  std::tuple("そのﾌｧｲﾙはオープンされています。保存できませんでした。", true, true));
        std::filesystem::remove(lock);
        action->Execute(); // once the suite lets go, the document is written
        EXPECT_NE(Bytes(file), old);
    }
}

TEST_F(Certificates, TeamCertificateInTheIndividualStyle) {
    BuildRace();
    S().MimicKojin = true;
    S().CRPos = 3;
    S().PrizeNums[0] = 1;
    S().PrizeNums[2] = 0;
    OutputForm->TopTeamPrize.Execute();
    const std::string b = Bytes("AllPrize.RTF");
    // Landscape: the race title split after three characters, left-aligned and indented.
    EXPECT_TRUE(Has(b, "\\pard\\sb0\\sa56\\li963\\ql\\sl-680{\\fs68 " + RtfEscapeText("第五回") + "\\line" +
                           RtfEscapeText("駅伝") + "}\\sl-680\\par"));
    EXPECT_TRUE(
        Has(b, "\\pard\\sb0\\sa56\\li1927\\ri1927\\qc\\sl-1060{\\fs106 " + RtfEscapeText("栄光を讃える") + "}\\par"));
    const RtfText doc = ReadRtf(b);
    EXPECT_TRUE(Said(doc, "第五回\n駅伝"));
    EXPECT_EQ(doc.Pages, 1);
}

namespace {

// One word of `pdftotext -bbox`: its page (from 1), box and text.
struct PdfWord {
    int page;
    double x0, y0, x1, y1;
    std::string text;
};

double attr(const std::string& line, const std::string& name) {
    const size_t at = line.find(name + "=\"");
    if (at == std::string::npos) return -1;
    const size_t from = at + name.size() + 2;
    return StrToFloatDef(line.substr(from, line.find('"', from) - from), -1);
}

// The words of each page of the PDF; pages without words stay empty.
std::vector<std::vector<PdfWord>> pdfPages(const fs::path& pdf) {
    const CommandResult r = PosixShell().Run({"pdftotext", "-bbox", pdf.string(), "-"});
    std::vector<std::vector<PdfWord>> pages;
    for (const std::string& line : Split(r.Output, '\n')) {
        if (line.find("<page ") != std::string::npos) pages.emplace_back();
        const size_t to = line.find("</word>");
        if (to == std::string::npos || pages.empty()) continue;
        const size_t from = line.find('>') + 1;
        pages.back().push_back({static_cast<int>(pages.size()), attr(line, "xMin"), attr(line, "yMin"),
                                attr(line, "xMax"), attr(line, "yMax"), line.substr(from, to - from)});
    }
    return pages;
}

// The page's first line as one box with its text: the top row of horizontal text, the
// right-hand column of vertical text.
PdfWord firstLine(const std::vector<PdfWord>& page, bool vertical) {
    PdfWord line{0, 1e9, 1e9, -1e9, -1e9, ""};
    if (page.empty()) return line;
    auto edge = [vertical](const PdfWord& w) { return vertical ? -w.x1 : w.y0; };
    const double first = edge(*std::min_element(
        page.begin(), page.end(), [&](const PdfWord& a, const PdfWord& b) { return edge(a) < edge(b); }));
    for (const PdfWord& w : page) {
        if (std::abs(edge(w) - first) > 1) continue;
        line = {w.page,
                std::min(line.x0, w.x0),
                std::min(line.y0, w.y0),
                std::max(line.x1, w.x1),
                std::max(line.y1, w.y1),
                line.text + w.text};
    }
    return line;
}

// The texts of the columns of a page of vertical text, "|" between them. A column stands
// where its upright (full-width) characters do; one turned on its side joins the nearest.
std::string columnsOf(std::vector<PdfWord> page) {
    auto middle = [](const PdfWord& w) { return (w.x0 + w.x1) / 2; };
    std::vector<double> at;
    for (const PdfWord& w : page) {
        const std::u32string c = ToU32(w.text);
        if (c.size() == 1 && c[0] >= 0x3000 && (c[0] < 0xFF61 || c[0] > 0xFF9F) &&
            std::none_of(at.begin(), at.end(), [&](double x) { return std::abs(x - middle(w)) < 1; }))
            at.push_back(middle(w));
    }
    std::sort(page.begin(), page.end(), [](const PdfWord& a, const PdfWord& b) { return a.y0 < b.y0; });
    std::vector<std::string> cols(at.size());
    for (const PdfWord& w : page) {
        const auto near = std::min_element(at.begin(), at.end(), [&](double a, double b) {
            return std::abs(a - middle(w)) < std::abs(b - middle(w));
        });
        if (near != at.end()) cols[near - at.begin()] += w.text;
    }
    std::string text;
    for (const std::string& c : cols)
        text += c + "|";
    return text;
}

// The certificates' lines, one list per certificate (each starts with its title), without
// the blanks the PDF's text leaves out.
std::vector<std::vector<std::string>> certificateLines(const RtfText& doc, const std::string& title) {
    std::vector<std::vector<std::string>> certs;
    for (const std::string& p : doc.Paragraphs) {
        if (p == title) certs.emplace_back();
        for (const std::string& line : Split(p, '\n'))
            if (!certs.empty() && !line.empty()) certs.back().push_back(ReplaceAll(line, " ", ""));
    }
    return certs;
}

} // namespace

// The three documents as the desk's word processor lays them out: LibreOffice Writer
// converts them to PDF in one run (scripts/deps installs it), poppler reads them back.
TEST_F(Certificates, WriterLaysOutEachCertificateOnItsOwnPage) {
    ASSERT_EQ(PosixShell().Run({"sh", "-c", "command -v soffice"}).ExitCode, 0)
        << "soffice missing: run scripts/deps";
    BuildRace(10000, 11800, [this] {
        form().ReceName.SetText("第50回タヴレン記念大学対校駅伝競走大会"); // a body of five columns
        form().taikaiBestGrid.SetCells(3, 1, "11800"); // 東高 equals the race record
        Class(1, "A");
        Class(2, "B");
        Class(3, "B");
    });
    TeamRow(1, "𠮷高", "3500"); // names the documents read as they stand
    PutRunner(1, 2, {"𠮷田", "太郎", "ﾖｼﾀﾞ", "ﾀﾛｳ"});
    form().PRTCHG_NO = true;
    S().NeedNewPage = true;
    TempDir out;
    auto keep = [&](const char* written, const char* as) {
        std::filesystem::copy_file(Folder() / written, out.path() / as);
    };
    dialogs.AnswerDlg(mrYes);           // a name changed since the showing: computed again first
    OutputForm->TopTeamPrize.Execute(); // landscape B4, as the settings start
    dialogs.ClearLog();
    keep("AllPrize.RTF", "team_landscape.rtf");
    S().TeamPaperOrientation = 0;
    OutputForm->TopTeamPrize.Execute();
    keep("AllPrize.RTF", "team_portrait.rtf");
    OutputForm->PutKojinPrize.Execute();
    keep("Kukan00.RTF", "legs.rtf");
    OutputForm->TopRunnersList.Execute();
    keep("ALL_List.RTF", "list.rtf");
    EXPECT_TRUE(dialogs.Texts().empty()) << dialogs.Joined();

    std::vector<std::string> argv{"timeout",
                                  "-k",
                                  "5",
                                  "90",
                                  "soffice",
                                  "-env:UserInstallation=file://" + (out.path() / "profile").string(),
                                  "--headless",
                                  "--convert-to",
                                  "pdf",
                                  "--outdir",
                                  out.path().string()};
    const char* names[] = {"team_landscape", "team_portrait", "legs", "list"};
    for (const char* n : names)
        argv.push_back((out.path() / (std::string(n) + ".rtf")).string());
    const CommandResult r = PosixShell().Run(argv);
    ASSERT_EQ(r.ExitCode, 0) << r.Output;

    // Overall 3, class A 1, class B 2, improvement 2; each leg's winner and the best of
    // the other class, two of them on leg 2 (a tie).
    const struct {
        const char* name;
        size_t pages;
        bool vertical;
    } docs[] = {
        {"team_landscape", 8, true}, {"team_portrait", 8, false}, {"legs", 5, false}, {"list", 2, false}};
    for (const auto& d : docs) {
        SCOPED_TRACE(d.name);
        const std::vector<std::vector<PdfWord>> pages = pdfPages(out.path() / (std::string(d.name) + ".pdf"));
        ASSERT_EQ(pages.size(), d.pages);
        bool yoshi = false;
        for (const auto& page : pages)
            for (const PdfWord& w : page)
                yoshi = yoshi || w.text.find("𠮷") != std::string::npos;
        EXPECT_TRUE(yoshi);
        if (d.vertical) { // every line of up to 20 characters whole in one column
            const auto certs = certificateLines(ReadRtfFile(out.path() / "team_landscape.rtf"), "賞 状");
            ASSERT_EQ(certs.size(), pages.size());
            EXPECT_EQ(certs[0][2], "記録一時間一八分〇〇秒(大会ﾀｲ)");
            for (size_t i = 0; i < pages.size(); ++i) {
                const std::string cols = columnsOf(pages[i]);
                for (const std::string& line : certs[i])
                    EXPECT_TRUE(ToU32(line).size() > 20 || cols.find(line) != std::string::npos)
                        << "page " << i + 1 << ": " << line << "\n" << cols;
            }
        }
        if (std::string(d.name) == "list") {
            EXPECT_EQ(firstLine(pages[1], false).text, "(個人の部)");
            continue;
        }
        // Every certificate's title stands where the first one's does (centred, so its middle).
        const PdfWord first = firstLine(pages[0], d.vertical);
        for (const auto& page : pages) {
            const PdfWord title = firstLine(page, d.vertical);
            EXPECT_TRUE(title.text == first.text || title.text == "B部クラス賞") << title.page << title.text;
            if (d.vertical) {
                EXPECT_NEAR(title.x1, first.x1, 0.5) << title.page;
                EXPECT_NEAR(title.y0 + title.y1, first.y0 + first.y1, 1) << title.page;
            } else {
                EXPECT_NEAR(title.x0 + title.x1, first.x0 + first.x1, 1) << title.page;
                EXPECT_NEAR(title.y0, first.y0, 0.5) << title.page;
            }
        }
    }
}
