// CFile and the file-system wrappers, on real files in a fresh folder per test, with
// Japanese names whose second bytes are backslashes.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "framework/CodePage.h"
#include "framework/File.h"
#include "framework/FileSystem.h"

namespace {

// The whole file, read in pieces of three bytes: a read that ends part-way through the file
// must not look like its end.
std::string ReadAll(const std::string& path)
{
    CFile file;
    EXPECT_TRUE(file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary));
    std::string content;
    char piece[3];
    UINT read = 0;
    bool readable = true;
    while ((readable = file.Read(piece, sizeof piece, read)) && read > 0) content.append(piece, read);
    EXPECT_TRUE(readable) << "read to the end without a failure";
    return content;
}

ULONGLONG SizeOf(const std::string& path)
{
    CFileStatus status{};
    EXPECT_TRUE(CFile::GetStatus(path.c_str(), status));
    return status.m_size;
}

}  // namespace

TEST(File, CreatesWritesAndReadsBackBytes)
{
    TempFolder folder;
    const std::string path = Cp932Path(folder, "ソ表十能.xml");
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
        EXPECT_TRUE(file.Write("<?xml?>\r\n", 9));
        EXPECT_TRUE(file.Write("科目\r\n", 6));
        EXPECT_TRUE(file.Write(nullptr, 0));
    }  // the destructor closes
    EXPECT_EQ(ReadAll(path), "<?xml?>\r\n科目\r\n");
    // The name on disk is the Japanese name, not its bytes read in another code page.
    EXPECT_NE(GetFileAttributesW((folder / L"ソ表十能.xml").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(File, CreateTruncatesAndNoTruncateKeeps)
{
    TempFolder folder;
    const std::string path = Cp932Path(folder, "out.xml");
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    EXPECT_TRUE(file.Write("0123456789", 10));
    EXPECT_TRUE(file.Close());
    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(file.Close());  // closing twice is harmless

    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite));
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(SizeOf(path), 10u);

    ASSERT_TRUE(file.Open(path.c_str(), 0x1001));  // create and write, as the XML writer asks
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(SizeOf(path), 0u);
}

