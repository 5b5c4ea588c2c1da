// RTF basics shared by the certificates and the prize list. No RTF library: every
// document is a list of lines built from the writers' fixed forms.
#include "output/Rtf.h"

#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/TOutputForm.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/Text.h"

namespace {

const char* const kKnownFonts[] = {"ＭＳ Ｐゴシック", "ＭＳ ゴシック", "ＭＳ 明朝",    "ＭＳ Ｐ明朝",
                                   "有澤楷書",        "有澤行書",      "小塚ゴシック", "メイリオ",
                                   "小塚明朝",        "有澤太楷書"};
constexpr const char* kFont1 = "ＭＳ ゴシック";
constexpr const char* kFont2 = "ＭＳ 明朝";
constexpr const char* kFont3 = "ＭＳ Ｐ明朝";

struct Paper {
    int width, height;
};
// A4, B4 (365 mm, as the desk's templates), A3.
constexpr Paper kPapers[] = {{11907, 16839}, {14571, 20695}, {16839, 23814}};

std::string hexByte(unsigned char b) {
    return Format("\\'%02X", b);
}

bool isRtfSpecial(unsigned char b) {
    return b == '\\' || b == '{' || b == '}' || b == ';';
}

} // namespace

int MmToTwips(int mm) {
    return static_cast<int>(static_cast<long long>(mm) * 567 / 10);
}

std::string RtfEscapeText(const std::string& text) {
    const auto escaped = [](const std::string& sjis) {
        std::string out;
        for (unsigned char b : sjis)
            out += hexByte(b);
        return out;
    };
    bool whole = true;
    const std::string sjis = ToSjis(text, whole);
    if (whole) return escaped(sjis);
    std::string out;
    for (char32_t c : ToU32(text))
        out += SjisHas(c) ? escaped(ToSjis(FromU32(c))) : RtfUnicodeChar(c);
    return out;
}

std::string RtfUnicodeChar(char32_t c) {
    // \uN takes a signed 16-bit N; above U+FFFF the two UTF-16 halves follow each other.
    const auto unit = [](unsigned u) { return Format("\\u%d?", static_cast<int16_t>(u)); };
    if (c < 0x10000) return unit(c);
    const unsigned v = c - 0x10000;
    return unit(0xD800 + (v >> 10)) + unit(0xDC00 + (v & 0x3FF));
}

bool IsKnownRtfFont(const std::string& fontName) {
    if (MainForm->NoUseOleFont) return true;
    for (const char* known : kKnownFonts)
        if (fontName.find(known) != std::string::npos) return true;
    return false;
}

bool HasSjisForm(const std::string& name) {
    return FromSjis(ToSjis(name)) == name;
}

std::string RtfFontTableName(const std::string& name) {
    std::string out;
    for (char32_t c : ToU32(name)) {
        const std::string ch = FromU32(c), bytes = ToSjis(ch);
        bool special = false;
        for (unsigned char b : bytes)
            special = special || isRtfSpecial(b);
        if (!special) {
            out += ch;
            continue;
        }
        // A trail byte 0x5C ("ソ", "表") would end the name early: the whole character is escaped.
        for (unsigned char b : bytes)
            out += hexByte(b);
    }
    return out;
}

std::string RtfPitch(int points) {
    return Format("\\sl-%d", points * 20);
}

std::string RtfParagraph(const std::string& words, int points, const std::string& content) {
    return "\\pard" + words + RtfPitch(points) + content + "\\par";
}

std::string RtfLine(const std::string& words, int points, const std::string& text) {
    return RtfParagraph(words, points, Format("{\\fs%d %s}", points * 2, text.c_str()));
}

std::string RtfCellBorders(int top, int left, int bottom, int right) {
    std::string out;
    const std::pair<int, const char*> sides[] = {
        {top, "\\clbrdrt"}, {left, "\\clbrdrl"}, {bottom, "\\clbrdrb"}, {right, "\\clbrdrr"}};
    for (const auto& [flag, word] : sides)
        if (flag == 1) out += std::string(word) + "\\brdrw15\\brdrs";
    return out;
}

