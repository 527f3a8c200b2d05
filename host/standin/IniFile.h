#pragma once

// host.ini: "[section]" headers and "key = value" lines; ';' and '#' start comment lines.

#include <string>
#include <vector>

#include "host/standin/TextFile.h"

namespace standin {

struct IniEntry {
    std::string key;
    std::string value;   // UTF-8, blanks around it removed
    int line;
};

struct IniSection {
    std::string name;    // the text between the brackets, blanks around it removed
    int line;
    std::vector<IniEntry> entries;

    const IniEntry* Find(const std::string& key) const;
};

// Returns "" or the refusal: text outside a section, a line that is neither a header nor
// "key = value", a section or a key given twice.
std::string ParseIni(const std::vector<TextLine>& lines, const std::string& fileName,
                     std::vector<IniSection>& sections);

}  // namespace standin
