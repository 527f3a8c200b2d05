#include "app/ProfileText.h"

#include <optional>

#include "framework/CodePage.h"
#include "framework/File.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names are ASCII here; the bytes of a double-byte character compare as they are.
bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

// The position of the first single-byte `c` in `text`, stepping over double-byte characters
// (0x5D ']' can be the second byte of one).
size_t FindByte(std::string_view text, char c)
{
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = Cp932CharLength(text, pos);
        if (length == 1 && text[pos] == c) return pos;
        pos += length;
    }
    return std::string_view::npos;
}

// The name of a "[name]" line; nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line)
{
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    return Trimmed(line.substr(0, FindByte(line, ']')));
}

std::string_view Unquoted(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

std::string ProfileValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view defaultValue)
{
    bool inSection = false;
    bool sectionSeen = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

        if (const auto name = SectionName(line)) {
            if (sectionSeen) break;  // only the first section of that name counts
            inSection = SameName(*name, section);
            sectionSeen = inSection;
            continue;
        }
        if (!inSection) continue;
        const size_t equals = FindByte(line, '=');
        if (equals == std::string_view::npos) continue;
        if (SameName(Trimmed(line.substr(0, equals)), key)) {
            return std::string(Unquoted(Trimmed(line.substr(equals + 1))));
        }
    }
    return std::string(defaultValue);
}

std::string ReadProfileValue(const char* path, std::string_view section, std::string_view key,
                             std::string_view defaultValue)
{
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone)) return std::string(defaultValue);
    std::string text;
    try {
        char chunk[4096];
        for (UINT got; (got = file.Read(chunk, sizeof chunk)) > 0;) text.append(chunk, got);
    } catch (const CFileException&) {
        return std::string(defaultValue);
    }
    return ProfileValue(text, section, key, defaultValue);
}
