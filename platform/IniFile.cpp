#include "platform/IniFile.h"

#include "platform/Files.h"
#include "platform/Text.h"

#include <cstdint>

namespace {

bool sameName(const std::string& a, const std::string& b) {
    return LowerAscii(a) == LowerAscii(b);
}

// The settings file's integers: decimal as StrToIntDef, or hexadecimal "$1A" / "0x1A"
// (at most 8 digits, taken as a 32-bit pattern: "$FFFFFFFF" is -1), with an optional sign.
bool parseIniInt(const std::string& s, int& out) {
    if (TryStrToInt(s, out)) return true;
    const std::string t = Trim(s);
    size_t i = 0;
    bool neg = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        neg = t[i] == '-';
        ++i;
    }
    if (i < t.size() && t[i] == '$') {
        i += 1;
    } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
        i += 2;
    } else {
        return false;
    }
    const size_t digits = t.size() - i;
    if (digits == 0 || digits > 8) return false;
    uint32_t v = 0;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        uint32_t d;
        if (c >= '0' && c <= '9')
            d = static_cast<uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            d = static_cast<uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            d = static_cast<uint32_t>(c - 'A' + 10);
        else
            return false;
        v = (v << 4) | d;
    }
    if (neg) v = 0u - v;
    out = static_cast<int32_t>(v);
    return true;
}

// A value is one line: line breaks in it would make new lines of the file.
std::string oneLine(std::string v) {
    for (char& c : v)
        if (c == '\r' || c == '\n') c = ' ';
    return v;
}

} // namespace

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {
    load();
}

void IniFile::load() {
    sections_.clear();
    encoding_ = TextEncoding::ShiftJis;
    std::string bytes;
    if (!ReadFileBytes(path_, bytes)) return; // a missing file reads as empty
    DecodedText decoded = DecodeText(bytes);
    encoding_ = decoded.Encoding;
    const std::string text = std::move(decoded.Text);

    Section* cur = nullptr;
    size_t start = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        std::string line = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        start = (nl == std::string::npos) ? text.size() : nl + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();

        const std::string t = Trim(line);
        if (StartsWith(t, "[")) {
            const size_t close = t.find(']');
            Section s;
            s.name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            sections_.push_back(std::move(s));
            cur = &sections_.back();
            continue;
        }
        if (!cur) {
            Section pre;
            pre.preamble = true;
            sections_.push_back(std::move(pre));
            cur = &sections_.back();
        }
        const size_t eq = t.find('=');
        Entry e;
        if (cur->preamble || t.empty() || t[0] == ';' || eq == std::string::npos) {
            e.key = line;
            e.raw = true;
        } else {
            e.key = Trim(t.substr(0, eq));
            e.value = Trim(t.substr(eq + 1));
        }
        cur->entries.push_back(std::move(e));
    }
}

bool IniFile::save() {
    std::string text;
    for (const Section& s : sections_) {
        if (!s.preamble) text += "[" + s.name + "]\r\n";
        for (const Entry& e : s.entries)
            text += e.raw ? e.key + "\r\n" : e.key + "=" + e.value + "\r\n";
    }
    TextEncoding encoding = encoding_;
    std::string bytes = EncodeText(text, encoding);
    // A character Shift-JIS lacks, or Shift-JIS bytes that would read back as UTF-8:
    // only UTF-8 with its mark keeps every value.
    if (encoding == TextEncoding::ShiftJis && DecodeText(bytes).Text != text) {
        encoding = TextEncoding::Utf8Bom;
        bytes = EncodeText(text, encoding);
    }
    if (!WriteFileBytes(path_, bytes)) return false;
    encoding_ = encoding;
    return true;
}

const IniFile::Entry* IniFile::find(const std::string& section, const std::string& key) const {
    const std::string sec = Trim(section), k = Trim(key);
    for (const Section& s : sections_) {
        if (s.preamble || !sameName(s.name, sec)) continue;
        for (const Entry& e : s.entries)
            if (!e.raw && sameName(e.key, k)) return &e;
        return nullptr; // the first section of that name is the one that counts
    }
    return nullptr;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& def) const {
    const Entry* e = find(section, key);
    if (!e) return def;
    const std::string& v = e->value;
    // As the platform does: a value enclosed in quotation marks is read without them.
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
    const Entry* e = find(section, key);
    if (!e) return def;
    int v;
    return parseIniInt(ReadString(section, key, ""), v) ? v : def;
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool IniFile::ValueExists(const std::string& section, const std::string& key) const {
    return find(section, key) != nullptr;
}

bool IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    // Start from the file as it is now, so that writes made through another object are kept.
    if (!batch_) load();
    const std::vector<Section> before = sections_;
    const std::string sec = Trim(section), k = Trim(key), v = Trim(oneLine(value));

    Section* target = nullptr;
    for (Section& s : sections_)
        if (!s.preamble && sameName(s.name, sec)) {
            target = &s;
            break;
        }
    if (!target) {
        Section s;
        s.name = sec;
        sections_.push_back(std::move(s));
        target = &sections_.back();
    }
    Entry* entry = nullptr;
    for (Entry& e : target->entries)
        if (!e.raw && sameName(e.key, k)) {
            entry = &e;
            break;
        }
    if (entry) {
        entry->value = v;
    } else {
        // A new key goes after the section's last key (or its last non-blank line),
        // ahead of the blank lines that separate it from the next section.
        size_t pos = 0;
        for (size_t i = 0; i < target->entries.size(); ++i) {
            const Entry& e = target->entries[i];
            if (!e.raw || !Trim(e.key).empty()) pos = i + 1;
        }
        Entry e;
        e.key = k;
        e.value = v;
        target->entries.insert(target->entries.begin() + static_cast<std::ptrdiff_t>(pos), std::move(e));
    }
    if (batch_) return true;
    if (!save()) {
        sections_ = before;
        return false;
    }
    return true;
}

void IniFile::BeginUpdate() {
    load();
    batch_ = true;
}

bool IniFile::EndUpdate() {
    batch_ = false;
    if (save()) return true;
    load();
    return false;
}

bool IniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    return WriteString(section, key, IntToStr(value));
}

bool IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    return WriteString(section, key, value ? "1" : "0");
}
