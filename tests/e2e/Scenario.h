#pragma once
// A scenario: one whole run written as lines a person can read (the language is described in
// docs/testing.md). This reads the file into steps; ScenarioRun plays them.

#include <string>
#include <vector>

struct ScenarioStep {
    int line = 0;
    std::wstring verb;  // the first word
    std::wstring rest;  // the text after it, blanks around it removed
};

struct Scenario {
    std::wstring name;                  // the file's name without its folder
    std::vector<std::wstring> editions; // the executables to run it against
    std::vector<ScenarioStep> steps;    // everything but the edition lines
};

// Reads a UTF-8 scenario file. Blank lines and lines starting with '#' are skipped. Without
// an "edition" line a scenario runs against QuorlinA.exe and its UTF-8 code page test copy.
// False (with `error` set) when the file cannot be read.
bool ReadScenario(const std::wstring& path, Scenario& scenario, std::wstring& error);

// Splits the first `count` words off `text` into `words`: a word is a run of non-blanks, or a
// "quoted text". What is left goes to `rest` with its blanks removed and, when the whole of it
// is quoted, without the quotes. Inside quotes \n is a line break and \" a quote; any other
// backslash stays as it is (paths keep theirs). False when fewer words are there.
bool SplitWords(const std::wstring& text, size_t count, std::vector<std::wstring>& words, std::wstring& rest);
