#pragma once
// Real files for tests: a fresh temporary folder per test, removed with everything in it, and
// whole-file reads and writes by wide path.

#include <string>
#include <vector>

class TempFolder {
public:
    TempFolder();   // a new, empty folder under the system's temporary folder
    ~TempFolder();  // removes it and everything below it
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return path_; }  // ends without a backslash
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
// The whole file; `exists` (when given) tells a missing file from an empty one.
std::string ReadFileBytes(const std::wstring& path, bool* exists = nullptr);
// The names in a folder, sorted; "." and ".." left out.
std::vector<std::wstring> FolderNames(const std::wstring& folder);
bool CopyFolder(const std::wstring& from, const std::wstring& to);
void RemoveFolderTree(const std::wstring& path);

std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& wide);
// A folder given to the tests by the build (BRIDGE_SOURCE_DIR, BRIDGE_BUILD_DIR).
std::wstring TestEnvironmentFolder(const wchar_t* name);

// Keeps a copy of an XML file a test wrote, as <build>\xml-check\<name>, where the build's
// check (tests/report/check-xml.sh, after the test programs) reads every kept file with an
// independent parser. A name ending in ".cp932.xml" marks a file that holds characters only
// code page 932 has. False when the copy could not be made.
bool KeepXmlForCheck(const std::wstring& path, const std::wstring& name);
