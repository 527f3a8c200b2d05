// Set-up steps: the company's books and host.ini, the program's definitions file, files that
// are there before the run, and the host window's size and place.
#include <cwchar>
#include <vector>

#include "tests/e2e/ScenarioRun.h"
#include "tests/e2e/ScenarioText.h"
#include "tests/support/TestFiles.h"

// company SECTION KEY VALUE
std::wstring ScenarioRun::Company(const std::wstring& args)
{
    std::vector<std::wstring> words;
    std::wstring value;
    if (!SplitWords(args, 2, words, value)) return L"company needs a section, a key and a value";
    company_.SetHostValue(Utf8FromWide(words[0]), Utf8FromWide(words[1]), Utf8FromWide(Expand(value)));
    return L"";
}

// definitions TEXT: the program's definitions file holds TEXT.
std::wstring ScenarioRun::Definitions(const std::wstring& args)
{
    const std::wstring definitions = programFolder_ + L"\\TavrinDef.ini";
    std::vector<std::wstring> none;
    std::wstring text;
    SplitWords(args, 0, none, text);
    return WriteFileBytes(definitions, Cp932FromWideText(text)) ? L"" : L"cannot write " + definitions;
}

std::wstring ScenarioRun::DefinitionsNone(const std::wstring&)
{
    DeleteFileW((programFolder_ + L"\\TavrinDef.ini").c_str());
    return L"";
}

// put PATH TEXT: a file that is there before the run
std::wstring ScenarioRun::Put(const std::wstring& args)
{
    std::vector<std::wstring> words;
    std::wstring value;
    if (!SplitWords(Expand(args), 1, words, value)) return L"put needs a path and a text";
    return WriteFileBytes(words[0], Cp932FromWideText(value)) ? L"" : L"cannot write " + words[0];
}

std::wstring ScenarioRun::ReadOnly(const std::wstring& args)
{
    const std::wstring path = Expand(args);
    readOnly_.push_back(path);
    return SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY) ? L"" : L"cannot make " + path + L" read-only";
}

// books NAME: the company folder holds tests/e2e/companies/NAME instead
std::wstring ScenarioRun::Books(const std::wstring& args)
{
    const std::wstring books = TestEnvironmentFolder(L"BRIDGE_SOURCE_DIR") + L"\\tests\\e2e\\companies\\" + args;
    RemoveFolderTree(company_.DataFolder());
    return CopyFolder(books, company_.DataFolder()) ? L"" : L"cannot copy " + books;
}

// host window WIDTHxHEIGHT [at X,Y]: the window's size, frame included, and its place.
std::wstring ScenarioRun::PlaceHost(const std::wstring& args)
{
    int width = 0, height = 0, x = 0, y = 0;
    const int read = swscanf(args.c_str(), L"%dx%d at %d,%d", &width, &height, &x, &y);
    if (read != 2 && read != 4) return L"host window WIDTHxHEIGHT, or host window WIDTHxHEIGHT at X,Y";
    host_.Place(x, y, width, height);
    return L"";
}

std::wstring ScenarioRun::HostMinimized(const std::wstring&)
{
    host_.ShowAs(HostWindow::Shown::minimized);
    return L"";
}

std::wstring ScenarioRun::HostHidden(const std::wstring&)
{
    host_.ShowAs(HostWindow::Shown::hidden);
    return L"";
}
