// The interface-level check against the receiving program's definitions file, which the run
// looks for in the current directory.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/BridgeApp.h"
#include "tests/framework/TestSupport.h"
#include "tests/host/HostTestFolder.h"

namespace {

const char kBadSetup[] = "動作環境が不正です。\nES_APRPACKAGENAMEが正しくインストールされているか確認してください。";
const char kUpdateReceiver[] = "ご利用の連動コンポーネントは、インストールされているES_APRPACKAGENAMEでは使用できません。\n"
                               "ES_APRPACKAGENAMEの最新版を入手してインストールしてからご利用ください。";
const char kUpdateComponent[] = "ご利用の連動コンポーネントは、インストールされているES_APRPACKAGENAMEでは使用できません。\n"
                                "連動コンポーネントの最新版を入手してインストールしてからご利用ください。";

// A program folder made the current directory for the length of a test.
class CompatibilityTest : public ::testing::Test {
protected:
    CompatibilityTest()
    {
        ServeHostFolder(host.Path());
        GetCurrentDirectoryW(MAX_PATH, previous);
        SetCurrentDirectoryW(folder.Path().c_str());
    }
    ~CompatibilityTest() override { SetCurrentDirectoryW(previous); }

    void WriteDefinitions(const std::string& bytes) { WriteFileBytes(folder / L"TavrinDef.ini", bytes); }

    // The check's result, with the one message it showed (or "" when it showed none).
    int Check(std::string* shown, int showMessage = 1)
    {
        ScriptedMessageBoxes boxes;
        const int result = app.CheckCompatibility(showMessage);
        EXPECT_LE(boxes.calls.size(), 1u);
        *shown = boxes.calls.empty() ? "" : boxes.calls[0].text;
        if (!boxes.calls.empty()) {
            EXPECT_EQ(boxes.calls[0].caption, "科目内訳書");
            EXPECT_EQ(boxes.calls[0].style, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
            EXPECT_EQ(boxes.calls[0].owner, app.m_hHostWnd);
        }
        return result;
    }

    HostTestFolder host;
    TempFolder folder;
    wchar_t previous[MAX_PATH] = {};
    CBridgeApp app;
};

TEST_F(CompatibilityTest, LevelOneGoesOnSilently)
{
    std::string shown;
    for (const char* file : {"[ProgramLevel]\r\nRK13_U=1\r\n", "[programlevel]\nrk13_u = \t1abc  \n",
                             "[Other]\nRK13_U=2\n", "[ProgramLevel]\nOTHER=2\n", "", "[ProgramLevel]\nRK13_U=\"1\"\n",
                             "; definitions\r\n[Other]\r\nRK13_U=9\r\n  [ ProgramLevel ]  \r\n  RK13_U  =  1  \r\n"}) {
        WriteDefinitions(file);
        EXPECT_EQ(Check(&shown), 1) << file;
        EXPECT_EQ(shown, "") << file;
    }
}

TEST_F(CompatibilityTest, MissingFileOrEmptyLevelAsksToCheckTheInstallation)
{
    std::string shown;
    EXPECT_EQ(Check(&shown), 0);
    EXPECT_EQ(shown, kBadSetup);

    WriteDefinitions("[ProgramLevel]\nRK13_U=  \n");
    EXPECT_EQ(Check(&shown), 0);
    EXPECT_EQ(shown, kBadSetup);
}

TEST_F(CompatibilityTest, LowerLevelAsksForTheNewestReceiverAndHigherForTheNewestComponent)
{
    std::string shown;
    for (const auto& [level, message] : std::vector<std::pair<const char*, const char*>>{
             {"0", kUpdateReceiver}, {"abc", kUpdateReceiver}, {"-5", kUpdateReceiver},
             {"-99999999999999999999", kUpdateReceiver}, {"2", kUpdateComponent},
             {"99999999999999999999", kUpdateComponent},
             {"0000000000000001", kUpdateReceiver}}) {  // the 16-byte buffer holds 15 of its zeros
        WriteDefinitions(std::string("[ProgramLevel]\nRK13_U=") + level + "\n");
        EXPECT_EQ(Check(&shown), 0) << level;
        EXPECT_EQ(shown, message) << level;
    }
}

// Files the platform reads in UTF-16 or UTF-8 (by their byte-order mark) are read as it reads them.
TEST_F(CompatibilityTest, TheLevelIsReadInTheFilesOwnEncoding)
{
    std::string utf16 = "\xFF\xFE";
    for (const char c : std::string("[ProgramLevel]\r\nRK13_U=2\r\n")) utf16 += std::string{c, '\0'};
    std::string shown;
    for (const std::string& file : {utf16, std::string("\xEF\xBB\xBF[ProgramLevel]\nRK13_U=2\n")}) {
        WriteDefinitions(file);
        EXPECT_EQ(Check(&shown), 0);
        EXPECT_EQ(shown, kUpdateComponent);
    }
}

TEST_F(CompatibilityTest, MessagesGoToTheHostWindowAndNoneWhenSilent)
{
    std::string shown;
    app.m_hHostWnd = reinterpret_cast<HWND>(static_cast<intptr_t>(1312));
    WriteDefinitions("[ProgramLevel]\nRK13_U=3\n");
    EXPECT_EQ(Check(&shown), 0);  // Check compares the owner with m_hHostWnd
    EXPECT_EQ(Check(&shown, 0), 0);
    EXPECT_EQ(shown, "");
}

// "ソ" is 0x83 0x5C: its second byte is not a separator, so the file name still gets one.
TEST_F(CompatibilityTest, FolderEndingInADoubleByteCharacterWithTrailByte5CGetsItsSeparator)
{
    std::wstring soFolder = folder / L"ソ";
    ASSERT_TRUE(CreateDirectoryW(soFolder.c_str(), nullptr));
    ASSERT_TRUE(SetCurrentDirectoryW(soFolder.c_str()));
    WriteFileBytes(soFolder + L"\\TavrinDef.ini", "[ProgramLevel]\nRK13_U=2\n");
    WriteFileBytes(folder / L"\x30bdTavrinDef.ini", "[ProgramLevel]\nRK13_U=1\n");

    std::string shown;
    EXPECT_EQ(Check(&shown), 0) << "the file inside the folder was read";
    EXPECT_EQ(shown, kUpdateComponent);
}

}  // namespace
