// Failures on real files. After each, WriteReport gives 0, no fresh file is left behind, and a
// file that stood at the target is unchanged byte for byte.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/CodePage.h"
#include "framework/ReplacementFile.h"
#include "report/XmlWriter.h"
#include "tests/report/ReportTestSupport.h"

namespace {

const std::string kOldStatement = "<?xml version=\"1.0\"?>\r\n<REPORT>the statement agreed to overwrite</REPORT>\r\n";

using Advances = std::vector<std::pair<short, short>>;

TEST_F(ReportTest, MissingFolderFailsAndCreatesNothing)
{
    AddWorkedExampleEntries(statement);
    EXPECT_EQ(Write(L"missing\\statement.xml"), 0);
    EXPECT_TRUE(FolderNames(folder.Path()).empty());
    EXPECT_TRUE(progress.advances.empty()) << "SYSTEM's first line already fails";
}

TEST_F(ReportTest, ReadOnlyTargetIsLeftAsItWas)
{
    AddWorkedExampleEntries(statement);
    const std::wstring target = folder / L"statement.xml";
    ASSERT_TRUE(WriteFileBytes(target, kOldStatement));
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Write(), 0);
    EXPECT_EQ(Output(), kOldStatement);
    EXPECT_EQ(FolderNames(folder.Path()), std::vector<std::wstring>{L"statement.xml"});
    EXPECT_TRUE(GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_READONLY);
    // Every section was written; it is the replacement that failed.
    EXPECT_EQ(progress.advances, (Advances{{500, 600}, {600, 700}, {700, 1000}}));
}

TEST_F(ReportTest, TargetHeldByAnotherProgramIsLeftAsItWas)
{
    AddWorkedExampleEntries(statement);
    const std::wstring target = folder / L"statement.xml";
    ASSERT_TRUE(WriteFileBytes(target, kOldStatement));
    // Another program reads the file and lets nobody delete or rename it meanwhile.
    HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Write(), 0);
    CloseHandle(held);
    EXPECT_EQ(Output(), kOldStatement);
    EXPECT_EQ(FolderNames(folder.Path()), std::vector<std::wstring>{L"statement.xml"});
}

// A balance beyond the twelve characters the receiving program reads is never written as an
// empty field (read there as zero): the report fails before it replaces anything, and names
// the first such entry the file would hold, by the name the file would give it.
TEST_F(ReportTest, BalanceTheFileCannotCarryFailsAndNamesItsEntry)
{
    const int64_t kTooMuch = 1'000'000'000'000 * 10000LL;  // 10^12 yen
    const int64_t kTooLittle = -100'000'000'000 * 10000LL; // -10^11 yen
    struct Entry { int32_t code; const char* name; int hasSub; int64_t balance; };
    const struct {
        std::vector<Entry> entries;
        const char* refused;
    } cases[] = {
        {{{1110000, "現金", 0, 10000}, {1120000, "超過", 0, kTooMuch}, {1130000, "超負", 0, kTooLittle}}, "超過"},
        {{{1130000, "超負", 0, kTooLittle}}, "超負"},
        {{{1310000, "普通預金", 1, 5}, {1310001, "A\x81 銀行", 0, -kTooMuch + 1}, {1310000, "普通預金", 1, 5}}, "A・ 銀行"},
        // a sub-account opening a group of its own, headed by its account's row after it
        {{{1310002, "孤\x01立", 0, kTooMuch}, {1310000, "普通預金", 1, 5}}, "孤 立"},
    };
    for (const auto& each : cases) {
        statement.Clear();
        for (const Entry& entry : each.entries) statement.AddScaled(entry.code, entry.name, entry.hasSub, entry.balance);
        ASSERT_TRUE(WriteFileBytes(folder / L"statement.xml", kOldStatement));
        EXPECT_EQ(Write(), 0) << each.refused;
        EXPECT_EQ(Output(), kOldStatement) << each.refused;
        EXPECT_EQ(FolderNames(folder.Path()), std::vector<std::wstring>{L"statement.xml"}) << each.refused;
        ASSERT_NE(report.RefusedBalanceName(), nullptr) << each.refused;
        EXPECT_STREQ(report.RefusedBalanceName(), each.refused);
    }
    // The next report starts afresh; the edges of the range still write.
    statement.Clear();
    statement.AddScaled(1110000, "上限", 0, kTooMuch - 1);
    statement.AddScaled(1120000, "下限", 0, kTooLittle + 1);
    EXPECT_EQ(Write(), 1);
    EXPECT_EQ(report.RefusedBalanceName(), nullptr);
    EXPECT_NE(Output().find("<KANJYOKAMOKU_ZANDAKA>-99999999999</KANJYOKAMOKU_ZANDAKA>"), std::string::npos);
}

