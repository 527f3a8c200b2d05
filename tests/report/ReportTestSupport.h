// Shared by the report tests: statements built in the test, a progress window that records
// its calls, and a fresh folder that is the current directory (where SUPPORT.INF is looked for).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "aggregate/ProgressSink.h"
#include "aggregate/StatementList.h"
#include "host/HostRecords.h"
#include "report/StatementReport.h"
#include "tests/support/TestFiles.h"

class RecordingProgress : public ProgressSink {
public:
    void Advance(short from, short to) override { advances.emplace_back(from, to); }
    void Tick() override { ++ticks; }

    int ticks = 0;
    std::vector<std::pair<short, short>> advances;
};

// A statement list built through the list's own Append, as the aggregation builds it. The
// one place that knows how the list takes its entries.
class TestStatement {
public:
    // `yen` is whole yen; the entry holds ten-thousandths.
    void Add(int32_t code, const char* name, int hasSubAccounts, int64_t yen)
    {
        AddScaled(code, name, hasSubAccounts, yen * 10000);
    }
    void AddScaled(int32_t code, const char* name, int hasSubAccounts, int64_t balance);
    const StatementList& List() const { return list_; }
    void Clear() { list_.RemoveAll(); }

private:
    StatementList list_;
};

// Makes a folder the current directory for the life of the object.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::wstring& folder);
    ~CurrentFolder();
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    std::wstring before_;
};

// A report wired as the run wires it, over a fresh folder that is the current directory.
class ReportTest : public ::testing::Test {
protected:
    ReportTest();

    // WriteReport to `name` in the folder (function id 1 unless given).
    int Write(const std::wstring& name = L"statement.xml", int16_t functionId = 1);
    int WriteTo(const std::wstring& path, int16_t functionId = 1);
    std::string Output(const std::wstring& name = L"statement.xml") const;
    // Keeps the written file for the xmllint check under `checkName`.
    void KeepForCheck(const std::wstring& checkName, const std::wstring& name = L"statement.xml") const;
    void SetCompanyName(const char* name);

    TempFolder folder;
    CurrentFolder current{folder.Path()};
    TestStatement statement;
    RecordingProgress progress;
    StDATAINFO company{};
    StatementReport report{progress, statement.List()};
};

// The worked example's list: cash, a bank account with two banks, advances, payables.
void AddWorkedExampleEntries(TestStatement& statement);