std::string RtfTableCell(const TOutputForm& form, const std::string& text, const std::string& subText,
                         char align) {
    if (text.empty() && subText.empty()) return "\\pard\\intbl\\cell";
    if (subText.empty())
        return Format("\\pard\\intbl\\q%c{%s\\fs%d %s}\\cell", align, form.ListBoldCells ? "\\b" : "",
                      form.ListCellFontSize * 2, text.c_str());
    return Format("\\pard\\intbl\\q%c{\\fs%d%s}\\line{\\fs%d%s}\\sl-%d\\cell", align, 8 * 2, subText.c_str(),
                  form.ListCellFontSize * 2, text.c_str(), form.ListCellFontSize * 20);
}

std::string RtfRowDefinition(const TOutputForm& form, const std::vector<int>& widthsMm) {
    std::string out = "\\trowd \\trgaph90";
    const std::string borders = RtfCellBorders(1, 1, 1, 1);
    int edge = 0;
    for (size_t i = 0; i < widthsMm.size(); ++i) {
        // Each width converted alone, so the edges add up as the columns do.
        edge += MmToTwips(widthsMm[i]);
        if (i + 1 == widthsMm.size() && edge < form.ListTableWidth) edge = form.ListTableWidth;
        out += Format("%s\\clvertal%c\\cellx%d", borders.c_str(), 'c', edge);
    }
    return out;
}

std::string RtfHead(const std::string& f0, const std::string& f1, const std::string& f2,
                    const std::string& f3) {
    std::string head = "{\\rtf1\\ansi\\ansicpg932\\uc1\\deff0\\fs22{\\fonttbl";
    int i = 0;
    for (const std::string* f : {&f0, &f1, &f2, &f3})
        head += Format("{\\f%d\\fcharset128 %s;}", i++, RtfFontTableName(*f).c_str());
    return head + "}";
}

std::string RtfCertificateHead(TOutputForm& form) {
    std::string& font = form.PrizeSettings.fontName;
    font = Trim(font);
    if (font.empty()) font = kDefaultRtfFont;
    if (!HasSjisForm(font)) {
        Dlg().ShowMessage("フォント名「" + font + "」はShift-JISで表せないため使えません。");
        return {};
    }
    return RtfHead(IsKnownRtfFont(font) ? font : kDefaultRtfFont, kFont1, kFont2, kFont3);
}

std::string RtfListHead() {
    return RtfHead(kDefaultRtfFont, kFont1, kFont2, kFont3);
}

void SetRtfPaper(TOutputForm& form, int paperIndex, bool allowA3, int marginMm) {
    const int last = allowA3 ? 2 : 1;
    const Paper p = kPapers[paperIndex >= 0 && paperIndex <= last ? paperIndex : 0];
    const int m = MmToTwips(marginMm);
    const int twips[6] = {p.width, p.height, m, m, m, m};
    std::copy(std::begin(twips), std::end(twips), form.PaperTwips);
}

std::string RtfPaperLine(const TOutputForm& form, bool landscape, int topMarginTwips) {
    const int* t = form.PaperTwips;
    return Format("\\paperw%d \\paperh%d \\margl%d \\margr%d \\margt%d \\margb%d \\%s", t[0], t[1], t[2],
                  t[3], topMarginTwips, t[5], landscape ? "landscape" : "portrait");
}

std::string LegRecordLabel(int mark) {
    return mark == 1 ? "区間新" : mark == 2 ? "区間ﾀｲ" : "";
}

std::string RaceRecordLabel(int mark) {
    return mark == 1 ? "大会新" : mark == 2 ? "大会ﾀｲ" : "";
}

std::string ClassPrizeName(int classDisp) {
    return classDisp == 1 ? "努力賞" : classDisp == 2 ? "区間賞" : "クラス賞";
}

bool SaveRtf(const std::filesystem::path& path, const RtfLines& lines) {
    if (HeldOpenElsewhere(path)) {
        Dlg().ShowMessage("そのﾌｧｲﾙはオープンされています。保存できませんでした。");
        return false;
    }
    std::string text;
    for (const std::string& l : lines)
        text += l + "\r\n";
    if (!lines.empty() && WriteFileBytes(path, ToSjis(text))) return true;
    Dlg().ShowMessage(path.string() + "\nの出力に失敗しました。");
    return false;
}
