// CReplacementFile on real files: the target changes only on Commit, and after any failure
// the fresh file is gone and the target is as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "framework/ReplacementFile.h"

namespace {

std::vector<std::wstring> NamesIn(const TempFolder& folder, const std::wstring& sub = L"")
{
    return FolderNames(sub.empty() ? folder.Path() : folder / sub);
}

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

const std::string kOld = "the file the user agreed to overwrite\r\n";

TEST(ReplacementFile, FreshFileBecomesTheTargetOnCommit)
{
    TempFolder folder;
    CReplacementFile file;
    ASSERT_TRUE(file.Open(Cp932Path(folder, "statement.xml").c_str()));
    EXPECT_TRUE(file.IsOpen());
    const std::string text = ManyLines();
    WriteInLines(file, text);
    file.Write(nullptr, 0);
    const std::vector<std::wstring> during = NamesIn(folder);
    ASSERT_EQ(during.size(), 1u);
    EXPECT_NE(during[0], L"statement.xml") << "the target appears only on Commit";

    ASSERT_TRUE(file.Commit());
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(ReadFileBytes(folder / L"statement.xml"), text);
    EXPECT_EQ(NamesIn(folder), std::vector<std::wstring>{L"statement.xml"});
    EXPECT_FALSE(file.Commit()) << "nothing left to commit";
    EXPECT_EQ(ReadFileBytes(folder / L"statement.xml"), text);
}

TEST(ReplacementFile, TargetIsReplacedOnlyOnCommit)
{
    TempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder / L"statement.xml", kOld));
    CReplacementFile file;
    ASSERT_TRUE(file.Open(Cp932Path(folder, "statement.xml").c_str()));
    const std::string text = ManyLines();
    WriteInLines(file, text);
    EXPECT_EQ(ReadFileBytes(folder / L"statement.xml"), kOld);
    EXPECT_EQ(NamesIn(folder).size(), 2u);
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadFileBytes(folder / L"statement.xml"), text);
    EXPECT_EQ(NamesIn(folder).size(), 1u);
}

TEST(ReplacementFile, UncommittedFileIsRemoved)
{
    TempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder / L"statement.xml", kOld));
    {
        CReplacementFile file;
        ASSERT_TRUE(file.Open(Cp932Path(folder, "statement.xml").c_str()));
        WriteInLines(file, ManyLines());
    }  // destroyed without Commit
    EXPECT_EQ(NamesIn(folder), std::vector<std::wstring>{L"statement.xml"});
    EXPECT_EQ(ReadFileBytes(folder / L"statement.xml"), kOld);

    CReplacementFile file;
    ASSERT_TRUE(file.Open(Cp932Path(folder, "statement.xml").c_str()));
    file.Write("new", 3);
    file.Abandon();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_THROW(file.Write("x", 1), CFileException);
    EXPECT_FALSE(file.Commit());
    file.Abandon();  // harmless twice
    EXPECT_EQ(NamesIn(folder), std::vector<std::wstring>{L"statement.xml"});
    EXPECT_EQ(ReadFileBytes(folder / L"statement.xml"), kOld);
}

TEST(ReplacementFile, MissingFolderOrNoNameCannotBeOpened)
{
    TempFolder folder;
    CReplacementFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(Cp932Path(folder, "missing\\statement.xml").c_str(), &error));
    EXPECT_EQ(error.m_lOsError, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_THROW(file.Write("x", 1), CFileException);
    EXPECT_FALSE(file.Commit());
    EXPECT_FALSE(file.Open(nullptr, &error));
    EXPECT_EQ(error.m_lOsError, static_cast<DWORD>(ERROR_INVALID_NAME));
    EXPECT_FALSE(file.Open(""));
    EXPECT_TRUE(NamesIn(folder).empty());
}

TEST(ReplacementFile, ReadOnlyTargetRefusesAndStays)
{
    TempFolder folder;
    const std::wstring target = folder / L"statement.xml";
    ASSERT_TRUE(WriteFileBytes(target, kOld));
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    CReplacementFile file;
    ASSERT_TRUE(file.Open(Cp932Path(folder, "statement.xml").c_str()));
    file.Write("new", 3);
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(ReadFileBytes(target), kOld);
    EXPECT_EQ(NamesIn(folder), std::vector<std::wstring>{L"statement.xml"});
    EXPECT_TRUE(GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST(ReplacementFile, TargetHeldOpenWithoutDeleteSharingStays)
{
    TempFolder folder;
    const std::wstring target = folder / L"statement.xml";
    ASSERT_TRUE(WriteFileBytes(target, kOld));
    HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    CReplacementFile file;
    ASSERT_TRUE(file.Open(Cp932Path(folder, "statement.xml").c_str()));
    file.Write("new", 3);
    EXPECT_FALSE(file.Commit());
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(target), kOld);
    EXPECT_EQ(NamesIn(folder), std::vector<std::wstring>{L"statement.xml"});
}

// ソ and 表 end in 0x5C: the folder is cut at the real backslash only.
TEST(ReplacementFile, NamesWhoseSecondBytesAreBackslashes)
{
    TempFolder folder;
    ASSERT_TRUE(CreateDirectoryW((folder / L"ソ表").c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(folder / L"ソ表\\能力表.xml", kOld));
    CReplacementFile file;
    ASSERT_TRUE(file.Open(Cp932Path(folder, "ソ表\\能力表.xml").c_str()));
    file.Write("新しい", 6);
    EXPECT_EQ(NamesIn(folder, L"ソ表").size(), 2u) << "the fresh file stands beside the target";
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadFileBytes(folder / L"ソ表\\能力表.xml"), "新しい");
    EXPECT_EQ(NamesIn(folder, L"ソ表"), std::vector<std::wstring>{L"能力表.xml"});
    EXPECT_EQ(NamesIn(folder), std::vector<std::wstring>{L"ソ表"});
}

}  // namespace
