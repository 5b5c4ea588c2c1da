#pragma once
// The prize settings of "PrizeParam.INI" in the race folder: which places win, fonts,
// sizes, margins and paper of the certificates, the awarders, the praise phrases and
// the display names of the classes. Each member carries its key's name and default.
#include <filesystem>
#include <string>

struct PrizeSettingsBlock {
    std::string fontName = "ＭＳ Ｐゴシック";
    std::string chiefNames[4] = {"(例)日本タヴレン協会", "会長 タヴレン太郎", "(例)日本タヴレン競走社",
                                 "社長 タヴレン次郎"};
    std::string prnName;                                    // "" = the current printer
    std::string bodyCont;                                   // "" = the standard team praise phrase
    std::string gloryWord;                                  // "" = the standard individual praise phrase
    std::string ClassAlias[10];                             // display names of classes A..J; "" = the letter
    int FontSize[9] = {58, 34, 38, 38, 38, 33, 53, 28, 26}; // individual, A4
    int TeamFontSize[9] = {70, 53, 40, 42, 33, 31, 28, 28, 20}; // team, B4
    int CRPos = 0;                // title split position in characters; 0 = one line
    int classDisp = 0;            // 0 "クラス賞", 1 "努力賞", 2 "区間賞"
    int PrizeNums[3] = {3, 3, 3}; // places awarded: overall, per class, improvement
    bool NeedNewPage = false;
    bool NeedPrizeMember = false;
    bool MimicKojin = false;
    bool OneIsWinner = true;
    bool NeedGClass = false;
    bool shoClass = true;
    int TTLOpt = 0; // 0 "賞状", 1 "表彰状"
    int PrizeGap = 3;
    int TaiKaiGap = 0;
    int team_gaps[7] = {52, 54, 84, 108, 0, 0, 0};
    int kojin_gaps[6] = {53, 70, 87, 0, 0, 0};
    int TeamPaperOrientation = 1; // 0 portrait, 1 landscape
    int topMgLandscape = 10;
    int PPSize = 1;         // team paper: 0 A4, 1 B4, 2 A3
    int KPPSize = 0;        // individual paper: 0 A4, 1 B4
    int PrizeParamPage = 0; // the dialog page last shown; not stored
    int DDispOpt = 0;       // 0 era year, 1 western year
    int date_gap = 0;
    int date_gap2 = 0;
};

// The trimmed display name of class 'A'..'J'; "" for any other letter.
std::string GetClassAlias(const PrizeSettingsBlock& settings, char classLetter);

// The open race's folder for the prize files: "" when no race is open, and "" after the
// message "<folder>が存在しません。" when the folder is gone.
std::filesystem::path PrizeFolder();
