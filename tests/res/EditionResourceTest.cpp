// The resources inside the built editions: the shared templates, the version string, each
// edition's version block and the manifest. The executables are opened as images, never run.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/CodePage.h"
#include "res/Edition.h"
#include "res/Version.h"
#include "res/resource.h"
#include "tests/support/TestFiles.h"

namespace {

// A built executable mapped for reading its resources only.
class ResourceImage {
public:
    explicit ResourceImage(const std::wstring& path)
        : module_(LoadLibraryExW(path.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE))
    {
    }
    ~ResourceImage()
    {
        if (module_ != nullptr)
            FreeLibrary(module_);
    }
    ResourceImage(const ResourceImage&) = delete;
    ResourceImage& operator=(const ResourceImage&) = delete;

    HMODULE Module() const { return module_; }

private:
    HMODULE module_;
};

// The bytes of one resource; `found` tells a missing resource from an empty one.
std::string ResourceBytes(HMODULE module, int id, LPCWSTR type, bool* found = nullptr)
{
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    HGLOBAL handle = info != nullptr ? LoadResource(module, info) : nullptr;
    const void* data = handle != nullptr ? LockResource(handle) : nullptr;
    if (found != nullptr)
        *found = data != nullptr;
    if (data == nullptr)
        return {};
    return std::string(static_cast<const char*>(data), SizeofResource(module, info));
}

std::string VersionString(HMODULE module)
{
    wchar_t text[64] = {};
    LoadStringW(module, IDS_PROGRAM_VERSION, text, 64);
    std::string version;
    Cp932FromWide(text, version);
    return version;
}

// One value of the Japanese/Unicode string table of a version block, as CP932 text.
std::string VersionValue(std::vector<char>& block, const wchar_t* name)
{
    const std::wstring query = std::wstring(L"\\StringFileInfo\\041104b0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || length == 0)
        return "<missing>";
    std::string text;
    Cp932FromWide(static_cast<const wchar_t*>(value), text);
    return text;
}

// The manifest without the line that switches the process code page.
std::string WithoutActiveCodePage(const std::string& manifest)
{
    const size_t at = manifest.find("<activeCodePage");
    if (at == std::string::npos)
        return manifest;
    const size_t lineStart = manifest.rfind('\n', at) + 1;
    const size_t lineEnd = manifest.find('\n', at);
    if (lineEnd == std::string::npos)
        return manifest.substr(0, lineStart);
    return manifest.substr(0, lineStart) + manifest.substr(lineEnd + 1);
}

struct Edition {
    const wchar_t* file;
    const char* originalName;
    const char* productName;
};

const Edition kEditions[] = {
    {L"QuorlinA.exe", "QuorlinA.exe", "Ledgora１７"},
    {L"QuorlinB.exe", "QuorlinB.exe", "Ledgora１７ Vantel"},
    {L"QuorlinC.exe", "QuorlinC.exe", "Ledgora１７ Zephrin"},
    {L"QuorlinA-utf8.exe", "QuorlinA.exe", "Ledgora１７"},
};

// The version's four numbers, as the version block holds them.
const WORD kFileVersion[4] = {BRIDGE_FILE_VERSION};

std::wstring BuiltProgram(const wchar_t* file)
{
    return TestEnvironmentFolder(L"BRIDGE_BUILD_DIR") + L"\\bin\\" + file;
}

class EditionResources : public testing::TestWithParam<Edition> {
protected:
    void SetUp() override
    {
        const std::wstring path = BuiltProgram(GetParam().file);
        ASSERT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << "edition not built: " << Utf8FromWide(path);
        image_ = std::make_unique<ResourceImage>(path);
        ASSERT_NE(image_->Module(), nullptr) << "cannot open " << Utf8FromWide(path);
    }

    HMODULE Module() const { return image_->Module(); }

private:
    std::unique_ptr<ResourceImage> image_;
};

TEST_P(EditionResources, CarryTheTemplatesThisProgramTests)
{
    // The templates the dialog tests create come from this test program; each edition must
    // hold the very same bytes.
    const HMODULE tested = GetModuleHandleW(nullptr);
    for (int id : {IDD_CONDITION, IDD_PROGRESS}) {
        bool found = false;
        const std::string shipped = ResourceBytes(Module(), id, RT_DIALOG, &found);
        EXPECT_TRUE(found) << "no dialog " << id;
        EXPECT_EQ(shipped, ResourceBytes(tested, id, RT_DIALOG)) << "dialog " << id;
    }
    EXPECT_EQ(VersionString(Module()), BRIDGE_VERSION_TEXT);
}

TEST_P(EditionResources, VersionBlockNamesTheEdition)
{
    bool found = false;
    const std::string bytes = ResourceBytes(Module(), 1, RT_VERSION, &found);
    ASSERT_TRUE(found);
    std::vector<char> block(bytes.begin(), bytes.end());

    EXPECT_EQ(VersionValue(block, L"ProductName"), GetParam().productName);
    EXPECT_EQ(VersionValue(block, L"OriginalFilename"), GetParam().originalName);
    EXPECT_EQ(VersionValue(block, L"FileVersion"), BRIDGE_FILE_VERSION_TEXT);
    EXPECT_EQ(VersionValue(block, L"ProductVersion"), BRIDGE_FILE_VERSION_TEXT);
    const std::string description = VersionValue(block, L"FileDescription");
    EXPECT_EQ(description.rfind("科目内訳書 連動コンポーネント", 0), 0u) << description;
    EXPECT_NE(description.find(GetParam().productName), std::string::npos) << description;

    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &length));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(kFileVersion[1], kFileVersion[0]));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(kFileVersion[3], kFileVersion[2]));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(kFileVersion[1], kFileVersion[0]));

    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_GE(length, sizeof(DWORD));
    const auto* translation = static_cast<const WORD*>(value);
    EXPECT_EQ(translation[0], 0x0411);
    EXPECT_EQ(translation[1], 1200);
}

