#include "output/TextFile.h"

#include "platform/Services.h"
#include "platform/Text.h"

std::string ToCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 2);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

std::string TextFileBytes(const std::string& utf8, const TextFileOptions& opt) {
    const std::string text = ToCrLf(utf8);
    return opt.charRefs ? ToSjisCharRefs(text) : ToSjis(text);
}

bool WriteTextFile(const fs::path& path, const std::string& utf8, const TextFileOptions& opt) {
    if (opt.charRefs) return WriteFileBytes(path, TextFileBytes(utf8, opt), opt.sync);
    bool whole = true;
    if (!WriteFileBytes(path, ToSjis(ToCrLf(utf8), whole), opt.sync)) return false;
    if (!whole) Dlg().ShowMessage(UnwrittenTextsNotice(path, SjisLackingTexts(utf8)));
    return true;
}

std::string UnwrittenTextsNotice(const fs::path& path, const std::vector<std::string>& texts) {
    constexpr size_t kShown = 10;
    std::string out = path.string() + "\nShift-JISで表せない文字を「?」にして書きました:";
    for (size_t i = 0; i < texts.size() && i < kShown; ++i)
        out += "\n" + texts[i];
    if (texts.size() > kShown) out += Format("\nほか%d件", static_cast<int>(texts.size() - kShown));
    return out;
}

std::string PadLeftSjis(const std::string& s, int width) {
    const int len = SjisLength(s);
    return len >= width ? s : std::string(static_cast<size_t>(width - len), ' ') + s;
}

std::string PadRightSjis(const std::string& s, int width) {
    const int len = SjisLength(s);
    return len >= width ? s : s + std::string(static_cast<size_t>(width - len), ' ');
}
