// CFile and the file-system wrappers, on real files in a fresh folder per test, with
// Japanese names whose second bytes are backslashes.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "framework/CodePage.h"
#include "framework/File.h"
#include "framework/FileSystem.h"

namespace {

std::string ReadAll(const std::string& path)
{
    CFile file;
    EXPECT_TRUE(file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary));
    std::string content(static_cast<size_t>(file.GetLength()), '\0');
    EXPECT_EQ(file.Read(content.data(), static_cast<UINT>(content.size())), content.size());
    char more;
    EXPECT_EQ(file.Read(&more, 1), 0u);  // at the end
    return content;
}

}  // namespace

TEST(File, CreatesWritesAndReadsBackBytes)
{
    TempFolder folder;
    const std::string path = Cp932Path(folder, "ソ表十能.xml");
    {
        CFile file;
        CFileException error;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite, &error));
        EXPECT_EQ(error.m_lOsError, static_cast<DWORD>(NO_ERROR));
        file.Write("<?xml?>\r\n", 9);
        file.Write("科目\r\n", 6);
        file.Write(nullptr, 0);
        EXPECT_EQ(file.GetLength(), 15u);
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
    file.Write("0123456789", 10);
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    file.Close();  // closing twice is harmless

    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite));
    EXPECT_EQ(file.GetLength(), 10u);
    file.Close();

    ASSERT_TRUE(file.Open(path.c_str(), 0x1001));  // create and write, as the XML writer asks
    EXPECT_EQ(file.GetLength(), 0u);
    file.Close();
}

TEST(File, FailuresAreResultsOnOpenAndExceptionsAfterwards)
{
    TempFolder folder;
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(Cp932Path(folder, "missing\\out.xml").c_str(), CFile::modeCreate | CFile::modeWrite, &error));
    EXPECT_EQ(error.m_lOsError, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(file.IsOpen());

    EXPECT_FALSE(file.Open(Cp932Path(folder, "none.inf").c_str(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_lOsError, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(file.Open(nullptr, CFile::modeRead));
    EXPECT_FALSE(file.Open("", CFile::modeRead));

    EXPECT_THROW(file.Write("x", 1), CFileException);
    EXPECT_THROW(file.Write("x", 0), CFileException);
    char buffer[4];
    EXPECT_THROW(file.Read(buffer, sizeof buffer), CFileException);
    EXPECT_THROW(file.GetLength(), CFileException);

    // Reading a file opened for writing only fails in the system: that failure is thrown.
    ASSERT_TRUE(file.Open(Cp932Path(folder, "w.txt").c_str(), CFile::modeCreate | CFile::modeWrite));
    try {
        file.Read(buffer, sizeof buffer);
        ADD_FAILURE() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_lOsError, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
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
    CFileException error;
    EXPECT_FALSE(reader.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone, &error));
    EXPECT_EQ(error.m_lOsError, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}

TEST(File, Status)
{
    TempFolder folder;
    const std::string path = Cp932Path(folder, "表.xml");
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    file.Write("abc", 3);
    file.Close();

    CFileStatus status{};
    ASSERT_TRUE(CFile::GetStatus(path.c_str(), status));
    EXPECT_EQ(status.m_size, 3u);
    EXPECT_FALSE(status.m_attribute & FILE_ATTRIBUTE_DIRECTORY);
    ASSERT_TRUE(CFile::GetStatus(Cp932Path(folder).c_str(), status));
    EXPECT_TRUE(status.m_attribute & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(CFile::GetStatus(Cp932Path(folder, "*.xml").c_str(), status));
    EXPECT_FALSE(CFile::GetStatus(nullptr, status));
    EXPECT_FALSE(CFile::GetStatus(Cp932Path(folder, "無い.xml").c_str(), status));
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
