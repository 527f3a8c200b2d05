#include "host/standin/IniFile.h"

namespace standin {
namespace {

bool IsSectionHeader(const std::string& text)
{
    return text.size() >= 2 && text.front() == '[' && text.back() == ']';
}

bool HasSection(const std::vector<IniSection>& sections, const std::string& name)
{
    for (const IniSection& section : sections) {
        if (section.name == name) return true;
    }
    return false;
}

std::string AddEntry(const std::string& text, int lineNumber, const std::string& fileName,
                     std::vector<IniSection>& sections)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) return RefusalAt(fileName, lineNumber, "expected key = value");
    if (sections.empty()) return RefusalAt(fileName, lineNumber, "key outside a [section]");
    IniEntry entry{Trimmed(text.substr(0, equals)), Trimmed(text.substr(equals + 1)), lineNumber};
    if (entry.key.empty()) return RefusalAt(fileName, lineNumber, "expected key = value");
    IniSection& section = sections.back();
    if (section.Find(entry.key) != nullptr) {
        return RefusalAt(fileName, lineNumber, entry.key + " is given twice in [" + section.name + "]");
    }
    section.entries.push_back(std::move(entry));
    return "";
}

}  // namespace

const IniEntry* IniSection::Find(const std::string& key) const
{
    for (const IniEntry& entry : entries) {
        if (entry.key == key) return &entry;
    }
    return nullptr;
}

std::string ParseIni(const std::vector<TextLine>& lines, const std::string& fileName,
                     std::vector<IniSection>& sections)
{
    sections.clear();
    for (const TextLine& line : lines) {
        if (IsBlankOrComment(line.text)) continue;
        const std::string text = Trimmed(line.text);
        if (!IsSectionHeader(text)) {
            const std::string refusal = AddEntry(text, line.number, fileName, sections);
            if (!refusal.empty()) return refusal;
            continue;
        }
        const std::string name = Trimmed(text.substr(1, text.size() - 2));
        if (HasSection(sections, name)) {
            return RefusalAt(fileName, line.number, "section [" + name + "] is given twice");
        }
        sections.push_back({name, line.number, {}});
    }
    return "";
}

}  // namespace standin
