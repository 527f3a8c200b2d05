// The last-conditions settings file, written and read through its store as the dialog and the
// run use it, in the settings folder of a stand-in host company.
#include <gtest/gtest.h>

#include <windows.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "dialog/LastConditionsStore.h"
#include "framework/CodePage.h"
#include "tests/dialog/WineDrives.h"
#include "tests/host/BooksInMemory.h"
#include "tests/host/HostTestFolder.h"

namespace {

constexpr int kSettingsLine = 11;  // "Settings = conf/user" in the test company's host.ini

class LastConditionsTest : public ::testing::Test {
protected:
    HostTestFolder host;
    LastConditionsStore store{"suzuki", 7, 12};

    void SetUp() override { ServeHostFolder(host.Path()); }
    void TearDown() override { ServeHostFolder(L""); }

    void SetUser(const char* id, long no1, long no2) { store = LastConditionsStore(id, no1, no2); }
    void UseSettingsFolder(const std::wstring& folder)
    {
        host.ReplaceLine(L"host.ini", kSettingsLine, "Settings = " + Utf8FromWide(folder));
        ServeHostFolder(host.Path());
    }
    std::wstring SettingsFile() const { return host.Path() + L"\\conf\\user\\QuorlinA.env"; }
    void WriteSettings(const std::string& bytes) const
    {
        CreateDirectoryW((host.Path() + L"\\conf").c_str(), nullptr);
        CreateDirectoryW((host.Path() + L"\\conf\\user").c_str(), nullptr);
        ASSERT_TRUE(WriteFileBytes(SettingsFile(), bytes));
    }

