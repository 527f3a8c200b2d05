#pragma once

// The stand-in's data files: UTF-8 text that a person edits, read whole and checked line by
// line before anything is taken from it. Refusals name the file and, where there is one,
// the line; they are UTF-8 text.

#include <string>
#include <vector>

namespace standin {

struct TextLine {
    int number;          // 1-based line number in the file
    std::string text;    // UTF-8, without the line end
};

// "name line 7: what".
std::string RefusalAt(const std::string& fileName, int lineNumber, const std::string& what);

// Reads `path` into lines. A leading byte-order mark is skipped; lines end in LF or CR LF.
// Returns "" or the refusal: unreadable file, text that is not UTF-8, control characters
// (binary data). `fileName` is how refusals name the file.
std::string ReadTextLines(const std::wstring& path, const std::string& fileName,
                          std::vector<TextLine>& lines);

// Blank lines and lines whose first visible character is ';' or '#' carry no data.
bool IsBlankOrComment(const std::string& text);

// The text without the blanks and tabs around it.
std::string Trimmed(const std::string& text);

}  // namespace standin
