#pragma once
// A host data folder for tests: a small valid company written into a fresh temporary
// folder, with any file replaced before it is used.

#include <string>

#include "host/standin/HostData.h"
#include "tests/support/TestFiles.h"

// Text of a u8"" literal as UTF-8 bytes in a std::string (the data files are UTF-8, while
// ordinary literals of the program are code page 932).
std::string U8(const char8_t* text);

// Two companies: data number 12 "D12" (テスト工業, 2002/04/01 to 2003/03/31, interim flag 1,
// tax-inclusive) with three rows, and data number 13 "D13" (過去データ, past-results data)
// sharing the same tables. The user suzuki has numbers 7 and 12.
class HostTestFolder {
public:
    HostTestFolder();

    // Replaces a file with UTF-8 (or any) bytes.
    void Write(const std::wstring& name, const std::string& bytes) const;
    // Replaces line `number` (1-based) of a file written by the constructor.
    void ReplaceLine(const std::wstring& name, int number, const std::string& line) const;

    const std::wstring& Path() const { return temp_.Path(); }
    std::string Cp932Path() const;

    // LoadHostData on this folder: "" or the refusal (code page 932).
    std::string Load(standin::HostData& data) const;
    std::string Load() const;

private:
    TempFolder temp_;
};

// The host's singletons serve `folder` from the next call on; the call log goes to `logPath`
// when it is not empty.
void ServeHostFolder(const std::wstring& folder, const std::wstring& logPath = L"");
