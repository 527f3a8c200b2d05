// The settings file lies in the host's settings folder (folder type 1).
#include "dialog/LastConditionsStore.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "framework/CodePage.h"
#include "framework/File.h"
#include "framework/ReplacementFile.h"
#include "host/HostLibrary.h"
#include "res/Edition.h"

namespace {

constexpr long kSettingsFolderType = 1;

// The host's folder text ends in a backslash; one that does not is given one, never a second.
// A folder that then would not fit a path is none.
CString SettingsFolder()
{
    char folder[kPathBufferSize] = {};
    if (ClFileMgr::Inst()->GetAppFolderPath(kSettingsFolderType, folder, sizeof folder) != 0) return CString();
    folder[sizeof folder - 1] = '\0';
    if (folder[0] != '\0' && !AddTrailingBackslash(folder, sizeof folder)) return CString();
    return CString(folder);
}

CString SettingsFilePath(const CString& folder)
{
    CString path = folder;
    path += kEdition.settingsFileName;
    return path;
}

// The whole file; false when it does not exist or cannot be read.
bool ReadWholeFile(const char* path, std::string& text)
{
    text.clear();
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) return false;
    char buffer[64 * 1024];
    UINT read = 0;
    while (file.Read(buffer, sizeof buffer, read)) {
        if (read == 0) return file.Close();
        text.append(buffer, read);
    }
    return false;
}

// Where an entry with `key` starts: only at the start of a line, so that the key of user
// "ser01" is not found inside the line of user "user01".
size_t FindEntry(std::string_view text, std::string_view key, size_t from = 0)
{
    for (size_t pos = text.find(key, from); pos != std::string_view::npos; pos = text.find(key, pos + 1))
        if (pos == 0 || text[pos - 1] == '\n') return pos;
    return std::string_view::npos;
}

// `text` without any entry of `key` (each line with its line feed); other lines unchanged.
std::string WithoutEntries(std::string_view text, std::string_view key)
{
    std::string kept;
    size_t start = 0;
    for (size_t pos = FindEntry(text, key); pos != std::string_view::npos; pos = FindEntry(text, key, start)) {
        kept.append(text.substr(start, pos - start));
        const size_t lineEnd = text.find('\n', pos);
        start = lineEnd == std::string_view::npos ? text.size() : lineEnd + 1;
    }
    kept.append(text.substr(start));
    return kept;
}

// A stored number as a 16-bit value, held at the ends of its range: a to-month of 65539 must
// not come back as March.
int16_t LeadingNumber(std::string_view text)
{
    const std::string digits(text);
    const long value = std::strtol(digits.c_str(), nullptr, 10);
    if (value > INT16_MAX) return INT16_MAX;
    if (value < INT16_MIN) return INT16_MIN;
    return static_cast<int16_t>(value);
}

struct StoredConditions {
    int16_t taxIncluded = 0;
    int16_t toMonth = 0;
    std::string_view path;
};

// "tax/month/path": the path after the last "/", the month between the first and the last.
// A value without two "/" is no entry.
bool ParseValue(std::string_view value, StoredConditions& out)
{
    const size_t first = value.find('/');
    const size_t last = value.rfind('/');
    if (first == std::string_view::npos || first == last) return false;
    out.taxIncluded = LeadingNumber(value.substr(0, first));
    out.toMonth = LeadingNumber(value.substr(first + 1, last - first - 1));
    out.path = value.substr(last + 1);
    return true;
}

enum class FileState { kMissing, kPresent, kUnknown };

// Only "no such file" means there is no file: one that is there but cannot be looked at (no
// access, a name the system cannot resolve) must not be replaced by a fresh one.
FileState SettingsFileState(const char* path)
{
    CFileStatus status;
    if (CFile::GetStatus(path, status)) return FileState::kPresent;
    const DWORD error = ::GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return missing ? FileState::kMissing : FileState::kUnknown;
}

// The text is written in one call, whose count takes less than 4 GiB: a longer text is
// refused whole, never written cut short.
bool ReplaceFile(const CString& path, const std::string& text)
{
    if (text.size() > UINT32_MAX) return false;
    CReplacementFile file;
    return file.Open(path) && file.Write(text.data(), static_cast<UINT>(text.size())) && file.Commit();
}

}  // namespace

LastConditionsStore::LastConditionsStore(const char* userId, long selectNo1, long selectNo2)
    : m_userId(userId), m_selectNo1(selectNo1), m_selectNo2(selectNo2)
{
}

CString LastConditionsStore::Key() const
{
    CString key;
    key.Format("%s/%ld/%ld:", static_cast<const char*>(m_userId), m_selectNo1, m_selectNo2);
    return key;
}

bool LastConditionsStore::Read(int16_t* taxIncluded, int16_t* toMonth, char* path, size_t pathSize)
{
    std::memset(m_readPath, 0, sizeof m_readPath);
    const CString key = Key();
    const CString folder = SettingsFolder();
    if (folder.IsEmpty()) return false;
    std::string text;
    if (!ReadWholeFile(SettingsFilePath(folder), text)) return false;

    const size_t entry = FindEntry(text, key.Bytes());
    if (entry == std::string::npos) return false;
    const size_t valueStart = entry + key.Bytes().size();
    const size_t lineEnd = text.find('\n', valueStart);
    std::string_view value = std::string_view(text).substr(
        valueStart, lineEnd == std::string::npos ? std::string::npos : lineEnd - valueStart);
    // A line an editor ended in CR LF: the CR is no part of the path.
    if (!value.empty() && value.back() == '\r') value.remove_suffix(1);

    StoredConditions stored;
    if (!ParseValue(value, stored)) return false;
    if (stored.path.size() > kPathBufferSize - 1 || stored.path.size() >= pathSize) return false;
    if (stored.path.find('\0') != std::string_view::npos) return false;
    *taxIncluded = stored.taxIncluded;
    *toMonth = stored.toMonth;
    CopyCp932Text(path, pathSize, stored.path.data(), stored.path.size());
    CopyCp932Text(m_readPath, sizeof m_readPath, stored.path.data(), stored.path.size());
    return true;
}

bool LastConditionsStore::Write(int16_t taxIncluded, int16_t toMonth, const char* path) const
{
    const CString key = Key();
    CString line;
    line.Format("%s%d/%d/%s\n", static_cast<const char*>(key), taxIncluded, toMonth, path ? path : m_readPath);

    const CString folder = SettingsFolder();
    if (folder.IsEmpty()) return false;
    if (!IsExistingFolder(folder) && !CreateFolderTree(folder)) return false;

    const CString filePath = SettingsFilePath(folder);
    std::string text;
    const FileState state = SettingsFileState(filePath);
    if (state == FileState::kUnknown || (state == FileState::kPresent && !ReadWholeFile(filePath, text))) return false;

    // The entry moves to the end; every other line keeps its bytes and its place.
    std::string content = WithoutEntries(text, key.Bytes());
    if (!content.empty() && content.back() != '\n') content += '\n';
    content += line.Bytes();
    return ReplaceFile(filePath, content);
}
