#pragma once
// Settings file: text with CR LF, "[Section]" and "Key=Value" lines; Shift-JIS or UTF-8,
// read as DecodeText reads it and written back the same way, unless Shift-JIS cannot
// hold it: then the whole file becomes UTF-8 with a byte-order mark.
// Section and key names are case-insensitive; every write goes to disk at once.
#include "platform/Text.h"

#include <filesystem>
#include <string>
#include <vector>

class IniFile {
public:
    explicit IniFile(std::filesystem::path path);
    const std::filesystem::path& FileName() const { return path_; }

    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // A missing key or a value that is not an integer yields def.
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    // "1"/"0" as written; any other integer is true when non-zero; a non-number yields def.
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    bool ValueExists(const std::string& section, const std::string& key) const;

    // Writes return false when the file cannot be written.
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);
    bool WriteInteger(const std::string& section, const std::string& key, int value);
    bool WriteBool(const std::string& section, const std::string& key, bool value);
    // Many writes, one file write: between the two the writes stay in memory.
    // EndUpdate writes the file once; false (the file as it was) when it cannot.
    void BeginUpdate();
    bool EndUpdate();

private:
    struct Entry {
        std::string key, value;
        bool raw = false; // a blank, comment or other line, kept as it was (in key)
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        bool preamble = false; // the lines before the first "[Section]"
    };
    void load();
    bool save();
    const Entry* find(const std::string& section, const std::string& key) const;

    std::filesystem::path path_;
    std::vector<Section> sections_;
    bool batch_ = false;
    TextEncoding encoding_ = TextEncoding::ShiftJis; // as the file was read
};