// Drive X: is a small file system (tests/report/small-disk.sh), given to this program only
// when it runs as the CTest entry report_small_disk_tests.
class SmallDisk : public ReportTest {
protected:
    void SetUp() override
    {
        const std::wstring drive = TestEnvironmentFolder(L"BRIDGE_SMALL_DISK");
        if (drive.empty()) GTEST_SKIP() << "runs as the CTest entry report_small_disk_tests";
        ULARGE_INTEGER total{};
        if (!GetDiskFreeSpaceExW((drive + L"\\").c_str(), nullptr, &total, nullptr) ||
            total.QuadPart > 1024 * 1024) {
            GTEST_SKIP() << "SMALL DISK NOT AVAILABLE: drive " << Utf8FromWide(drive)
                         << " is not the small file system (mounting needs root)";
        }
        diskFolder = drive + L"\\" + L"report-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                     WideFromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_TRUE(CreateDirectoryW(diskFolder.c_str(), nullptr));
        ballast = diskFolder + L"\\ballast";
    }
    void TearDown() override
    {
        if (!diskFolder.empty()) RemoveFolderTree(diskFolder);
    }

    // Takes 128 KiB of the disk, given back by DeleteFileW(ballast).
    void TakeSpace() { ASSERT_TRUE(WriteFileBytes(ballast, std::string(128 * 1024, 'b'))); }
    std::string TargetOnDisk() const
    {
        std::string target;
        EXPECT_TRUE(Cp932FromWide(diskFolder + L"\\statement.xml", target));
        return target;
    }

    std::wstring diskFolder;
    std::wstring ballast;
};

TEST_F(SmallDisk, ReportThatFitsIsWritten)
{
    AddWorkedExampleEntries(statement);
    const std::wstring target = diskFolder + L"\\statement.xml";
    ASSERT_EQ(WriteTo(target), 1);
    EXPECT_TRUE(KeepXmlForCheck(target, L"report-small-disk.xml"));
    EXPECT_EQ(FolderNames(diskFolder), std::vector<std::wstring>{L"statement.xml"});
}

TEST_F(SmallDisk, FullDiskInTheMiddleOfDataLeavesTheOldFile)
{
    for (int i = 1; i <= 5000; ++i) statement.Add(i * 10000, "勘定科目の名前", 0, i);  // about 1 MB
    const std::wstring target = diskFolder + L"\\statement.xml";
    ASSERT_TRUE(WriteFileBytes(target, kOldStatement));
    ULARGE_INTEGER freeBefore{};
    ASSERT_TRUE(GetDiskFreeSpaceExW(diskFolder.c_str(), &freeBefore, nullptr, nullptr));

    EXPECT_EQ(WriteTo(target), 0);
    EXPECT_EQ(ReadFileBytes(target), kOldStatement);
    EXPECT_EQ(FolderNames(diskFolder), std::vector<std::wstring>{L"statement.xml"});
    ULARGE_INTEGER freeAfter{};
    ASSERT_TRUE(GetDiskFreeSpaceExW(diskFolder.c_str(), &freeAfter, nullptr, nullptr));
    EXPECT_EQ(freeAfter.QuadPart, freeBefore.QuadPart) << "the fresh file's space is given back";
    // SYSTEM and BASIC were written, DATA was not finished.
    EXPECT_EQ(progress.advances, (Advances{{500, 600}, {600, 700}}));
    EXPECT_GT(progress.ticks, 1 + 6 + 3 + 2 + 100);
    EXPECT_LT(progress.ticks, 1 + 6 + 3 + 2 + 5000);
}

// A write that fails part-way may leave some of its bytes on disk: the file can never become
// whole again, so even with room made afterwards it is not committed.
TEST_F(SmallDisk, FailedWriteGivesTheFileUpForGood)
{
    TakeSpace();
    const std::string target = TargetOnDisk();
    CReplacementFile file;
    ASSERT_TRUE(file.Open(target.c_str()));
    const std::string line = "\t\t<LINE>a line of the statement</LINE>\r\n";
    int lines = 0;
    while (lines < 100000 && file.Write(line.data(), static_cast<UINT>(line.size()))) ++lines;
    ASSERT_LT(lines, 100000) << "the disk never filled";
    const DWORD error = GetLastError();
    EXPECT_TRUE(error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) << error;

    ASSERT_TRUE(DeleteFileW(ballast.c_str()));  // room again
    EXPECT_FALSE(file.Write(line.data(), static_cast<UINT>(line.size())));
    EXPECT_FALSE(file.Commit());
    EXPECT_TRUE(FolderNames(diskFolder).empty());
}

// After a failed line every later one fails, and Close still gives 0.
TEST_F(SmallDisk, WriterFailsEveryLineAfterAFailedOne)
{
    TakeSpace();
    const std::string target = TargetOnDisk();
    CReplacementFile file;
    XmlWriter writer;
    char line[256];
    ASSERT_EQ(writer.Open(&file, target.c_str()), 0);
    int lines = 0;
    while (lines < 100000 && writer.WriteElement(line, "LINE", "a line of the statement", 2) == 1) ++lines;
    ASSERT_LT(lines, 100000) << "the disk never filled";

    ASSERT_TRUE(DeleteFileW(ballast.c_str()));
    EXPECT_EQ(writer.WriteRaw("x"), 0);
    EXPECT_EQ(writer.EndElement(line, "REPORT", 0), 0);
    EXPECT_EQ(writer.Close(), 0);
    EXPECT_FALSE(file.Commit());
    EXPECT_TRUE(FolderNames(diskFolder).empty());
}

}  // namespace
