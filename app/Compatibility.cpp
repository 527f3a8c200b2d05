#include "app/BridgeApp.h"

#include <cstdlib>
#include <string>

#include "framework/CodePage.h"
#include "framework/File.h"
#include "framework/FileSystem.h"
#include "host/HostLibrary.h"
#include "res/Caption.h"

// The receiving program keeps, in its definitions file, the interface level it expects of
// each linking component; this component speaks level 1 and runs only against a receiving
// program that expects exactly that.

namespace {

const char kDefinitionsFile[] = "TavrinDef.ini";
const char kLevelSection[] = "ProgramLevel";
const char kLevelKey[] = "RK13_U";
const long kOurLevel = 1;
const size_t kLevelBufferSize = 16;

enum CompatibilityCode : int {
    kCompatible = 0,
    kNoDefinitions = -1,   // no definitions file, or an empty level
    kReceiverOlder = 1,    // the receiving program expects a lower level
    kReceiverNewer = 2,    // the receiving program expects a higher level
};

struct RefusalMessage {
    int code;
    const char* text;
};

const RefusalMessage kRefusalMessages[] = {
    {kNoDefinitions, "動作環境が不正です。\nES_APRPACKAGENAMEが正しくインストールされているか確認してください。"},
    {kReceiverOlder, "ご利用の連動コンポーネントは、インストールされているES_APRPACKAGENAMEでは使用できません。\n"
                     "ES_APRPACKAGENAMEの最新版を入手してインストールしてからご利用ください。"},
    {kReceiverNewer, "ご利用の連動コンポーネントは、インストールされているES_APRPACKAGENAMEでは使用できません。\n"
                     "連動コンポーネントの最新版を入手してインストールしてからご利用ください。"},
};

// The definitions file in the current directory, which the run has made the program's folder.
std::string DefinitionsPath()
{
    std::string path = GetCurrentFolder().Bytes();
    if (!path.empty() && !EndsWithCp932Backslash(path)) path += '\\';
    return path + kDefinitionsFile;
}

// The level is read as atoi reads it: "1abc" is 1, "abc" is 0. Beyond the range of long it
// holds at the range's end, which compares the same way.
int CodeForLevel(const char* level)
{
    if (*level == '\0') return kNoDefinitions;
    const long value = std::strtol(level, nullptr, 10);
    if (value == kOurLevel) return kCompatible;
    return value < kOurLevel ? kReceiverOlder : kReceiverNewer;
}

int ReadCompatibility()
{
    const std::string path = DefinitionsPath();
    CFileStatus status;
    if (!CFile::GetStatus(path.c_str(), status)) return kNoDefinitions;
    // The level as the platform reads it (whatever the file's encoding), into the 16 bytes it
    // is given. A missing section or key means the receiving program expects the first level.
    char level[kLevelBufferSize] = {};
    const CString text = GetProfileText(path.c_str(), kLevelSection, kLevelKey, "1", sizeof level);
    CopyCp932Text(level, sizeof level, text, static_cast<size_t>(text.GetLength()));
    return CodeForLevel(level);
}

const RefusalMessage* FindRefusal(int code)
{
    for (const RefusalMessage& message : kRefusalMessages) {
        if (message.code == code) return &message;
    }
    return nullptr;
}

}  // namespace

int CBridgeApp::CheckCompatibility(int showMessage)
{
    const RefusalMessage* refusal = FindRefusal(ReadCompatibility());
    if (refusal == nullptr) return 1;
    if (showMessage != 0) {
        ClAccConnect::Inst()->DispMsg(m_hHostWnd, refusal->text, kMessageCaption, MB_ICONEXCLAMATION | MB_OK);
    }
    return 0;
}
