// Joining a folder of timing CSV files into marged.csv: the header once or every time,
// empty lines gone, CR LF everywhere, nothing left behind.
#include "platform/Files.h"
#include "support/ChildProcess.h"
#include "support/ProgramFixture.h"

class CsvMerge : public ProgramFixture {
  protected:
    fs::path dir() { return home.path() / "timing"; }
    fs::path merged() { return dir() / "marged.csv"; }
    void SetUp() override {
        ProgramFixture::SetUp();
        fs::create_directories(dir());
        // No final line end; a blank line; a line of commas.
        for (auto [name, bytes] : {std::pair{"a.csv", "No,Time\r\n1,100"},
                                   {"b.csv", "No,Time\r\n2,200\r\n\r\n"},
                                   {"c.csv", "No,Time\r\n,,\r\n3,300\r\n"}})
            WriteFileBytes(dir() / name, bytes);
    }
    // As the desk runs it: the notice, one file of the folder, the header question.
    std::string merge(int headerAnswer) {
        dialogs.ClearLog();
        dialogs.AnswerDlg(mrOk);
        dialogs.AnswerFile((dir() / "b.csv").string());
        dialogs.AnswerDlg(headerAnswer);
        form().ActionMergeCSV.Execute();
        std::string b;
        EXPECT_FALSE(fs::exists(dir() / "$$temp.$$"));
        return ReadFileBytes(merged(), b) ? b : "(none)";
    }
};

TEST_F(CsvMerge, HeadersOnceOrEveryTimeOrCancelled) {
    EXPECT_EQ(merge(mrCancel), "(none)");
    EXPECT_EQ(dialogs.Texts().back(), "キャンセルされました。");
    EXPECT_EQ(merge(mrNo), "No,Time\r\n1,100\r\nNo,Time\r\n2,200\r\nNo,Time\r\n3,300\r\n");
    EXPECT_EQ(merge(mrYes), "No,Time\r\n1,100\r\n2,200\r\n3,300\r\n");
    EXPECT_EQ(dialogs.Texts().back(), "marged.csv を作成しました。");
    EXPECT_EQ(dialogs.Texts().front(),
              "フォルダ内にあるcsvファイルを１つにまとめて marged.csv を作成します。\n"
              "結合したくないcsvファイルをフォルダ内に入れないで下さい。\n"
              "marged.csv が存在する場合は上書きされます。\n\nフォルダ内のCSVを一つだけ選択して下さい。");

    // Any case of ".csv", LF lines, name order; not a folder named x.csv, nor other files;
    // a line holding more than the header stays; Shift-JIS bytes pass untouched.
    WriteFileBytes(dir() / "d.CSV", "No,Time\n4,\x83\x5c\nNo,Time,x\n\" \",\"\"\n");
    WriteFileBytes(dir() / "notes.txt", "9,900\r\n");
    fs::create_directories(dir() / "x.csv");
    EXPECT_EQ(merge(mrYes), "No,Time\r\n1,100\r\n2,200\r\n3,300\r\n4,\x83\x5c\r\nNo,Time,x\r\n");
}

TEST_F(CsvMerge, FilesThatCannotBeWrittenAreReported) {
    fs::create_directories(merged()); // can be neither removed nor written
    EXPECT_EQ(merge(mrYes), "(none)");
    EXPECT_EQ(dialogs.Texts().back(),
              merged().string() + " ファイルが開けませんでした。\n(ファイルが開かれていませんか？)");
    fs::remove(merged());

    const std::string shown = RunInChild([&] { // a full disk
        LimitFileSize(10);
        dialogs.AnswerDlg(mrYes);
        const bool written = form().MergeCsvFiles(dir());
        return std::string(written ? "written|" : "") + dialogs.Texts().back();
    });
    EXPECT_EQ(shown, (dir() / "$$temp.$$").string() + " ファイルが開けませんでした。\n");
    EXPECT_EQ(ListDir(dir()), (std::vector<std::string>{"a.csv", "b.csv", "c.csv"}));

    // LF lines grow to CR LF: the joined file (20 bytes) fits, the new marged.csv (23) does
    // not, and the one written before stays as it was.
    const fs::path lf = home.path() / "lf";
    fs::create_directories(lf);
    WriteFileBytes(lf / "a.csv", "No,Time\n1,100\n2,200\n");
    WriteFileBytes(lf / "marged.csv", "before\r\n");
    const std::string told = RunInChild([&] {
        LimitFileSize(20);
        dialogs.AnswerDlg(mrYes);
        const bool written = form().MergeCsvFiles(lf);
        return std::string(written ? "written|" : "") + dialogs.Texts().back();
    });
    EXPECT_EQ(told, (lf / "marged.csv").string() + " ファイルが開けませんでした。\n(ファイルが開かれていませんか？)");
    std::string kept;
    EXPECT_TRUE(ReadFileBytes(lf / "marged.csv", kept) && kept == "before\r\n") << kept;
    EXPECT_EQ(ListDir(lf), (std::vector<std::string>{"a.csv", "marged.csv"}));
}