// Every failure is a result, with the reason where Windows keeps it.
TEST(File, FailuresAreResultsWithTheSystemsReason)
{
    TempFolder folder;
    CFile file;
    EXPECT_FALSE(file.Open(Cp932Path(folder, "missing\\out.xml").c_str(), CFile::modeCreate | CFile::modeWrite));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(file.IsOpen());

    EXPECT_FALSE(file.Open(Cp932Path(folder, "none.inf").c_str(), CFile::modeRead));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(file.Open(nullptr, CFile::modeRead));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
    EXPECT_FALSE(file.Open("", CFile::modeRead));

    // Nothing open: every operation fails but closing, which has nothing to do.
    EXPECT_FALSE(file.Write("x", 1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(file.Write("x", 0));
    char buffer[4];
    UINT read = 99;
    EXPECT_FALSE(file.Read(buffer, sizeof buffer, read));
    EXPECT_EQ(read, 0u);
    EXPECT_TRUE(file.Close());

    // Reading a file opened for writing only fails in the system, which says why.
    ASSERT_TRUE(file.Open(Cp932Path(folder, "w.txt").c_str(), CFile::modeCreate | CFile::modeWrite));
    EXPECT_FALSE(file.Read(buffer, sizeof buffer, read));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(file.Write(nullptr, 1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(File, SharingIsAsAsked)
{
    TempFolder folder;
    const std::string path = Cp932Path(folder, "shared.txt");
    CFile writer;
    ASSERT_TRUE(writer.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::shareDenyNone));
    CFile reader;
    EXPECT_TRUE(reader.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone));
    reader.Close();
    writer.Close();

    ASSERT_TRUE(writer.Open(path.c_str(), CFile::modeWrite | CFile::shareExclusive));
    EXPECT_FALSE(reader.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}

TEST(File, Status)
{
    TempFolder folder;
    const std::string path = Cp932Path(folder, "表.xml");
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    EXPECT_TRUE(file.Write("abc", 3));
    EXPECT_TRUE(file.Close());

    CFileStatus status{};
    ASSERT_TRUE(CFile::GetStatus(path.c_str(), status));
    EXPECT_EQ(status.m_size, 3u);
    EXPECT_FALSE(status.m_attribute & FILE_ATTRIBUTE_DIRECTORY);
    ASSERT_TRUE(CFile::GetStatus(Cp932Path(folder).c_str(), status));
    EXPECT_TRUE(status.m_attribute & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(CFile::GetStatus(Cp932Path(folder, "*.xml").c_str(), status));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
    EXPECT_FALSE(CFile::GetStatus(nullptr, status));
    EXPECT_FALSE(CFile::GetStatus(Cp932Path(folder, "無い.xml").c_str(), status));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(CFile::GetStatus(Cp932Path(folder, "無い\\表.xml").c_str(), status));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST(FileSystem, FolderOfPathCutsAfterTheLastRealBackslash)
{
    EXPECT_EQ(FolderOfPath("C:\\Tools\\QuorlinA.exe"), "C:\\Tools\\");
    // The second byte of ソ and 表 is 0x5C: not a backslash.
    EXPECT_EQ(FolderOfPath("C:\\ソ\\表"), "C:\\ソ\\");
    EXPECT_EQ(FolderOfPath("C:\\能力表"), "C:\\");
    EXPECT_EQ(FolderOfPath("ソフト表"), "ソフト表");
    EXPECT_EQ(FolderOfPath("C:\\dir\\"), "C:\\dir\\");
    EXPECT_EQ(FolderOfPath("a\\\x83"), "a\\");  // a lone lead byte at the end
    EXPECT_EQ(FolderOfPath(""), "");
    EXPECT_EQ(FolderOfPath(nullptr), "");
}

TEST(FileSystem, ModuleFolderHoldsThisProgram)
{
    const CString folder = GetModuleFolder();
    ASSERT_FALSE(folder.IsEmpty());
    EXPECT_EQ(folder.Bytes().back(), '\\');
    CFileStatus status{};
    EXPECT_TRUE(CFile::GetStatus(GetModulePath(), status));
    EXPECT_EQ(std::string(GetModulePath()).rfind(std::string(folder), 0), 0u);
}

TEST(FileSystem, CurrentFolderAndEnvironment)
{
    TempFolder folder;
    const std::string japanese = Cp932Path(folder, "十能ソ");
    ASSERT_TRUE(CreateDirectoryW(WideFromCp932(japanese).c_str(), nullptr));

    wchar_t before[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH + 1, before);
    EXPECT_TRUE(SetCurrentFolder(japanese.c_str()));
    wchar_t now[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH + 1, now);
    EXPECT_EQ(std::wstring(now), WideFromCp932(japanese));
    EXPECT_FALSE(SetCurrentFolder((japanese + "\\missing").c_str()));
    EXPECT_FALSE(SetCurrentFolder(nullptr));
    SetCurrentDirectoryW(before);

    SetEnvironmentVariableW(L"BRIDGE_FW_TEST", L"C:\\ソ表");
    EXPECT_EQ(GetEnvironmentText("BRIDGE_FW_TEST"), "C:\\ソ表");
    const std::wstring longValue(3000, L'表');
    SetEnvironmentVariableW(L"BRIDGE_FW_TEST", longValue.c_str());
    EXPECT_EQ(GetEnvironmentText("BRIDGE_FW_TEST").GetLength(), 6000);
    SetEnvironmentVariableW(L"BRIDGE_FW_TEST", nullptr);
    EXPECT_TRUE(GetEnvironmentText("BRIDGE_FW_TEST").IsEmpty());
}
