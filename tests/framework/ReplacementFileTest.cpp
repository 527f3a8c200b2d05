// CReplacementFile on real files: the target changes only on Commit, and after any failure
// the fresh file is gone and the target is as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "framework/LongPath.h"
#include "framework/ReplacementFile.h"

namespace {

const std::string kOld = "the file the user agreed to overwrite\r\n";
const std::vector<std::wstring> kTargetOnly = {L"statement.xml"};

// More than the file's collecting buffer holds, written a line at a time.
std::string ManyLines()
{
    std::string text;
    for (int i = 0; text.size() < 200000; ++i) text += "\t\t<LINE>" + std::to_string(i) + "</LINE>\r\n";
    return text;
}

void WriteInLines(CReplacementFile& file, const std::string& text)
{
    for (size_t pos = 0; pos < text.size(); pos += 40) {
        const std::string piece = text.substr(pos, 40);
        file.Write(piece.data(), static_cast<UINT>(piece.size()));
    }
}

// A fresh folder whose target is statement.xml.
class ReplacementFile : public ::testing::Test {
protected:
    TempFolder folder;
    const std::wstring target = folder / L"statement.xml";
    CReplacementFile file;

    void WriteOld() { ASSERT_TRUE(WriteFileBytes(target, kOld)); }
    bool Open(const char* name = "statement.xml") { return file.Open(Cp932Path(folder, name).c_str()); }
    std::vector<std::wstring> Names(const std::wstring& sub = L"") const
    {
        return FolderNames(sub.empty() ? folder.Path() : folder / sub);
    }
    // The target holds the old text and stands alone.
    void ExpectOldTargetAlone() const
    {
        EXPECT_EQ(ReadFileBytes(target), kOld);
        EXPECT_EQ(Names(), kTargetOnly);
    }
};

TEST_F(ReplacementFile, FreshFileBecomesTheTargetOnCommit)
{
    ASSERT_TRUE(Open());
    EXPECT_TRUE(file.IsOpen());
    const std::string text = ManyLines();
    WriteInLines(file, text);
    file.Write(nullptr, 0);
    const std::vector<std::wstring> during = Names();
    ASSERT_EQ(during.size(), 1u);
    EXPECT_NE(during[0], L"statement.xml") << "the target appears only on Commit";

    ASSERT_TRUE(file.Commit());
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(ReadFileBytes(target), text);
    EXPECT_EQ(Names(), kTargetOnly);
    EXPECT_FALSE(file.Commit()) << "nothing left to commit";
    EXPECT_EQ(ReadFileBytes(target), text);
}

TEST_F(ReplacementFile, TargetIsReplacedOnlyOnCommit)
{
    WriteOld();
    ASSERT_TRUE(Open());
    const std::string text = ManyLines();
    WriteInLines(file, text);
    EXPECT_EQ(ReadFileBytes(target), kOld);
    EXPECT_EQ(Names().size(), 2u);
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadFileBytes(target), text);
    EXPECT_EQ(Names().size(), 1u);
}

TEST_F(ReplacementFile, UncommittedFileIsRemoved)
{
    WriteOld();
    {
        CReplacementFile dropped;
        ASSERT_TRUE(dropped.Open(Cp932Path(folder, "statement.xml").c_str()));
        WriteInLines(dropped, ManyLines());
    }  // destroyed without Commit
    ExpectOldTargetAlone();

    ASSERT_TRUE(Open());
    EXPECT_TRUE(file.Write("new", 3));
    file.Abandon();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.Write("x", 1));
    EXPECT_FALSE(file.Commit());
    file.Abandon();  // harmless twice
    ExpectOldTargetAlone();
}

