#include "host/standin/TextFile.h"

#include <windows.h>

#include "host/standin/Utf8.h"

namespace standin {
namespace {

// Far more than any company's books; a bigger file is a mistake, not data.
constexpr DWORD kLargestFile = 64 * 1024 * 1024;

// The file's bytes, or false when it cannot be opened or read whole.
bool ReadWholeFile(const std::wstring& path, std::string& bytes, std::string& problem)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        problem = missing ? "file not found" : "file cannot be opened (error " + std::to_string(error) + ")";
        return false;
    }
    LARGE_INTEGER size{};
    bool ok = ::GetFileSizeEx(file, &size) != 0;
    if (ok && size.QuadPart > kLargestFile) {
        problem = "file is larger than 64 MB";
        ok = false;
    } else if (!ok) {
        problem = "file size cannot be read";
    }
    if (ok) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD read = 0;
        ok = bytes.empty() ||
             (::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) != 0 &&
              read == bytes.size());
        if (!ok) problem = "file cannot be read";
    }
    ::CloseHandle(file);
    return ok;
}

bool HasControlCharacter(const std::string& text)
{
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7F) return true;
    }
    return false;
}

std::string CheckLine(const std::string& fileName, const TextLine& line)
{
    std::wstring unused;
    if (!WideFromUtf8(line.text, unused)) return RefusalAt(fileName, line.number, "text is not valid UTF-8");
    if (HasControlCharacter(line.text)) {
        return RefusalAt(fileName, line.number, "control character in the text (binary data?)");
    }
    return "";
}

}  // namespace

std::string RefusalAt(const std::string& fileName, int lineNumber, const std::string& what)
{
    return fileName + " line " + std::to_string(lineNumber) + ": " + what;
}

std::string ReadTextLines(const std::wstring& path, const std::string& fileName,
                          std::vector<TextLine>& lines)
{
    lines.clear();
    std::string bytes;
    std::string problem;
    if (!ReadWholeFile(path, bytes, problem)) return fileName + ": " + problem;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);

    std::size_t start = 0;
    int number = 1;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string text = bytes.substr(start, end - start);
        if (!text.empty() && text.back() == '\r') text.pop_back();
        lines.push_back({number, std::move(text)});
        const std::string refusal = CheckLine(fileName, lines.back());
        if (!refusal.empty()) return refusal;
        start = end + 1;
        ++number;
    }
    return "";
}

bool IsBlankOrComment(const std::string& text)
{
    const std::string visible = Trimmed(text);
    return visible.empty() || visible[0] == ';' || visible[0] == '#';
}

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

}  // namespace standin
