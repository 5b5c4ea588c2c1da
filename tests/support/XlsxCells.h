#pragma once
// Reads a saved workbook back as a spreadsheet program would: unzip's copy of the
// first sheet and its shared strings, as a map from cell names ("B7") to values.
#include <cstdio>
#include <map>
#include <regex>
#include <string>

struct XlsxCell {
    bool number = false;
    std::string text; // the string, or the number as written
};

inline std::string UnzipMember(const std::string& zip, const std::string& member) {
    std::string out;
    FILE* p = ::popen(("unzip -p '" + zip + "' " + member + " 2>/dev/null").c_str(), "r");
    if (!p) return out;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;)
        out.append(buf, n);
    ::pclose(p);
    return out;
}

inline std::string XmlUnescape(std::string s) {
    const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (auto [from, to] : entities)
        for (size_t p; (p = s.find(from)) != std::string::npos;)
            s.replace(p, std::string(from).size(), to);
    return s;
}

inline std::map<std::string, XlsxCell> ReadXlsxCells(const std::string& path) {
    std::vector<std::string> strings;
    const std::string shared = UnzipMember(path, "xl/sharedStrings.xml");
    static const std::regex si(R"re(<si><t[^>]*>([^<]*)</t></si>)re");
    for (auto it = std::sregex_iterator(shared.begin(), shared.end(), si); it != std::sregex_iterator(); ++it)
        strings.push_back(XmlUnescape((*it)[1]));
    std::map<std::string, XlsxCell> cells;
    const std::string sheet = UnzipMember(path, "xl/worksheets/sheet1.xml");
    static const std::regex c(R"re(<c r="([A-Z]+[0-9]+)"( t="s")?[^>]*><v>([^<]*)</v></c>)re");
    for (auto it = std::sregex_iterator(sheet.begin(), sheet.end(), c); it != std::sregex_iterator(); ++it) {
        const bool isString = (*it)[2].matched;
        const std::string v = (*it)[3];
        cells[(*it)[1]] = isString ? XlsxCell{false, strings.at(std::stoul(v))} : XlsxCell{true, v};
    }
    return cells;
}
