// The path functions on CP932 text, on real folders in a temporary folder: separators that
// are really the second byte of a double-byte character (ソ 0x83 0x5C, ポ 0x83 0x7C), network
// paths, drive letters without a root directory and CD-ROM drives of the Wine prefix, and the
// roll-back of a folder creation that fails for real.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "dialog/PathFunctions.h"
#include "framework/CodePage.h"
#include "tests/dialog/WineDrives.h"
#include "tests/support/TestFiles.h"

namespace {

std::string Cp932(const std::wstring& wide)
{
    std::string bytes;
    EXPECT_TRUE(Cp932FromWide(wide, bytes));
    return bytes;
}

std::string Str(const CString& text)
{
    return text.Bytes();
}

bool FolderExists(const std::string& cp932Path)
{
    const DWORD attributes = GetFileAttributesW(WideFromCp932(cp932Path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folders created below `folder` from now on, in the order the file system reports them
// to a program that watches the folder.
class FolderCreations {
public:
    explicit FolderCreations(const std::wstring& folder)
        : folder_(CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr))
    {
        Watch();
    }
    ~FolderCreations()
    {
        CloseHandle(folder_);
        CloseHandle(done_.hEvent);
    }

    // What was reported until the file system has been quiet for a moment.
    std::vector<std::wstring> Names()
    {
        std::vector<std::wstring> names;
        DWORD got = 0;
        while (WaitForSingleObject(done_.hEvent, 300) == WAIT_OBJECT_0 &&
               GetOverlappedResult(folder_, &done_, &got, FALSE)) {
            for (const char* at = buffer_; got != 0;) {
                const auto* notice = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(at);
                if (notice->Action == FILE_ACTION_ADDED)
                    names.emplace_back(notice->FileName, notice->FileNameLength / sizeof(WCHAR));
                if (notice->NextEntryOffset == 0) break;
                at += notice->NextEntryOffset;
            }
            Watch();
        }
        return names;
    }

private:
    void Watch()
    {
        ResetEvent(done_.hEvent);
        ReadDirectoryChangesW(folder_, buffer_, sizeof buffer_, TRUE, FILE_NOTIFY_CHANGE_DIR_NAME, nullptr, &done_,
                              nullptr);
    }

    HANDLE folder_;
    OVERLAPPED done_ = {0, 0, {}, CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    alignas(DWORD) char buffer_[4096];
};

std::string Normalized(const char* path)
{
    char buffer[kPathBufferSize] = {};
    std::strcpy(buffer, path);
    return NormalizeFolderPath(buffer) ? std::string(buffer) : std::string("(refused)");
}

#ifdef BRIDGE_MANIFEST_UTF8
TEST(CodePageTest, ThisProgramRunsUnderTheUtf8CodePage)
{
    EXPECT_EQ(GetACP(), 65001u);
    EXPECT_FALSE(IsDBCSLeadByte(0x83));
}
#endif

// Each path with its drive part, what follows the drive, its folder part and its file name.
// ソ (83 5C) and 表 (95 5C) end in the byte of a backslash, which is no separator there.
TEST(PathSplitTest, SplitsAtTheLastRealSeparator)
{
    const struct {
        const char *path, *drive, *afterDrive, *folder, *name;
    } paths[] = {
        {"C:\\out\\a.xml", "C:", "\\out\\a.xml", "C:\\out\\", "a.xml"},
        {"C:a.xml", "C:", "a.xml", "", "C:a.xml"},
        {"a.xml", "", "a.xml", "", "a.xml"},
        {"C:\\out\\", "C:", "\\out\\", "C:\\out\\", ""},
        {"C:\\ソ", "C:", "\\ソ", "C:\\", "ソ"},
        {"C:\\ソ\\表.xml", "C:", "\\ソ\\表.xml", "C:\\ソ\\", "表.xml"},
        {"C:\\ソ\\表", "C:", "\\ソ\\表", "C:\\ソ\\", "表"},
        {"ソ", "", "ソ", "", "ソ"},
    };
    for (const auto& each : paths) {
        SCOPED_TRACE(Utf8FromWide(WideFromCp932(each.path)));
        EXPECT_EQ(Str(GetDrivePart(each.path)), each.drive);
        EXPECT_EQ(Str(GetAfterDrivePart(each.path)), each.afterDrive);
        EXPECT_EQ(Str(GetFolderPart(each.path)), each.folder);
        EXPECT_EQ(Str(GetFileNamePart(each.path)), each.name);
    }
    EXPECT_EQ(Str(GetFolderPart(nullptr)), "");
}

TEST(PathTextTest, DbcsPositionsAreBothBytesOfACharacter)
{
    const char text[] = "aソb";  // 61 83 5C 62
    EXPECT_FALSE(IsDbcsPosition(text, 0));
    EXPECT_TRUE(IsDbcsPosition(text, 1));
    EXPECT_TRUE(IsDbcsPosition(text, 2));
    EXPECT_FALSE(IsDbcsPosition(text, 3));
    EXPECT_FALSE(IsDbcsPosition(text, 9));
    EXPECT_FALSE(IsDbcsPosition("", 0));
    EXPECT_FALSE(IsDbcsPosition("a\x83", 1));  // a lead byte alone at the end
}

TEST(PathTextTest, TrailingBackslashIsAddedOnlyWhereNeededAndWhereItFits)
{
    char text[kPathBufferSize] = "C:\\ソ";
    EXPECT_TRUE(AddTrailingBackslash(text, sizeof text));
    EXPECT_STREQ(text, "C:\\ソ\\");
    EXPECT_TRUE(AddTrailingBackslash(text, sizeof text));
    EXPECT_STREQ(text, "C:\\ソ\\");

    char empty[4] = "";
    EXPECT_FALSE(AddTrailingBackslash(empty, sizeof empty));
    EXPECT_FALSE(AddTrailingBackslash(nullptr, 10));

    char full[kPathBufferSize];
    std::memset(full, 'a', 260);
    full[260] = '\0';
    EXPECT_FALSE(AddTrailingBackslash(full, sizeof full));
    full[259] = '\0';
    EXPECT_TRUE(AddTrailingBackslash(full, sizeof full));
    EXPECT_EQ(std::strlen(full), 260u);
}

TEST(PathTextTest, NormalFormKeepsDriveAndFolders)
{
    EXPECT_EQ(Normalized("C:\\a\\b\\"), "C:\\a\\b\\");
    EXPECT_EQ(Normalized("C:\\a\\b"), "C:\\a\\");
    EXPECT_EQ(Normalized("C:"), "C:");
    EXPECT_EQ(Normalized("C:\\ソ"), "C:\\");
    EXPECT_EQ(Normalized("C:\\ソ\\x.xml"), "C:\\ソ\\");
    EXPECT_EQ(Normalized("\\\\server\\share\\a.xml"), "\\\\server\\share\\");
    EXPECT_EQ(Normalized("a.xml"), "(refused)");
    EXPECT_EQ(Normalized(""), "(refused)");
}

TEST(PathCharsTest, RefusesDoubleBackslashesAndRefusedCharacters)
{
    EXPECT_FALSE(IsValidPathChars("C:\\\\out\\a.xml"));
    EXPECT_FALSE(IsValidPathChars("\\\\server\\\\share\\a.xml"));
    EXPECT_TRUE(IsValidPathChars("\\\\server\\share\\a.xml"));
    EXPECT_FALSE(IsValidPathChars("C:\\out\\*.xml"));
    for (const char* refused : {"/", ":", ",", ";", "*", "?", "\"", ">", "<", "|", "\x01", "\t", "\x1F", "\x7F"}) {
        const std::string path = std::string("C:\\out\\a") + refused + "b.xml";
        EXPECT_FALSE(IsValidPathChars(path.c_str())) << path;
        const std::string share = std::string("\\\\server\\share\\a") + refused + ".xml";
        EXPECT_FALSE(IsValidPathChars(share.c_str())) << share;
    }
    EXPECT_TRUE(IsValidPathChars("C:\\out\\a.xml"));
    EXPECT_TRUE(IsValidPathChars("a.xml"));
    // A colon belongs only right after a leading drive letter.
    EXPECT_TRUE(IsValidPathChars("C:a.xml"));
    EXPECT_FALSE(IsValidPathChars("abc:def.xml"));
    EXPECT_FALSE(IsValidPathChars("X:\\dir\\a:b.xml"));
    EXPECT_FALSE(IsValidPathChars(":a.xml"));
    EXPECT_FALSE(IsValidPathChars("\x83:a.xml"));  // a lone lead byte is no drive letter
}

TEST(PathCharsTest, SecondBytesAreNeitherBackslashesNorBars)
{
    EXPECT_TRUE(IsValidPathChars("C:\\ソ\\a.xml"));  // 83 5C 5C: no double backslash
    EXPECT_TRUE(IsValidPathChars("C:\\ソ\\表\\ポ.xml"));  // ポ is 83 7C
    EXPECT_TRUE(IsValidPathChars("\\\\server\\share\\ソ\\a.xml"));
    EXPECT_FALSE(IsValidPathChars("C:\\ソ\\\\a.xml"));  // a real double backslash after ソ
}

class DriveTest : public ::testing::Test {
protected:
    TempFolder temp;
    std::string Path(const wchar_t* name = L"") { return Cp932(temp.Path() + L"\\" + name); }
};

TEST_F(DriveTest, FixedDrivesAndLettersAreJudgedByTheirRoot)
{
    EXPECT_TRUE(IsValidDrive(Path(L"a.xml").c_str()));  // the temporary folder's drive
    EXPECT_TRUE(IsUsableDriveLetter('c', 6));
    EXPECT_TRUE(IsUsableDriveLetter('C', 6));
    EXPECT_FALSE(IsUsableDriveLetter('1', 6));
    EXPECT_FALSE(IsUsableDriveLetter(0x83, 6));
    EXPECT_FALSE(IsValidDrive(""));
    EXPECT_FALSE(IsValidDrive("C:\\\\out\\a.xml"));
    // Without a drive and its root the path names no drive, whatever letter it starts with.
    EXPECT_FALSE(IsValidDrive("c.xml"));
    EXPECT_FALSE(IsValidDrive("C:a.xml"));
    EXPECT_FALSE(IsValidDrive("C:"));
}

TEST_F(DriveTest, ALetterWithoutRootDirectoryIsAccepted)
{
    MappedDrive none('q', "", 0);
    if (!none.Ready()) GTEST_SKIP() << "drive Q: cannot be removed from the Wine prefix: " << none.Problem();
    ASSERT_EQ(GetDriveTypeW(L"Q:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
    EXPECT_TRUE(IsValidDrive("Q:\\out\\a.xml"));
    EXPECT_FALSE(IsValidDrive("quarter.xml")) << "no drive: the letter it starts with is no drive";
}

TEST_F(DriveTest, ACdRomDriveIsRefused)
{
    const std::string target = UnixPathOf(temp.Path());
    ASSERT_FALSE(target.empty());
    MappedDrive cdrom('r', target, DRIVE_CDROM);
    if (!cdrom.Ready()) GTEST_SKIP() << "no CD-ROM drive can be made in the Wine prefix: " << cdrom.Problem();
    ASSERT_EQ(GetDriveTypeW(L"R:\\"), static_cast<UINT>(DRIVE_CDROM));
    EXPECT_FALSE(IsValidDrive("R:\\a.xml"));
    EXPECT_FALSE(IsUsableDriveLetter('r', 6));
}

TEST_F(DriveTest, ANetworkShareMustBeReadableAndWritable)
{
    const std::string target = UnixPathOf(temp.Path());
    ASSERT_FALSE(target.empty());
    MappedShare share("bridgesrv", "books", target);
    if (!share.Ready()) GTEST_SKIP() << "no network share can be made in the Wine prefix";
    EXPECT_TRUE(IsValidDrive("\\\\bridgesrv\\books\\a.xml"));
    EXPECT_TRUE(IsValidDrive("\\\\bridgesrv\\books\\ソ\\a.xml"));
    EXPECT_FALSE(IsValidDrive("\\\\bridgesrv\\nothing\\a.xml"));
    EXPECT_FALSE(IsValidDrive("\\\\bridgesrv\\books"));  // no backslash after the share name
    EXPECT_FALSE(IsValidDrive("\\\\bridgesrv"));
}

class FolderTreeTest : public DriveTest {};

TEST_F(FolderTreeTest, ExistingFoldersAreFoundByTheirFolderPart)
{
    ASSERT_TRUE(CreateDirectoryW((temp / L"ソ").c_str(), nullptr));
    EXPECT_TRUE(IsExistingFolder(Path(L"ソ\\").c_str()));
    EXPECT_TRUE(IsExistingFolder(Path(L"ソ\\a.xml").c_str()));  // the file name is dropped
    EXPECT_FALSE(IsExistingFolder(Path(L"ソ\\missing\\").c_str()));
    EXPECT_FALSE(IsExistingFolder(""));
    EXPECT_FALSE(IsExistingFolder(nullptr));
}

TEST_F(FolderTreeTest, CreatesEveryMissingLevelInOrder)
{
    const std::string folder = Path(L"new1\\new2\\");
    FolderCreations created(temp.Path());
    EXPECT_TRUE(CreateFolderTree(folder.c_str()));
    EXPECT_EQ(created.Names(), (std::vector<std::wstring>{L"new1", L"new1\\new2"}));
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_TRUE(CreateFolderTree(folder.c_str()));  // all there already

    // Names ending in a second byte of 0x5C, and a folder given without its backslash.
    EXPECT_TRUE(CreateFolderTree(Path(L"ソ\\表\\a.xml").c_str()));
    EXPECT_TRUE(FolderExists(Path(L"ソ\\表")));
    EXPECT_FALSE(FolderExists(Path(L"ソ\\表\\a.xml")));
}

TEST_F(FolderTreeTest, RefusesEmptyRelativeAndOverlongFolders)
{
    EXPECT_FALSE(CreateFolderTree(""));
    EXPECT_FALSE(CreateFolderTree(nullptr));
    EXPECT_FALSE(CreateFolderTree("relative\\folder\\"));
    std::string longPath = Path();
    while (longPath.size() < 300) longPath += "abcdefghi\\";
    EXPECT_FALSE(CreateFolderTree(longPath.c_str()));
    EXPECT_FALSE(FolderExists(Path(L"abcdefghi")));
}

// A file system with room for one more folder: the second level fails for real.
TEST_F(FolderTreeTest, ASecondLevelThatCannotBeCreatedRemovesTheFirstAgain)
{
    MountedTmpfs small(UnixPathOf(temp / L"small"), 2);
    if (!small.Ready()) GTEST_SKIP() << "cannot mount a small tmpfs (needs root): roll-back on a full disk not tested";

    EXPECT_FALSE(CreateFolderTree(Path(L"small\\new1\\new2\\").c_str()));
    EXPECT_FALSE(FolderExists(Path(L"small\\new1")));
    EXPECT_TRUE(FolderExists(Path(L"small"))) << "a folder that was there before stays";
    // The room left by the roll-back is there for a single level.
    EXPECT_TRUE(CreateFolderTree(Path(L"small\\ソ\\").c_str()));
}

// A second level whose name the system refuses ('?' is not allowed in a file name).
TEST_F(FolderTreeTest, ARefusedSecondLevelNameRemovesOnlyWhatThisAttemptMade)
{
    ASSERT_TRUE(CreateDirectoryW((temp / L"keep").c_str(), nullptr));
    EXPECT_FALSE(CreateFolderTree(Path(L"keep\\ソ\\new1\\a?b\\").c_str()));
    EXPECT_FALSE(FolderExists(Path(L"keep\\ソ")));
    EXPECT_TRUE(FolderExists(Path(L"keep")));
}

TEST_F(FolderTreeTest, RemovesOnlyTheLevelsBelowTheStopFolder)
{
    ASSERT_TRUE(CreateFolderTree(Path(L"a\\B\\c\\").c_str()));
    EXPECT_TRUE(RemoveCreatedFolders(Path(L"a\\B\\c\\d\\").c_str(), Path(L"A\\").c_str()));
    EXPECT_FALSE(FolderExists(Path(L"a\\B")));
    EXPECT_TRUE(FolderExists(Path(L"a")));

    // Another root, or a stop folder that is not above the path: nothing is removed.
    ASSERT_TRUE(CreateFolderTree(Path(L"a\\x\\").c_str()));
    EXPECT_FALSE(RemoveCreatedFolders(Path(L"a\\x\\").c_str(), "Q:\\"));
    EXPECT_FALSE(RemoveCreatedFolders(Path(L"a\\x\\").c_str(), Path(L"b\\").c_str()));
    EXPECT_TRUE(FolderExists(Path(L"a\\x")));
}

}  // namespace
