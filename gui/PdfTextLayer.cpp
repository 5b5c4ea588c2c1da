// ToUnicode maps rewritten after Qt has written the PDF: libqpdf reads the file and
// decodes the fonts' maps; each map's destinations are renamed and the maps that
// changed are appended as an incremental update.
#define POINTERHOLDER_TRANSITION 4
#include "gui/PdfTextLayer.h"

#include "platform/Text.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>

#include <QList>
#include <QString>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <stdexcept>
#include <vector>

namespace {

bool renamed(char32_t c) {
    return (c >= 0x2E80 && c <= 0x2FDF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x2F800 && c <= 0x2FA1F);
}

// "<2F24>" -> u"\x2F24"; false for a token that is no whole number of UTF-16 units.
bool fromHex(const std::string& token, std::u16string& units) {
    const std::string hex = token.substr(1, token.size() - 2);
    if (hex.empty() || hex.size() % 4) return false;
    units.clear();
    for (size_t i = 0; i < hex.size(); i += 4) {
        char* end = nullptr;
        const std::string unit = hex.substr(i, 4);
        const unsigned long v = std::strtoul(unit.c_str(), &end, 16);
        if (end != unit.c_str() + 4 || !std::isxdigit(static_cast<unsigned char>(unit[0]))) return false;
        units += static_cast<char16_t>(v);
    }
    return true;
}

std::string toHex(const std::u16string& units) {
    std::string out = "<";
    for (char16_t u : units) {
        char buf[5];
        std::snprintf(buf, sizeof buf, "%04X", static_cast<unsigned>(u));
        out += buf;
    }
    return out + ">";
}

struct Token {
    size_t at;
    std::string text;
};

// The tokens of a CMap section: hex strings, brackets and words.
std::vector<Token> tokens(const std::string& s, size_t from, size_t to) {
    std::vector<Token> out;
    for (size_t i = from; i < to;) {
        if (std::isspace(static_cast<unsigned char>(s[i]))) {
            ++i;
            continue;
        }
        size_t end = i + 1;
        if (s[i] == '<')
            end = std::min(s.find('>', i), to - 1) + 1;
        else if (s[i] != '[' && s[i] != ']')
            while (end < to && !std::isspace(static_cast<unsigned char>(s[end])) &&
                   !std::strchr("<[]", s[end]))
                ++end;
        out.push_back({i, s.substr(i, end - i)});
        i = end;
    }
    return out;
}

struct Edit {
    size_t at, length;
    std::string text;
};

// The renamed destination, or "" when it stays.
std::string renamedHex(const std::string& token) {
    std::u16string units;
    if (!fromHex(token, units)) return {};
    const std::u16string drawn = DrawnCharacter(units);
    return drawn == units ? std::string() : toHex(drawn);
}

void editToken(const Token& token, std::vector<Edit>& edits) {
    if (const std::string hex = renamedHex(token.text); !hex.empty())
        edits.push_back({token.at, token.text.size(), hex});
}

void editChars(const std::vector<Token>& t, std::vector<Edit>& edits) {
    for (size_t i = 1; i < t.size(); i += 2)
        editToken(t[i], edits);
}

// "<lo> <hi> [<d> ...]" renames in the list; "<lo> <hi> <d>" (d, d+1, ... for lo..hi)
// becomes a list when one of them is renamed.
void editRanges(const std::vector<Token>& t, std::vector<Edit>& edits) {
    for (size_t i = 0; i + 2 < t.size();) {
        std::u16string lo, hi, first;
        const bool codes =
            fromHex(t[i].text, lo) && fromHex(t[i + 1].text, hi) && lo.size() == 1 && hi.size() == 1;
        if (t[i + 2].text == "[") {
            for (i += 3; i < t.size() && t[i].text != "]"; ++i)
                editToken(t[i], edits);
            ++i;
            continue;
        }
        if (codes && fromHex(t[i + 2].text, first) && hi[0] >= lo[0]) {
            std::string list = "[";
            bool changed = false;
            for (unsigned k = 0; k <= static_cast<unsigned>(hi[0] - lo[0]); ++k) {
                std::u16string d = first;
                d.back() = static_cast<char16_t>(d.back() + k);
                const std::u16string drawn = DrawnCharacter(d);
                changed = changed || drawn != d;
                list += (k ? " " : "") + toHex(drawn);
            }
            if (changed) edits.push_back({t[i + 2].at, t[i + 2].text.size(), list + "]"});
        }
        i += 3;
    }
}

struct RenamedMap {
    QPDFObjGen id;
    std::string cmap;
};

// The ToUnicode maps of the fonts that name a glyph otherwise than drawn, renamed. Qt
// writes each font dictionary as a plain object of the file, so their references are
// found in its bytes (walking a long order sheet's pages through libqpdf took a tenth of
// its time); libqpdf reads and decodes each map they name.
std::vector<RenamedMap> renamedMaps(QPDF& doc, const QByteArray& pdf) {
    static const QByteArray key = "/ToUnicode";
    std::set<QPDFObjGen> ids;
    for (qsizetype at = pdf.indexOf(key); at >= 0; at = pdf.indexOf(key, at + key.size())) {
        int obj = 0, gen = 0;
        char r = 0;
        if (std::sscanf(pdf.constData() + at + key.size(), " %d %d %c", &obj, &gen, &r) == 3 && r == 'R')
            ids.insert(QPDFObjGen(obj, gen));
    }
    std::vector<RenamedMap> maps;
    for (const QPDFObjGen& id : ids) {
        QPDFObjectHandle map = doc.getObjectByObjGen(id);
        if (!map.isStream()) continue;
        const std::shared_ptr<Buffer> data = map.getStreamData(qpdf_dl_generalized);
        std::string cmap(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
        if (cmap.find("begincmap") != std::string::npos && RenameCMapDestinations(cmap))
            maps.push_back({id, std::move(cmap)});
    }
    return maps;
}

// The renamed maps as an incremental update after the file Qt wrote: new versions of
// those objects, their cross-reference entries and a trailer pointing back to Qt's.
// Writing every object anew (QPDFWriter) took a third of the time of a long order sheet.
QByteArray appendedUpdate(QPDF& doc, const QByteArray& pdf, const std::vector<RenamedMap>& maps) {
    const qsizetype mark = pdf.lastIndexOf("startxref");
    if (mark < 0) throw std::runtime_error("no startxref");
    const long long previous = std::stoll(pdf.mid(mark + 9, 32).trimmed().split('\n').front().toStdString());
    std::string out = pdf.endsWith('\n') ? "" : "\n", xref = "xref\n";
    for (const RenamedMap& m : maps) {
        xref +=
            Format("%d 1\n%010lld %05d n \n", m.id.getObj(),
                   static_cast<long long>(pdf.size()) + static_cast<long long>(out.size()), m.id.getGen());
        out += Format("%d %d obj\n<< /Length %zu >>\nstream\n", m.id.getObj(), m.id.getGen(), m.cmap.size()) +
               m.cmap + "\nendstream\nendobj\n";
    }
    QPDFObjectHandle trailer = doc.getTrailer().shallowCopy();
    trailer.removeKey("/XRefStm");
    trailer.replaceKey("/Prev", QPDFObjectHandle::newInteger(previous));
    const long long at = static_cast<long long>(pdf.size()) + static_cast<long long>(out.size());
    out += xref + "trailer\n" + trailer.unparse() + Format("\nstartxref\n%lld\n%%%%EOF\n", at);
    return QByteArray::fromStdString(out);
}

} // namespace

std::u16string DrawnCharacter(const std::u16string& named) {
    const QString text = QString::fromStdU16String(named);
    const QList<uint> chars = text.toUcs4();
    if (chars.size() != 1 || !renamed(chars[0])) return named;
    return text.normalized(QString::NormalizationForm_KC).toStdU16String();
}

bool RenameCMapDestinations(std::string& cmap) {
    std::vector<Edit> edits;
    for (const char* kind : {"bfchar", "bfrange"}) {
        const std::string begin = std::string("begin") + kind, end = std::string("end") + kind;
        for (size_t at = cmap.find(begin); at != std::string::npos; at = cmap.find(begin, at + 1)) {
            const size_t from = at + begin.size(), to = cmap.find(end, from);
            if (to == std::string::npos) break;
            const std::vector<Token> t = tokens(cmap, from, to);
            kind == std::string("bfchar") ? editChars(t, edits) : editRanges(t, edits);
        }
    }
    std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.at > b.at; });
    for (const Edit& e : edits)
        cmap.replace(e.at, e.length, e.text);
    return !edits.empty();
}

QByteArray NameDrawnCharacters(const QByteArray& pdf) {
    try {
        QPDF doc;
        doc.setSuppressWarnings(true);
        doc.processMemoryFile("pdf", pdf.constData(), static_cast<size_t>(pdf.size()));
        const std::vector<RenamedMap> maps = renamedMaps(doc, pdf);
        return maps.empty() ? pdf : pdf + appendedUpdate(doc, pdf, maps);
    } catch (const std::exception& e) {
        // The PDF still prints as drawn; only its text layer keeps Qt's names.
        std::fprintf(stderr, "PDF text layer not rewritten: %s\n", e.what());
        return pdf;
    }
}
