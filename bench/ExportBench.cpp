// What an export costs: a generated company of N rows served by the stand-in host from
// memory, aggregated with the real progress window on screen, then the report written to a
// real file, against the floor of writing as many bytes in one buffered write.
//
//   export_bench ROWS        (five runs, the median shown; tools/bench runs 1,000, 10,000 and
//                            100,000 rows, one process each, as the host is loaded once a process)

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "aggregate/BalanceAggregator.h"
#include "aggregate/PeriodMonths.h"
#include "app/BridgeApp.h"
#include "app/ProgressDlg.h"
#include "host/HostLibrary.h"
#include "host/HostRecords.h"
#include "report/StatementReport.h"
#include "res/resource.h"

namespace {

const int kRuns = 5;
// Until the report writes its file, the floor is taken for this many bytes per entry, about
// what one account element of the statement holds.
const size_t kEstimatedBytesPerEntry = 180;

double NowMs()
{
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return value;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Forwards to the progress window and keeps the main steps asked for. It reads no clock: a
// clock read costs about as much as a step of the work (0.13 us under Wine), so the time in the
// window is taken as the difference from the same work without a window.
class RecordingProgress : public ProgressSink {
public:
    explicit RecordingProgress(ProgressSink& window) : window_(window) {}
    void Advance(short from, short to) override
    {
        window_.Advance(from, to);
        advances.emplace_back(from, to);
    }
    void Tick() override { window_.Tick(); }
    std::vector<std::pair<short, short>> advances;

private:
    ProgressSink& window_;
};

// The aggregation without a window: what the program and the host cost on their own.
class NoProgress : public ProgressSink {
public:
    void Advance(short, short) override {}
    void Tick() override {}
};

// The window's fixed cost: a fresh window taken through the same main steps, without rows.
double ReplayAdvances(const std::vector<std::pair<short, short>>& advances, long& mainSteps)
{
    CProgressDlg window;
    window.Create(IDD_PROGRESS);
    window.ShowWindow(SW_SHOW);
    const double start = NowMs();
    window.ResetProgress();
    for (const auto& [from, to] : advances) window.Advance(from, to);
    window.Dismiss();
    const double ms = NowMs() - start;
    mainSteps = window.MainSteps();
    return ms;
}

// What one look at the queue costs, as the progress window takes it at every frame: a shown
// window, nothing pending.
double QueueReadingUs()
{
    const int readings = 100000;
    CProgressDlg window;
    window.Create(IDD_PROGRESS);
    window.ShowWindow(SW_SHOW);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    const double start = NowMs();
    for (int reading = 0; reading < readings; ++reading) {
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_NOYIELD);
    }
    return (NowMs() - start) * 1000.0 / readings;
}

// Only the host calls the aggregation makes for every row: the row, then the account lookup.
double HostCallsOnly(const StFINDINFO& conditions, const StDATAINFO& company)
{
    NoProgress none;
    StatementList noEntries;
    BalanceAggregator lookup(none, noEntries);   // its account lookup is nothing but the host's calls
    const double start = NowMs();
    auto* rule = new (std::nothrow) ClRuleKamoku;
    if (rule == nullptr) return 0;
    rule->SetCurDataID(company.szDataId);
    rule->MoveReady(_RuleKamokuSumType_Base, _RuleKamokuSumType_Bmn, _RuleKamokuSumType_Disptype, &conditions,
                    nullptr, _RuleKamokuSumType_Past);
    StKAMOKUSUMINFO row;
    while (rule->MoveNext(&row) == 0) lookup.LookupAccountClass(row.nCode);
    rule->MoveFinish();
    delete rule;
    return NowMs() - start;
}

bool WriteWhole(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size() && FlushFileBuffers(file);
    CloseHandle(file);
    return ok;
}

// A company of `rows` rows over 85 % as many accounts: an account with more than one row is
// delivered as its row, flagged as having sub-accounts, then its sub-account rows; the next
// account's row ends its group. Every row's code is in the accounts table.
void WriteCompany(const std::wstring& folder, int rows)
{
    std::string ini =
        "[user]\nUserId = bench\nSelectNo1 = 1\nSelectNo2 = 1\n[folders]\nOutput = out\\\nSettings = settings\\\n"
        "[data 1]\nDataId = B0001\nCompanyName = Bench\nPeriodStart = 20240401\nPeriodEnd = 20250331\n"
        "Accounts = accounts.csv\nRows = rows.csv\n";
    std::string accounts = "code,class\n";
    std::string table = "code,name,has_sub,balance_side,debit_excl,debit_incl,credit_excl,credit_incl\n";
    const std::string amounts = "1000 10 20 30 40 50 60 70 80 90 100 110 120 5 6";
    const int accountCount = rows * 85 / 100;
    const auto accountOf = [&](int row) { return static_cast<int>(static_cast<long long>(row) * accountCount / rows); };
    for (int i = 0, sub = 0; i < rows; ++i) {
        const int account = accountOf(i);
        sub = i > 0 && accountOf(i - 1) == account ? sub + 1 : 0;
        const bool hasSub = sub == 0 && i + 1 < rows && accountOf(i + 1) == account;
        const std::string code = std::to_string((1 + static_cast<long long>(account)) * 10000 + sub);
        accounts += code + "," + std::to_string(account % 2) + "\n";
        table += code + ",Account " + std::to_string(account) + (hasSub ? ",1," : ",0,") + std::to_string(1 + i % 2) +
                 "," + amounts + "," + amounts + "," + amounts + "," + amounts + "\n";
    }
    WriteWhole(folder + L"\\host.ini", ini);
    WriteWhole(folder + L"\\accounts.csv", accounts);
    WriteWhole(folder + L"\\rows.csv", table);
}

std::wstring FreshFolder(int rows)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"export_bench_" + std::to_wstring(rows) + L"_" +
                                std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void RemoveCompany(const std::wstring& folder)
{
    for (const wchar_t* file : {L"host.ini", L"accounts.csv", L"rows.csv", L"floor.bin", L"out\\statement.xml"}) {
        DeleteFileW((folder + L"\\" + file).c_str());
    }
    for (const wchar_t* sub : {L"\\out", L"\\settings", L""}) RemoveDirectoryW((folder + sub).c_str());
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Figures {
    double aggregateMs, reportMs, floorMs, fixedMs, bareMs, bareReportMs, hostMs;
    size_t entries, bytes;
    long repaints, mainSteps;
    bool estimated;
};

Figures OneRun(CBridgeApp& app, const StDATAINFO& company, const StFINDINFO& conditions, const std::wstring& folder)
{
    Figures figures{};
    CProgressDlg window;
    window.Create(IDD_PROGRESS);
    window.ShowWindow(SW_SHOW);
    window.ResetProgress();
    RecordingProgress progress(window);

    BalanceAggregator aggregator(progress, app.m_statementList);
    double start = NowMs();
    aggregator.Aggregate(0, &conditions, &company);
    figures.aggregateMs = NowMs() - start;
    figures.entries = app.m_statementList.GetCount();

    StatementReport report(progress, app.m_statementList);
    report.SetProgressBase(500);
    const std::wstring xmlPath = folder + L"\\out\\statement.xml";
    std::string xmlPathCp932;
    for (wchar_t c : xmlPath) xmlPathCp932 += static_cast<char>(c);   // the temporary path is ASCII
    start = NowMs();
    report.WriteReport(xmlPathCp932.c_str(), 1, &company);
    figures.reportMs = NowMs() - start;
    window.Dismiss();
    figures.repaints = window.Repaints();

    WIN32_FILE_ATTRIBUTE_DATA attributes;
    figures.estimated = !GetFileAttributesExW(xmlPath.c_str(), GetFileExInfoStandard, &attributes);
    figures.bytes = figures.estimated ? figures.entries * kEstimatedBytesPerEntry : attributes.nFileSizeLow;
    const std::string bytes(figures.bytes, 'x');
    start = NowMs();
    WriteWhole(folder + L"\\floor.bin", bytes);
    figures.floorMs = NowMs() - start;
    app.m_statementList.RemoveAll();

    figures.fixedMs = ReplayAdvances(progress.advances, figures.mainSteps);
    NoProgress none;
    BalanceAggregator bareAggregator(none, app.m_statementList);
    start = NowMs();
    bareAggregator.Aggregate(0, &conditions, &company);
    figures.bareMs = NowMs() - start;
    StatementReport bareReport(none, app.m_statementList);
    bareReport.SetProgressBase(500);
    start = NowMs();
    bareReport.WriteReport(xmlPathCp932.c_str(), 1, &company);
    figures.bareReportMs = NowMs() - start;
    app.m_statementList.RemoveAll();
    bareAggregator.ReleaseRule();
    figures.hostMs = HostCallsOnly(conditions, company);
    return figures;
}

void Measure(int rows)
{
    const std::wstring folder = FreshFolder(rows);
    CreateDirectoryW((folder + L"\\out").c_str(), nullptr);
    WriteCompany(folder, rows);
    SetEnvironmentVariableW(L"BRIDGE_HOST_DATA", folder.c_str());
    SetEnvironmentVariableW(L"BRIDGE_HOST_LOG", nullptr);

    // The stand-in reads the whole folder when the connection is made.
    double start = NowMs();
    ClAccConnect::Inst()->Initiate();
    const double loadMs = NowMs() - start;

    CBridgeApp app;
    StDATAINFO company;
    StFINDINFO conditions;
    ZeroMemory(&company, sizeof company);
    ZeroMemory(&conditions, sizeof conditions);
    app.ReadCompanyInfo(&company);
    BuildFindConditions(&conditions, &company, 4, 3);

    std::vector<double> aggregate, report, floor, total, fixed, bare, bareReport, bareTotal, host, reading;
    Figures last{};
    for (int run = 0; run < kRuns; ++run) {
        last = OneRun(app, company, conditions, folder);
        aggregate.push_back(last.aggregateMs);
        report.push_back(last.reportMs);
        floor.push_back(last.floorMs);
        total.push_back(last.aggregateMs + last.reportMs);
        fixed.push_back(last.fixedMs);
        bare.push_back(last.bareMs);
        bareReport.push_back(last.bareReportMs);
        bareTotal.push_back(last.bareMs + last.bareReportMs);
        host.push_back(last.hostMs);
        reading.push_back(QueueReadingUs());
    }
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    ClAccConnect::Inst()->LogOut();
    ClAccConnect::Inst()->Terminate();
    ClAccConnect::Inst()->Release();

    const double totalMs = Median(total);
    const double floorMs = std::max(Median(floor), 1e-6);
    std::printf("rows %d: stand-in load %.1f ms; entries %zu\n", rows, loadMs, last.entries);
    std::printf("  with the window: aggregate %.1f ms, report %.1f ms, total %.1f ms (%.2f us/row), %ld repaints\n",
                Median(aggregate), Median(report), totalMs, totalMs * 1000.0 / rows, last.repaints);
    std::printf("  without a window: aggregate %.1f ms (the host's calls alone %.1f ms), report %.1f ms, "
                "total %.1f ms\n",
                Median(bare), Median(host), Median(bareReport), Median(bareTotal));
    std::printf("  in the window (the difference): aggregate %.1f ms, report %.1f ms, total %.1f ms\n",
                Median(aggregate) - Median(bare), Median(report) - Median(bareReport), totalMs - Median(bareTotal));
    std::printf("  the window's %ld main steps without rows %.1f ms\n", last.mainSteps, Median(fixed));
    // The window looks at its queue only when a frame is due, and draws then: a reading a repaint at most.
    const double readingsMs = static_cast<double>(last.repaints) * Median(reading) / 1000.0;
    std::printf("  queue readings: at most %ld (one a frame) at %.2f us: %.3f ms, %.3f %% of the export "
                "with the window\n",
                last.repaints, Median(reading), readingsMs, readingsMs * 100.0 / totalMs);
    std::printf("  floor: %zu bytes%s in %.2f ms; total / floor %.1f with the window, %.1f without\n", last.bytes,
                last.estimated ? " (estimated: no file written)" : "", Median(floor), totalMs / floorMs,
                Median(bareTotal) / floorMs);
    std::printf("  peak working set %.1f MB, peak pagefile %.1f MB\n",
                static_cast<double>(memory.PeakWorkingSetSize) / 1048576.0,
                static_cast<double>(memory.PeakPagefileUsage) / 1048576.0);
    std::fflush(stdout);
    RemoveCompany(folder);
}

}  // namespace

int main(int argc, char** argv)
{
    const int rows = argc > 1 ? std::atoi(argv[1]) : 10000;
    if (rows <= 0) {
        std::fprintf(stderr, "usage: export_bench ROWS\n");
        return 1;
    }
    std::printf("median of %d runs\n", kRuns);
    Measure(rows);
    return 0;
}
