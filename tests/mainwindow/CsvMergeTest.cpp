// Joining a folder of timing CSV files into marged.csv: the header kept once or every
// time, empty lines gone, every line ending in CR LF, and nothing left behind.
#include "platform/Files.h"
#include "support/ChildProcess.h"
#include "support/ProgramFixture.h"

#include <optional>

namespace {

const char* const kNotice = "フォルダ内にあるcsvファイルを１つにまとめて marged.csv を作成します。\n"
                            "結合したくないcsvファイルをフォルダ内に入れないで下さい。\n"
                            "marged.csv が存在する場合は上書きされます。\n"
                            "\nフォルダ内のCSVを一つだけ選択して下さい。";
const char* const kHeaders = "2行目以降のヘッダを外しますか？";

} // namespace

class CsvMerge : public ProgramFixture {
  protected:
    fs::path dir() { return home.path() / "timing"; }
    fs::path merged() { return dir() / "marged.csv"; }
    void put(const std::string& name, const std::string& bytes) {
        fs::create_directories(dir());
        ASSERT_TRUE(WriteFileBytes(dir() / name, bytes));
    }
    // The files of the example: no final line end, a blank line, a line of commas.
    void example() {
        put("a.csv", "No,Time\r\n1,100");
        put("b.csv", "No,Time\r\n2,200\r\n\r\n");
        put("c.csv", "No,Time\r\n,,\r\n3,300\r\n");
    }
    // The merge as the desk runs it: the notice, a file of the folder, the header question.
    void merge(int headerAnswer) {
        dialogs.AnswerDlg(mrOk);
        dialogs.AnswerFile((dir() / "b.csv").string());
        dialogs.AnswerDlg(headerAnswer);
        form().ActionMergeCSV.Execute();
    }
    std::optional<std::string> mergedBytes() {
        std::string b;
        return ReadFileBytes(merged(), b) ? std::optional(b) : std::nullopt;
    }
    bool joinedFileLeft() { return fs::exists(dir() / "$$temp.$$"); }
};

TEST_F(CsvMerge, HeadersOnceOrEveryTimeAndCancel) {
    struct Case {
        int answer;
        std::optional<std::string> file;
        std::string last;
    } cases[] = {
        {mrYes, "No,Time\r\n1,100\r\n2,200\r\n3,300\r\n", "marged.csv を作成しました。"},
        {mrNo, "No,Time\r\n1,100\r\nNo,Time\r\n2,200\r\nNo,Time\r\n3,300\r\n", "marged.csv を作成しました。"},
        {mrCancel, std::nullopt, "キャンセルされました。"},
    };
    example();
    for (const Case& c : cases) {
        fs::remove(merged());
        dialogs.ClearLog();
        merge(c.answer);
        EXPECT_EQ(dialogs.Joined(), std::string(kNotice) + "|" + kHeaders + "|" + c.last);
        EXPECT_EQ(mergedBytes(), c.file);
        EXPECT_FALSE(joinedFileLeft());
    }
    // A second merge replaces marged.csv and does not take it in.
    merge(mrYes);
    merge(mrYes);
    EXPECT_EQ(mergedBytes(), "No,Time\r\n1,100\r\n2,200\r\n3,300\r\n");
    EXPECT_EQ(dialogs.LastFileSpec().Filter, "CSV files (*.csv)|*.csv");

    // The notice cancelled, or no file chosen: nothing happens.
    fs::remove(merged());
    dialogs.AnswerDlg(mrCancel);
    form().ActionMergeCSV.Execute();
    dialogs.AnswerDlg(mrOk);
    dialogs.AnswerFile(std::nullopt);
    form().ActionMergeCSV.Execute();
    EXPECT_FALSE(fs::exists(merged()));
}

TEST_F(CsvMerge, OnlyCsvFilesInNameOrderLinesKeptByteForByte) {
    // Upper case sorts first; LF-only lines come out with CR LF; quotes and blanks
    // alone make an empty line; Shift-JIS bytes pass untouched; a header-like line
    // with more in it stays.
    put("D.CSV", "No,Time\n4,400\n\" \",\"\"\n");
    put("a.csv", "No,Time\r\n1,\x83\x5c\x83\x93\r\nNo,Time,x\r\n");
    put("notes.txt", "9,900\r\n");
    put("empty.csv", "");
    fs::create_directories(dir() / "x.csv");
    put("x.csv/inside.csv", "8,800\r\n");
    merge(mrYes);
    EXPECT_EQ(mergedBytes(), "No,Time\r\n4,400\r\n1,\x83\x5c\x83\x93\r\nNo,Time,x\r\n");
    EXPECT_TRUE(fs::is_directory(dir() / "x.csv"));
}

TEST_F(CsvMerge, FilesThatCannotBeWrittenAreReported) {
    example();
    // marged.csv is a folder: it can be neither removed nor written.
    fs::create_directories(merged());
    merge(mrYes);
    EXPECT_TRUE(dialogs.Saw(merged().string() + " ファイルが開けませんでした。\n(ファイルが開かれていませんか？)"));
    EXPECT_FALSE(dialogs.Saw("marged.csv を作成しました。"));
    EXPECT_FALSE(joinedFileLeft());
    fs::remove(merged());

    // A full disk: the joined file cannot be written.
    const std::string shown = RunInChild([&] {
        LimitFileSize(10);
        dialogs.AnswerDlg(mrYes);
        dialogs.ClearLog();
        const bool written = form().MergeCsvFiles(dir());
        return std::string(written ? "written|" : "") + dialogs.Joined();
    });
    EXPECT_EQ(shown, std::string(kHeaders) + "|" + (dir() / "$$temp.$$").string() + " ファイルが開けませんでした。\n");
    EXPECT_FALSE(joinedFileLeft());
    EXPECT_FALSE(fs::exists(merged()));
    EXPECT_EQ(ListDir(dir()), (std::vector<std::string>{"a.csv", "b.csv", "c.csv"}));
}