TEST_F(ReplacementFile, MissingFolderOrNoNameCannotBeOpened)
{
    EXPECT_FALSE(file.Open(Cp932Path(folder, "missing\\statement.xml").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(file.Write("x", 1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(file.Commit());
    EXPECT_FALSE(file.Open(nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
    EXPECT_FALSE(file.Open(""));
    EXPECT_TRUE(Names().empty());
}

TEST_F(ReplacementFile, ReadOnlyTargetRefusesAndStays)
{
    WriteOld();
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(Open());
    EXPECT_TRUE(file.Write("new", 3));
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    ExpectOldTargetAlone();
    EXPECT_TRUE(GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST_F(ReplacementFile, TargetHeldOpenWithoutDeleteSharingStays)
{
    WriteOld();
    HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(Open());
    EXPECT_TRUE(file.Write("new", 3));
    EXPECT_FALSE(file.Commit());
    const DWORD error = GetLastError();
    EXPECT_TRUE(error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) << error;
    CloseHandle(held);
    ExpectOldTargetAlone();
}

// The reason given is that of the call that failed first, and the handle is closed on every
// path. A flush fails on a handle that may not write; a close on a handle protected from it, as
// it may on a network share that went away.
TEST_F(ReplacementFile, FlushAndCloseTellsTheFirstFailure)
{
    const struct {
        DWORD access, protect, failedBefore, reason;
    } rows[] = {
        {GENERIC_WRITE, 0, NO_ERROR, NO_ERROR},
        {GENERIC_READ, 0, NO_ERROR, ERROR_ACCESS_DENIED},
        {GENERIC_READ, HANDLE_FLAG_PROTECT_FROM_CLOSE, NO_ERROR, ERROR_ACCESS_DENIED},
        {GENERIC_WRITE, HANDLE_FLAG_PROTECT_FROM_CLOSE, NO_ERROR, ERROR_INVALID_HANDLE},
        {GENERIC_WRITE, HANDLE_FLAG_PROTECT_FROM_CLOSE, ERROR_DISK_FULL, ERROR_DISK_FULL},  // a write failed
    };
    WriteOld();
    for (const auto& [access, protect, failedBefore, reason] : rows) {
        HANDLE handle = CreateFileW(target.c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_TRUE(SetHandleInformation(handle, HANDLE_FLAG_PROTECT_FROM_CLOSE, protect));
        EXPECT_EQ(FlushAndClose(handle, failedBefore), reason) << access << " " << protect << " " << failedBefore;
        DWORD flags = 0;
        EXPECT_EQ(GetHandleInformation(handle, &flags) != FALSE, protect != 0) << "closed unless protected";
        if (protect != 0 && SetHandleInformation(handle, protect, 0)) CloseHandle(handle);
    }
}

// ソ and 表 end in 0x5C: the folder is cut at the real backslash only.
TEST_F(ReplacementFile, NamesWhoseSecondBytesAreBackslashes)
{
    ASSERT_TRUE(CreateDirectoryW((folder / L"ソ表").c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(folder / L"ソ表\\能力表.xml", kOld));
    ASSERT_TRUE(Open("ソ表\\能力表.xml"));
    file.Write("新しい", 6);
    EXPECT_EQ(Names(L"ソ表").size(), 2u) << "the fresh file stands beside the target";
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadFileBytes(folder / L"ソ表\\能力表.xml"), "新しい");
    EXPECT_EQ(Names(L"ソ表"), std::vector<std::wstring>{L"能力表.xml"});
    EXPECT_EQ(Names(), std::vector<std::wstring>{L"ソ表"});
}

// Wine takes paths of any length, Windows only in extended-length form (unless its long-path
// setting is on): the forms the file system is handed.
TEST(ExtendedLengthPath, IsTheFullPathInTheFormWithoutLengthLimit)
{
    wchar_t current[MAX_PATH] = {};
    ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, current), 3u);
    std::wstring currentFolder(current);
    if (currentFolder.back() != L'\\') currentFolder += L'\\';
    const std::wstring deep = L"C:\\" + std::wstring(251, L'a') + L".xml";  // 259 characters
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"C:\\out\\a.xml", L"\\\\?\\C:\\out\\a.xml"},
        {L"C:/out/sub/../.\\a.xml", L"\\\\?\\C:\\out\\a.xml"},
        {deep, L"\\\\?\\" + deep},
        {L"\\\\server\\share\\out\\a.xml", L"\\\\?\\UNC\\server\\share\\out\\a.xml"},
        {L"out\\a.xml", L"\\\\?\\" + currentFolder + L"out\\a.xml"},
        {L"\\\\?\\C:\\out\\a.xml", L"\\\\?\\C:\\out\\a.xml"},
        {L"\\\\.\\NUL", L"\\\\.\\NUL"},
    };
    for (const auto& [path, handed] : rows) EXPECT_EQ(ExtendedLengthPath(path), handed) << Utf8FromWide(path);
}

// Fresh names are short whatever the target's (each name has a limit too), and the same in
// every run: one a killed run left is removed by the next, a file that only looks like one
// (or is still open in another run) stays.
TEST_F(ReplacementFile, FreshNamesAreShortAndWhatAKilledRunLeftIsRemoved)
{
    const std::wstring longName = std::wstring(80, L'表') + L".xml";  // 244 bytes as UTF-8
    std::string cp932Name;
    ASSERT_TRUE(Cp932FromWide(longName, cp932Name));
    CReplacementFile running;
    ASSERT_TRUE(running.Open(Cp932Path(folder, cp932Name.c_str()).c_str()));
    ASSERT_TRUE(Open(cp932Name.c_str()));
    const std::vector<std::wstring> fresh = Names();
    ASSERT_EQ(fresh.size(), 2u);
    EXPECT_LE(fresh[0].size(), 40u);
    running.Abandon();
    file.Abandon();
    ASSERT_TRUE(WriteFileBytes(folder / fresh[0], "half a statement"));  // as a killed run left it
    ASSERT_TRUE(CreateDirectoryW((folder / fresh[1]).c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(folder / (L"~" + longName + L".tmp"), "kept"));

    ASSERT_TRUE(Open(cp932Name.c_str()));
    ASSERT_TRUE(file.Commit());
    std::vector<std::wstring> kept = {longName, fresh[1], L"~" + longName + L".tmp"};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Names(), kept);
}

// A folder in the target's place fails at the first try; a target another program holds is
// tried again until the tries run out.
TEST_F(ReplacementFile, OnlyAHeldFileIsWaitedFor)
{
    const std::wstring source = folder / L"fresh.tmp";
    const std::wstring held = folder / L"held.xml";
    ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(source, "new") && WriteFileBytes(held, kOld));
    HANDLE holder = CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    for (const auto& [to, expectedTries] : {std::pair{target, 1}, std::pair{held, 6}}) {
        int tries = 0;
        EXPECT_NE(RetryWhileHeld(to, [&] {
                      ++tries;
                      return MoveFileExW(source.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) ? NO_ERROR : GetLastError();
                  }),
                  static_cast<DWORD>(NO_ERROR));
        EXPECT_EQ(tries, expectedTries) << Utf8FromWide(to);
    }
    CloseHandle(holder);
}

// The waits of a replacement (a flush slowed to 600 ms as on a slow share, the pauses while
// another program holds the target) keep answering what another thread sends a window of the
// waiting thread: every 50 ms it asks, and waits at most 400 ms for the answer.
TEST_F(ReplacementFile, WaitsAnswerMessagesSentMeanwhile)
{
    const std::wstring source = folder / L"fresh.tmp";
    const std::wstring held = folder / L"held.xml";
    ASSERT_TRUE(WriteFileBytes(source, "new") && WriteFileBytes(held, kOld));
    HANDLE holder = CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const std::pair<const char*, std::function<bool()>> waits[] = {
        {"a slow flush",
         [&] {
             SetReplacementCommitDelay(600);
             const bool committed = Open() && file.Write("new", 3) && file.Commit();
             SetReplacementCommitDelay(0);
             return committed;
         }},
        {"a held target", [&] {
             return RetryWhileHeld(held, [&] {
                        return MoveFileExW(source.c_str(), held.c_str(), MOVEFILE_REPLACE_EXISTING) ? NO_ERROR
                                                                                                    : GetLastError();
                    }) != NO_ERROR;
         }}};
    const HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    for (const auto& [name, wait] : waits) {
        SCOPED_TRACE(name);
        std::atomic<bool> done{false}, stopped{false};
        int asked = 0, answered = 0;
        std::thread other([&] {
            while (!done) {
                DWORD_PTR result = 0;
                ++asked;
                answered += SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 400, &result) ? 1 : 0;
                Sleep(50);
            }
            stopped = true;
        });
        EXPECT_TRUE(wait());
        done = true;
        for (MSG message; !stopped; Sleep(1)) PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the last ask
        other.join();
        EXPECT_GE(asked, 5);
        EXPECT_EQ(answered, asked);
    }
    DestroyWindow(window);
    CloseHandle(holder);
    EXPECT_EQ(ReadFileBytes(target), "new");
}

}  // namespace
