#pragma once
// The one writer of the text files the outputs publish (prize data, scoreboard, pages,
// lists, logs): the text is built whole in UTF-8 with "\n" line ends, then written once
// as Shift-JIS with CR LF through a temporary file and a rename, so a failed write keeps
// the file that was there. The text is never a format: a "%" in a name stays as it is.
#include "platform/Files.h"

#include <string>
#include <vector>

struct TextFileOptions {
    // Pages: characters Shift-JIS lacks become "&#x…;" instead of "?".
    bool charRefs = false;
    // Pages every output rebuilds skip the per-file disk sync.
    bool sync = true;
};

// "\n" -> "\r\n"; a "\r\n" already there stays one line end.
std::string ToCrLf(const std::string& text);
// The file's bytes: CR LF line ends, Shift-JIS.
std::string TextFileBytes(const std::string& utf8, const TextFileOptions& opt = {});
// True only when the whole file was written and renamed into place. A Shift-JIS file
// that could not take every character says so once, naming those texts.
bool WriteTextFile(const fs::path& path, const std::string& utf8, const TextFileOptions& opt = {});
// That notice: the file, then the texts written with "?" (the first ten, then how many more).
std::string UnwrittenTextsNotice(const fs::path& path, const std::vector<std::string>& texts);

// printf's "%*s" and "%-*s" with the width counted in Shift-JIS bytes.
std::string PadLeftSjis(const std::string& s, int width);
std::string PadRightSjis(const std::string& s, int width);
