// Steps on the files a run leaves: a file's bytes against an expected file or a text, a
// folder's names, a file that must not be there.
#include <algorithm>
#include <sstream>
#include <vector>

#include "tests/e2e/ScenarioRun.h"
#include "tests/e2e/ScenarioText.h"
#include "tests/support/TestFiles.h"

// file PATH equals EXPECTED (a file under tests/e2e/expected/) / holds TEXT / contains TEXT
std::wstring ScenarioRun::Files(const std::wstring& args)
{
    const wchar_t usage[] = L"file PATH equals NAME, file PATH holds TEXT, or file PATH contains TEXT";
    std::vector<std::wstring> words;
    std::wstring tail;
    if (!SplitWords(Expand(args), 2, words, tail)) return usage;
    bool exists = false;
    const std::string actual = ReadFileBytes(words[0], &exists);
    if (!exists) return L"no such file";
    if (words[1] == L"holds") return actual == Cp932FromWideText(tail) ? L"" : L"it holds something else";
    if (words[1] != L"equals" && words[1] != L"contains") return usage;
    KeepProducedXml(words[0]);
    if (words[1] == L"contains") {
        return actual.find(Cp932FromWideText(tail)) != std::string::npos ? L"" : L"it does not hold that text";
    }
    const std::wstring expectedPath = TestEnvironmentFolder(L"BRIDGE_SOURCE_DIR") + L"\\tests\\e2e\\expected\\" + tail;
    bool expectedExists = false;
    const std::string expected = ReadFileBytes(expectedPath, &expectedExists);
    if (!expectedExists) return L"cannot read " + expectedPath;
    if (actual == expected) return L"";
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    return L"differs from byte " + std::to_wstring(at);
}

// no file PATH
std::wstring ScenarioRun::NoFile(const std::wstring& args)
{
    std::vector<std::wstring> none;
    std::wstring path;
    SplitWords(Expand(args), 0, none, path);
    return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES ? L"" : L"the file exists";
}

// folder PATH holds NAME...: exactly these names are in the folder (no fresh file left beside).
std::wstring ScenarioRun::FolderHolds(const std::wstring& args)
{
    std::vector<std::wstring> words;
    std::wstring names;
    if (!SplitWords(Expand(args), 2, words, names) || words[1] != L"holds") return L"folder PATH holds NAME...";
    std::vector<std::wstring> expected;
    std::wistringstream in(names);
    for (std::wstring name; in >> name;) expected.push_back(name);
    std::sort(expected.begin(), expected.end());
    const std::vector<std::wstring> found = FolderNames(words[0]);
    if (found == expected) return L"";
    std::wstring list = L"it holds";
    for (const std::wstring& name : found) list += L" " + name;
    return list;
}

// A statement file the program wrote goes to the build's XML check as well (xmllint reads it).
void ScenarioRun::KeepProducedXml(const std::wstring& path)
{
    if (path.size() < 4 || _wcsicmp(path.c_str() + path.size() - 4, L".xml") != 0) return;
    std::wstring name = L"scenario-" + scenarioName_ + L"-" + edition_ + L"-" + std::to_wstring(++keptXml_) + L".xml";
    KeepXmlForCheck(path, name);
}

// written PATH: the file is there while the run goes on (before the run says it is done).
std::wstring ScenarioRun::Written(const std::wstring& args)
{
    std::vector<std::wstring> none;
    std::wstring path;
    SplitWords(Expand(args), 0, none, path);
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES ? L"" : L"it is not there";
}