TEST_P(EditionResources, ManifestAsksForVisualStylesAndPerMonitorDpi)
{
    bool found = false;
    const std::string manifest =
        ResourceBytes(Module(), 1, RT_MANIFEST, &found);  // the process manifest
    ASSERT_TRUE(found);
    for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                             ">PerMonitorV2,PerMonitor</dpiAwareness>", ">true/pm</dpiAware>",
                             "level=\"asInvoker\"", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    // The manifest names the program by the version the version block holds.
    EXPECT_NE(manifest.find("name=\"Quorlin.StatementBridge\" version=\"" BRIDGE_FILE_VERSION_TEXT "\""),
              std::string::npos);
}

// The machine a program image is built for, from its PE header (0 when it has none).
WORD ImageMachine(const std::string& image)
{
    IMAGE_DOS_HEADER dos = {};
    if (image.size() < sizeof(dos)) return 0;
    std::memcpy(&dos, image.data(), sizeof(dos));
    const size_t at = static_cast<size_t>(static_cast<DWORD>(dos.e_lfanew));
    IMAGE_FILE_HEADER file = {};
    if (dos.e_magic != IMAGE_DOS_SIGNATURE || at > image.size() || image.size() - at < 4 + sizeof(file) ||
        image.compare(at, 4, std::string("PE\0\0", 4)) != 0)
        return 0;
    std::memcpy(&file, image.data() + at + 4, sizeof(file));
    return file.Machine;
}

TEST_P(EditionResources, AreBuiltForTheArchitectureOfTheTests)
{
    // A site installs the edition whose architecture matches the host product's modules; the
    // tests of a build check that build's code, so every edition matches the test programs.
    const WORD expected = sizeof(void*) == 4 ? IMAGE_FILE_MACHINE_I386 : IMAGE_FILE_MACHINE_AMD64;
    // This program's own headers, as loaded (their first page is always mapped).
    const std::string self(reinterpret_cast<const char*>(GetModuleHandleW(nullptr)), 4096);
    EXPECT_EQ(ImageMachine(self), expected);
    EXPECT_EQ(ImageMachine(ReadFileBytes(BuiltProgram(GetParam().file))), expected);

    // Windows refuses to start a program whose manifest names another processor architecture.
    const std::string manifest = ResourceBytes(Module(), 1, RT_MANIFEST);
    const size_t identity = manifest.find("<assemblyIdentity");
    ASSERT_NE(identity, std::string::npos);
    const std::string own = manifest.substr(identity, manifest.find('>', identity) - identity);
    const std::string architecture = sizeof(void*) == 4 ? "x86" : "amd64";
    EXPECT_TRUE(own.find("processorArchitecture=\"*\"") != std::string::npos ||
                own.find("processorArchitecture=\"" + architecture + "\"") != std::string::npos)
        << own;
}

