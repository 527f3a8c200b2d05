#include "tests/e2e/Scenario.h"

#include <sstream>

#include "tests/support/TestFiles.h"

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r';
}

size_t SkipBlanks(const std::wstring& text, size_t pos)
{
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    return pos;
}

// A quoted text starting at `pos` (its opening quote); `pos` ends after the closing quote.
bool ReadQuoted(const std::wstring& text, size_t& pos, std::wstring& out)
{
    for (++pos; pos < text.size(); ++pos) {
        const wchar_t c = text[pos];
        if (c == L'"') {
            ++pos;
            return true;
        }
        if (c == L'\\' && pos + 1 < text.size() && (text[pos + 1] == L'n' || text[pos + 1] == L'"')) {
            out += text[++pos] == L'n' ? L'\n' : L'"';
        } else {
            out += c;
        }
    }
    return false;
}

std::wstring TrimmedEnd(std::wstring text)
{
    while (!text.empty() && IsBlank(text.back())) text.pop_back();
    return text;
}

}  // namespace

bool SplitWords(const std::wstring& text, size_t count, std::vector<std::wstring>& words, std::wstring& rest)
{
    words.clear();
    size_t pos = SkipBlanks(text, 0);
    while (words.size() < count) {
        if (pos >= text.size()) return false;
        std::wstring word;
        if (text[pos] == L'"') {
            if (!ReadQuoted(text, pos, word)) return false;
        } else {
            while (pos < text.size() && !IsBlank(text[pos])) word += text[pos++];
        }
        words.push_back(word);
        pos = SkipBlanks(text, pos);
    }
    rest = TrimmedEnd(text.substr(pos));
    if (!rest.empty() && rest.front() == L'"') {
        size_t end = 0;
        std::wstring quoted;
        if (ReadQuoted(rest, end, quoted) && end == rest.size()) rest = quoted;
    }
    return true;
}

bool ReadScenario(const std::wstring& path, Scenario& scenario, std::wstring& error)
{
    bool exists = false;
    std::istringstream in(ReadFileBytes(path, &exists));
    if (!exists) {
        error = L"cannot read " + path;
        return false;
    }
    scenario.name = path.substr(path.find_last_of(L"\\/") + 1);
    int number = 0;
    for (std::string utf8; std::getline(in, utf8);) {
        ++number;
        const std::wstring line = TrimmedEnd(WideFromUtf8(utf8));
        const size_t start = SkipBlanks(line, 0);
        if (start == line.size() || line[start] == L'#') continue;
        size_t end = start;
        while (end < line.size() && !IsBlank(line[end])) ++end;
        ScenarioStep step{number, line.substr(start, end - start), line.substr(SkipBlanks(line, end))};
        if (step.verb == L"edition") {
            scenario.editions.push_back(step.rest);
        } else {
            scenario.steps.push_back(step);
        }
    }
    if (scenario.editions.empty()) scenario.editions = {L"QuorlinA.exe", L"QuorlinA-utf8.exe"};
    return true;
}
