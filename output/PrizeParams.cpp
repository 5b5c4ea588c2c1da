// The prize settings file "PrizeParam.INI": loading on the open road, saving when the
// program closes, the class display names and the title splitter of the certificates.
#include "output/PrizeParams.h"

#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/TOutputForm.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <map>
#include <variant>
#include <vector>

namespace {

constexpr const char* kSection = "Params";
constexpr const char* kFileName = "PrizeParam.INI";

using Field = std::variant<int*, bool*, std::string*>;
struct IniKey {
    std::string name;
    Field field;
};

template <typename T, size_t N>
void addNumbered(std::vector<IniKey>& keys, const char* base, T (&values)[N]) {
    for (size_t i = 0; i < N; ++i)
        keys.push_back({Format("%s%zu", base, i), &values[i]});
}

// Every stored key in the order the file is read.
std::vector<IniKey> keysInReadOrder(PrizeSettingsBlock& s) {
    std::vector<IniKey> k{{"fontName", &s.fontName}, {"prnName", &s.prnName}};
    addNumbered(k, "PrizeNums", s.PrizeNums);
    k.insert(k.end(), {{"NeedNewPage", &s.NeedNewPage},
                       {"NeedPrizeMember", &s.NeedPrizeMember},
                       {"MimicKojin", &s.MimicKojin},
                       {"DDispOpt", &s.DDispOpt}});
    addNumbered(k, "chiefNames", s.chiefNames);
    k.insert(k.end(), {{"PrizeGap", &s.PrizeGap},
                       {"TaiKaiGap", &s.TaiKaiGap},
                       {"classDisp", &s.classDisp},
                       {"shoClass", &s.shoClass}});
    addNumbered(k, "FontSize", s.FontSize);
    k.insert(k.end(), {{"CRPos", &s.CRPos},
                       {"TeamPaperOrientation", &s.TeamPaperOrientation},
                       {"OneIsWinner", &s.OneIsWinner},
                       {"NeedGClass", &s.NeedGClass}});
    addNumbered(k, "TeamFontSize", s.TeamFontSize);
    addNumbered(k, "team_gaps", s.team_gaps);
    k.push_back({"topMgLandscape", &s.topMgLandscape});
    addNumbered(k, "kojin_gaps", s.kojin_gaps);
    k.insert(k.end(), {{"PPSize", &s.PPSize},
                       {"TTLOpt", &s.TTLOpt},
                       {"KPPSize", &s.KPPSize},
                       {"bodyCont", &s.bodyCont},
                       {"gloryWord", &s.gloryWord}});
    addNumbered(k, "ClassAlias", s.ClassAlias);
    k.insert(k.end(), {{"date_gap", &s.date_gap}, {"date_gap2", &s.date_gap2}});
    return k;
}

// The order of the written file.
std::vector<std::string> keysInWriteOrder() {
    std::vector<std::string> names;
    auto numbered = [&names](const char* base, int n) {
        for (int i = 0; i < n; ++i)
            names.push_back(Format("%s%d", base, i));
    };
    numbered("PrizeNums", 3);
    names.insert(names.end(),
                 {"NeedNewPage", "NeedPrizeMember", "MimicKojin", "DDispOpt", "fontName", "prnName"});
    numbered("chiefNames", 4);
    names.insert(names.end(), {"PrizeGap", "TaiKaiGap", "classDisp", "shoClass"});
    numbered("FontSize", 9);
    names.insert(names.end(), {"CRPos", "TeamPaperOrientation", "OneIsWinner", "NeedGClass"});
    numbered("TeamFontSize", 9);
    numbered("team_gaps", 7);
    names.push_back("topMgLandscape");
    numbered("kojin_gaps", 6);
    names.insert(names.end(), {"PPSize", "TTLOpt", "KPPSize", "bodyCont", "gloryWord"});
    numbered("ClassAlias", 10);
    names.insert(names.end(), {"date_gap", "date_gap2"});
    return names;
}

std::filesystem::path prizeIniPath() {
    const std::filesystem::path folder = PrizeFolder();
    return folder.empty() ? folder : folder / kFileName;
}

} // namespace

std::filesystem::path PrizeFolder() {
    const std::string folder = Trim(MainForm->DataFolder.string());
    if (folder.empty()) return {};
    if (!DirectoryExists(folder)) {
        Dlg().ShowMessage(folder + "が存在しません。");
        return {};
    }
    return folder;
}

std::string GetClassAlias(const PrizeSettingsBlock& settings, char classLetter) {
    if (classLetter < 'A' || classLetter > 'J') return {};
    return Trim(settings.ClassAlias[classLetter - 'A']);
}

void TOutputForm::LoadPrizeParams() {
    const std::filesystem::path path = prizeIniPath();
    if (path.empty()) return;
    const IniFile ini(path);
    PrizeSettingsBlock defaults;
    const std::vector<IniKey> def = keysInReadOrder(defaults), cur = keysInReadOrder(PrizeSettings);
    for (size_t i = 0; i < cur.size(); ++i) {
        const std::string& name = cur[i].name;
        std::visit(
            [&](auto* field) {
                using T = std::remove_pointer_t<decltype(field)>;
                const T& d = *std::get<T*>(def[i].field);
                if constexpr (std::is_same_v<T, int>)
                    *field = ini.ReadInteger(kSection, name, d);
                else if constexpr (std::is_same_v<T, bool>)
                    *field = ini.ReadBool(kSection, name, d);
                else
                    *field = ini.ReadString(kSection, name, d);
            },
            cur[i].field);
    }
}

void TOutputForm::SavePrizeParams() {
    const std::filesystem::path path = prizeIniPath();
    if (path.empty()) return;
    IniFile ini(path);
    std::map<std::string, Field> byName;
    for (const IniKey& k : keysInReadOrder(PrizeSettings))
        byName.emplace(k.name, k.field);
    ini.BeginUpdate();
    for (const std::string& name : keysInWriteOrder())
        std::visit(
            [&](auto* field) {
                using T = std::remove_pointer_t<decltype(field)>;
                if constexpr (std::is_same_v<T, int>)
                    return ini.WriteInteger(kSection, name, *field);
                else if constexpr (std::is_same_v<T, bool>)
                    return ini.WriteBool(kSection, name, *field);
                else
                    return ini.WriteString(kSection, name, *field);
            },
            byName.at(name));
    // One write through a temporary file: a failed save keeps the file as it was.
    if (!ini.EndUpdate()) Dlg().ShowMessage(path.string() + "\nの出力に失敗しました。");
}

bool TOutputForm::SplitTextAtChars(const std::string& text, int n) {
    TitleLine1.clear();
    TitleLine2.clear();
    if (text.empty() || SjisLength(text) < n) return false;
    const std::u32string chars = ToU32(text);
    const size_t cut = std::min(chars.size(), static_cast<size_t>(std::max(n, 0)));
    TitleLine1 = FromU32(chars.substr(0, cut));
    TitleLine2 = FromU32(chars.substr(cut));
    return true;
}
