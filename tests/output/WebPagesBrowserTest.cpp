// The pages as a browser reads them: Debian's headless Chromium (scripts/deps installs
// it) dumps the DOM of the PC index, a leg page and the teams page of race F1 with
// user text that needs escaping and a character Shift-JIS lacks.
#include "platform/Files.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "support/F1Race.h"

namespace {

// The DOM as Chromium parsed the file; "" when the browser did not answer in time.
std::string dumpDom(const fs::path& page) {
    PosixShell sh;
    const CommandResult r = sh.Run({"timeout", "-k", "5", "60", "chromium-headless-shell", "--no-sandbox",
                                    "--disable-gpu", "--dump-dom", "file://" + page.string()});
    const size_t from = r.Output.find("<html"), to = r.Output.rfind("</html>");
    if (r.ExitCode != 0 || from == std::string::npos || to == std::string::npos) return {};
    return r.Output.substr(from, to + 7 - from);
}

} // namespace

class WebPagesBrowser : public F1Race {};

TEST_F(WebPagesBrowser, ChromiumDecodesNamesAsPlainText) {
    ASSERT_EQ(PosixShell().Run({"sh", "-c", "command -v chromium-headless-shell"}).ExitCode, 0)
        << "chromium-headless-shell missing: run scripts/deps";
    BuildF1();
    TeamRow(1, "<東&西>", "");
    TeamRow(2, "𠮷田AC", "");
    dialogs.AnswerDlg(mrNo);
    form().startListWebClick();
    ShowF1(0);
    OutputForm->PutToWebExecute();
    ShowF1(2);
    dialogs.AnswerDlg(mrNo);
    OutputForm->PutToWebExecute();
    const fs::path dir = form().DataFolder / "DataHTML";
    for (const char* name : {"indexPC.html", "leg0_02.html", "teams.html"}) {
        SCOPED_TRACE(name);
        const std::string dom = dumpDom(dir / name);
        ASSERT_FALSE(dom.empty());
        EXPECT_NE(dom.find("&lt;東&amp;西&gt;"), std::string::npos) << dom;
        EXPECT_EQ(dom.find("<東"), std::string::npos);
        EXPECT_NE(dom.find("𠮷田AC"), std::string::npos);
        EXPECT_EQ(dom.find("\xEF\xBF\xBD"), std::string::npos); // U+FFFD: a byte the browser could not decode
        if (std::string(name) != "teams.html") {
            EXPECT_NE(dom.find("34'40\""), std::string::npos);
        } else {
            EXPECT_NE(dom.find("山田 太郎"), std::string::npos);
        }
    }
}