    struct Read {
        bool found;
        int16_t tax, month;
        std::string path;
        bool operator==(const Read&) const = default;
        friend void PrintTo(const Read& r, std::ostream* out)
        {
            *out << "{found " << r.found << ", tax " << r.tax << ", month " << r.month << ", path " << r.path << "}";
        }
    };
    Read ReadBack()
    {
        Read read{false, -7, -7, "untouched"};
        char path[261] = "untouched";
        read.found = store.Read(&read.tax, &read.month, path, sizeof path);
        read.path = path;
        return read;
    }
};

TEST_F(LastConditionsTest, AFirstRunCreatesTheFolderAndOneLine)
{
    EXPECT_FALSE(ReadBack().found);
    EXPECT_TRUE(store.Write(1, 3, "C:\\out\\a.xml"));
    EXPECT_EQ(ReadFileBytes(SettingsFile()), "suzuki/7/12:1/3/C:\\out\\a.xml\n");

    EXPECT_EQ(ReadBack(), (Read{true, 1, 3, "C:\\out\\a.xml"}));
}

TEST_F(LastConditionsTest, ARerunMovesTheEntryToTheEndAndKeepsTheOtherLines)
{
    WriteSettings("sato/1/3:0/12/D:\\x.xml\nsuzuki/7/12:1/3/C:\\old.xml\ntanaka/2/2:1/1/\n");
    EXPECT_TRUE(store.Write(0, 5, "C:\\new.xml"));
    EXPECT_EQ(ReadFileBytes(SettingsFile()),
              "sato/1/3:0/12/D:\\x.xml\ntanaka/2/2:1/1/\nsuzuki/7/12:0/5/C:\\new.xml\n");

    SetUser("suzuki", 7, 13);  // the same user with another company appends a line
    EXPECT_TRUE(store.Write(1, 4, "C:\\b.xml"));
    EXPECT_EQ(ReadFileBytes(SettingsFile()),
              "sato/1/3:0/12/D:\\x.xml\ntanaka/2/2:1/1/\nsuzuki/7/12:0/5/C:\\new.xml\nsuzuki/7/13:1/4/C:\\b.xml\n");
}

TEST_F(LastConditionsTest, DoubleBytePathsRoundTripByteForByte)
{
    const std::string path = "C:\\ソ\\表\\ポ|.xml";  // second bytes 0x5C, 0x5C, 0x7C
    EXPECT_TRUE(store.Write(0, 12, path.c_str()));
    EXPECT_EQ(ReadFileBytes(SettingsFile()), "suzuki/7/12:0/12/" + path + "\n");
    EXPECT_EQ(ReadBack(), (Read{true, 0, 12, path}));
}

TEST_F(LastConditionsTest, AKeyMatchesOnlyAWholeEntry)
{
    WriteSettings("user01/7/12:1/5/C:\\u.xml\n");
    SetUser("ser01", 7, 12);
    EXPECT_FALSE(ReadBack().found);
    EXPECT_TRUE(store.Write(0, 6, "C:\\s.xml"));
    EXPECT_EQ(ReadFileBytes(SettingsFile()), "user01/7/12:1/5/C:\\u.xml\nser01/7/12:0/6/C:\\s.xml\n");
    EXPECT_EQ(ReadBack().path, "C:\\s.xml");
}

TEST_F(LastConditionsTest, FilesOfAnySizeAreReadAndRewrittenWhole)
{
    std::string others;
    for (int i = 0; others.size() < 70000; ++i)
        others += "user" + std::to_string(i) + "/1/1:0/4/C:\\ソ\\file" + std::to_string(i) + ".xml\n";
    WriteSettings(others + "suzuki/7/12:1/9/C:\\far.xml\n" + others);

    EXPECT_EQ(ReadBack(), (Read{true, 1, 9, "C:\\far.xml"}));
    EXPECT_TRUE(store.Write(0, 2, "C:\\near.xml"));
    EXPECT_EQ(ReadFileBytes(SettingsFile()), others + others + "suzuki/7/12:0/2/C:\\near.xml\n");
}

TEST_F(LastConditionsTest, OddValuesCountAsNoEntry)
{
    for (const std::string& line : {std::string("suzuki/7/12:1\n"), std::string("suzuki/7/12:1/4\n"),
                                    "suzuki/7/12:1/4/" + std::string(261, 'a') + "\n"}) {
        WriteSettings(line);
        const Read read = ReadBack();
        EXPECT_FALSE(read.found) << line;
        EXPECT_EQ(read.path, "untouched") << line;
    }

    // An empty path is an entry: the dialog then offers its default path.
    WriteSettings("suzuki/7/12:1/12/");
    EXPECT_EQ(ReadBack(), (Read{true, 1, 12, ""}));
}

// What the stored text says, also where an editor or a hand left it odd: the dialog shows it
// and Execute judges it.
TEST_F(LastConditionsTest, ValuesAreReadAsStored)
{
    const std::pair<std::string, Read> cases[] = {
        {"suzuki/7/12:1/4/C:\\a.xml\r\nother/1/1:0/1/x\r\n", {true, 1, 4, "C:\\a.xml"}},  // an editor's CR LF
        {"suzuki/7/12:0/65539/C:\\a.xml\n", {true, 0, 32767, "C:\\a.xml"}},  // never March
        {"suzuki/7/12:0/-65539/C:\\a.xml\n", {true, 0, -32768, "C:\\a.xml"}},
    };
    for (const auto& [file, read] : cases) {
        WriteSettings(file);
        EXPECT_EQ(ReadBack(), read) << file;
    }
}

TEST_F(LastConditionsTest, WithoutAPathTheStoredPathIsKept)
{
    WriteSettings("suzuki/7/12:0/4/C:\\kept.xml");  // a last line without its line feed
    EXPECT_EQ(ReadBack().path, "C:\\kept.xml");
    EXPECT_TRUE(store.Write(1, 11, nullptr));
    EXPECT_EQ(ReadFileBytes(SettingsFile()), "suzuki/7/12:1/11/C:\\kept.xml\n");

    WriteSettings("other/1/1:0/1/x");
    EXPECT_TRUE(store.Write(1, 11, nullptr));
    EXPECT_EQ(ReadFileBytes(SettingsFile()), "other/1/1:0/1/x\nsuzuki/7/12:1/11/C:\\kept.xml\n")
        << "a last line without its line feed is not run together with the new one";

    WriteSettings("suzuki/7/12:0/4/" + std::string(261, 'a') + "\n");
    EXPECT_FALSE(ReadBack().found);
    EXPECT_TRUE(store.Write(1, 11, nullptr));
    EXPECT_EQ(ReadFileBytes(SettingsFile()), "suzuki/7/12:1/11/\n") << "a read that found no entry leaves no path";
}

// The host's folder text ends in a backslash; one that does not still names the folder (whose
// name ends in the byte 0x5C, the second of ソ).
TEST_F(LastConditionsTest, AFolderWithoutItsBackslashHoldsTheFile)
{
    standin::HostData books = OpenCompanyBooks({});
    ASSERT_TRUE(Cp932FromWide(host.Path() + L"\\ソ", books.appFolders[1]));
    ServeBooks(std::move(books), L"");
    EXPECT_TRUE(store.Write(1, 3, "C:\\a.xml"));
    EXPECT_EQ(ReadFileBytes(host.Path() + L"\\ソ\\QuorlinA.env"), "suzuki/7/12:1/3/C:\\a.xml\n");
    EXPECT_EQ(ReadBack().path, "C:\\a.xml");
}

TEST_F(LastConditionsTest, NoSettingsFolderNothingReadOrWritten)
{
    host.ReplaceLine(L"host.ini", kSettingsLine, "Settings =");
    ServeHostFolder(host.Path());
    EXPECT_FALSE(store.Write(1, 3, "C:\\a.xml"));
    EXPECT_FALSE(ReadBack().found);
}

// The target held open by another program without delete sharing cannot be replaced.
TEST_F(LastConditionsTest, AFailedRewriteLeavesTheOldFileAsItWas)
{
    const std::string old = "sato/1/3:0/12/D:\\x.xml\nsuzuki/7/12:1/3/C:\\old.xml\n";
    WriteSettings(old);
    HANDLE holder = CreateFileW(SettingsFile().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(store.Write(0, 5, "C:\\new.xml"));
    CloseHandle(holder);

    EXPECT_EQ(ReadFileBytes(SettingsFile()), old);
    EXPECT_EQ(FolderNames(host.Path() + L"\\conf\\user"), std::vector<std::wstring>{L"QuorlinA.env"})
        << "no fresh file is left behind";
}

// A name the file system cannot resolve (a link that leads to itself) is not a missing file:
// nothing is read, and nothing takes its place.
TEST_F(LastConditionsTest, AFileThatCannotBeLookedAtIsNeitherReadNorReplaced)
{
    WriteSettings("");
    const std::string unixFile = UnixPathOf(SettingsFile());
    if (unixFile.empty() || !RunUnixShell("ln -sfn QuorlinA.env '" + unixFile + "'"))
        GTEST_SKIP() << "no Unix link can be made under this system";
    EXPECT_FALSE(ReadBack().found);
    EXPECT_FALSE(store.Write(0, 5, "C:\\new.xml"));
    EXPECT_TRUE(RunUnixShell("test -L '" + unixFile + "'")) << "the link is still there";
}

TEST_F(LastConditionsTest, AReadOnlyFolderLeavesTheOldFileAsItWas)
{
    const std::wstring folder = host.Path() + L"\\ro";
    MountedTmpfs mount(UnixPathOf(folder), 100);
    if (!mount.Ready()) GTEST_SKIP() << "cannot mount a tmpfs (needs root): read-only rewrite not tested";
    UseSettingsFolder(folder + L"\\");
    const std::string old = "suzuki/7/12:1/3/C:\\old.xml\n";
    ASSERT_TRUE(WriteFileBytes(folder + L"\\QuorlinA.env", old));
    ASSERT_TRUE(RunUnixShell("mount -o remount,ro " + UnixPathOf(folder)));

    EXPECT_FALSE(store.Write(0, 5, "C:\\new.xml"));
    EXPECT_EQ(ReadFileBytes(folder + L"\\QuorlinA.env"), old);
    EXPECT_EQ(ReadBack().path, "C:\\old.xml");
}

}  // namespace
