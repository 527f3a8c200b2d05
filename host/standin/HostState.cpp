#include "host/standin/HostState.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "framework/CodePage.h"
#include "framework/FileSystem.h"
#include "framework/MessageBox.h"
#include "framework/TestSeams.h"
#include "host/standin/Cp932Text.h"

namespace standin {
namespace {

struct LoadedData {
    bool attempted = false;
    std::unique_ptr<HostData> data;   // null when refused
    std::string logPath;              // BRIDGE_HOST_LOG as it was when the data was loaded
};

std::string LogPathFromEnvironment()
{
    return std::string(static_cast<const char*>(GetEnvironmentText("BRIDGE_HOST_LOG")));
}

LoadedData& Loaded()
{
    static LoadedData loaded;
    return loaded;
}

CString DataFolder()
{
    CString folder = GetEnvironmentText("BRIDGE_HOST_DATA");
    if (folder.IsEmpty()) {
        folder = GetModuleFolder();
        folder += "hostdata";
    }
    return folder;
}

// An installed host has its folders; the stand-in makes its own on first use, one level at a time.
void CreateFolder(const std::string& folder)
{
    if (folder.empty()) return;
    const std::wstring wide = WideFromCp932(folder);
    for (std::size_t pos = wide.find(L'\\'); pos != std::wstring::npos; pos = wide.find(L'\\', pos + 1)) {
        if (pos == 0 || wide[pos - 1] == L':' || wide[pos - 1] == L'\\') continue;   // root or UNC start
        ::CreateDirectoryW(wide.substr(0, pos).c_str(), nullptr);
    }
}

// [timing] may slow the program's own file layer too, so that a run shows how it behaves
// while a file is flushed to a slow share.
void SlowFileLayer(const HostTiming& timing)
{
    const auto commit = timing.delayMsByCall.find("CReplacementFile::Commit");
    if (commit != timing.delayMsByCall.end()) SetReplacementCommitDelay(static_cast<DWORD>(commit->second));
}

void Serve(LoadedData& loaded, std::unique_ptr<HostData> data)
{
    for (const std::string& folder : data->appFolders) CreateFolder(folder);
    SlowFileLayer(data->timing);
    loaded.data = std::move(data);
}

void Load(LoadedData& loaded)
{
    loaded.attempted = true;
    loaded.logPath = LogPathFromEnvironment();
    auto data = std::make_unique<HostData>();
    const std::string refusal = LoadHostData(DataFolder(), *data);
    if (!refusal.empty()) {
        AfxShowMessageBox(nullptr, refusal.c_str(), "科目内訳書", MB_ICONEXCLAMATION | MB_OK);
        return;
    }
    Serve(loaded, std::move(data));
}

}  // namespace

const HostData* ServedData()
{
    LoadedData& loaded = Loaded();
    if (!loaded.attempted) Load(loaded);
    return loaded.data.get();
}

const HostData* ServedDataIfLoaded()
{
    return Loaded().data.get();
}

const std::string& CallLogPath()
{
    LoadedData& loaded = Loaded();
    if (!loaded.attempted) loaded.logPath = LogPathFromEnvironment();
    return loaded.logPath;
}

const CompanyBooks* CompanyFor(const char* dataId)
{
    const HostData* data = ServedData();
    if (data == nullptr) return nullptr;
    if (dataId != nullptr && dataId[0] != '\0') return data->FindByDataId(dataId);
    return data->FindByDataNo(data->selectNo2);
}

long TakeCurrentDataId(const char* dataId, char (&current)[16])
{
    if (dataId == nullptr || dataId[0] == '\0' || CompanyFor(dataId) == nullptr) return -1;
    CopyCp932Text(current, sizeof current, dataId, std::strlen(dataId));
    return 0;
}

const StDATAINFO& SelectedRecord()
{
    static const StDATAINFO kNoRecord{};
    const CompanyBooks* company = CompanyFor(nullptr);
    return company != nullptr ? company->record : kNoRecord;
}

void ServeForTests(HostData data, const std::string& logPath)
{
    LoadedData& loaded = Loaded();
    loaded = LoadedData{};
    loaded.attempted = true;
    loaded.logPath = logPath;
    Serve(loaded, std::make_unique<HostData>(std::move(data)));
}

void ResetHostForTests()
{
    Loaded() = LoadedData{};
}

}  // namespace standin