INSTANTIATE_TEST_SUITE_P(Built, EditionResources, testing::ValuesIn(kEditions),
                         [](const testing::TestParamInfo<Edition>& info) {
                             return Utf8FromWide(info.param.file).substr(0, 8) +
                                    (info.index == 3 ? "_utf8" : "");
                         });

TEST(EditionManifest, OnlyTheTestCopySwitchesTheProcessToUtf8)
{
    const std::wstring shippedPath = BuiltProgram(L"QuorlinA.exe");
    const std::wstring testCopyPath = BuiltProgram(L"QuorlinA-utf8.exe");

    for (const wchar_t* file : {L"QuorlinA.exe", L"QuorlinB.exe", L"QuorlinC.exe"}) {
        ResourceImage image(BuiltProgram(file));
        ASSERT_NE(image.Module(), nullptr) << "edition not built: " << Utf8FromWide(file);
        EXPECT_EQ(ResourceBytes(image.Module(), 1, RT_MANIFEST).find("activeCodePage"),
                  std::string::npos)
            << Utf8FromWide(file);
    }

    ResourceImage shipped(shippedPath);
    ResourceImage testCopy(testCopyPath);
    ASSERT_NE(shipped.Module(), nullptr) << "edition not built: " << Utf8FromWide(shippedPath);
    ASSERT_NE(testCopy.Module(), nullptr) << "edition not built: " << Utf8FromWide(testCopyPath);
    const std::string shippedManifest = ResourceBytes(shipped.Module(), 1, RT_MANIFEST);
    const std::string testManifest = ResourceBytes(testCopy.Module(), 1, RT_MANIFEST);
    EXPECT_NE(testManifest.find(">UTF-8</activeCodePage>"), std::string::npos);
    // Apart from that one setting, the test copy runs under the shipped manifest.
    EXPECT_EQ(WithoutActiveCodePage(testManifest), shippedManifest);
}

// The template tests create the real dialogs in this test program: what they see holds for
// the editions only when this program runs under the very manifest the editions ship.
TEST(EditionManifest, TemplateTestsRunUnderTheShippedManifest)
{
    ResourceImage shipped(BuiltProgram(L"QuorlinA.exe"));
    ASSERT_NE(shipped.Module(), nullptr) << "QuorlinA not built";
    bool found = false;
    const std::string shippedManifest = ResourceBytes(shipped.Module(), 1, RT_MANIFEST, &found);
    ASSERT_TRUE(found);
    EXPECT_EQ(ResourceBytes(GetModuleHandleW(nullptr), 1, RT_MANIFEST), shippedManifest);
}

// The version is written in three forms in one file: they must name the same version, the
// program's own one with two digits per part ("17.00.00").
TEST(ProgramVersion, EveryFormNamesTheSameVersion)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02u.%02u.%02u", kFileVersion[0], kFileVersion[1], kFileVersion[2]);
    EXPECT_STREQ(BRIDGE_VERSION_TEXT, text);
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", kFileVersion[0], kFileVersion[1], kFileVersion[2],
                  kFileVersion[3]);
    EXPECT_STREQ(BRIDGE_FILE_VERSION_TEXT, text);
}

TEST(EditionName, IsDoubleByteTextMatchingTheVersionBlock)
{
    // This program links edition A's constants; the name is written into the XML file in
    // code page 932, where the full-width digits are double-byte characters.
    const std::string name = kEdition.editionName;
    ASSERT_GT(name.size(), 7u);
    EXPECT_TRUE(IsCp932LeadByte(static_cast<unsigned char>(name[7])));
    EXPECT_EQ(name.size(), 11u);

    const std::wstring path = BuiltProgram(L"QuorlinA.exe");
    ResourceImage image(path);
    ASSERT_NE(image.Module(), nullptr) << "QuorlinA not built";
    const std::string bytes = ResourceBytes(image.Module(), 1, RT_VERSION);
    std::vector<char> block(bytes.begin(), bytes.end());
    EXPECT_EQ(VersionValue(block, L"ProductName"), name);
}

}  // namespace
