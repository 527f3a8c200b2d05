// The connection to the host: its results come from [connection] in host.ini.

#include <cstdio>
#include <string>

#include "framework/CodePage.h"
#include "framework/MessageBox.h"
#include "host/HostLibrary.h"
#include "host/standin/CallLog.h"
#include "host/standin/HostState.h"

using standin::CallLogLine;

namespace {

constexpr long kNotConnected = -1;

// Whether Initiate connected; the connection is a singleton, so its state is one flag here.
bool g_connected = false;
const char kPackageToken[] = "ES_APRPACKAGENAME";

// Puts the receiving program's name in place of every token, scanning whole characters so
// that the trail byte of a double-byte character never starts a match.
std::string WithPackageName(const char* text, const std::string& packageName)
{
    const std::string source = text != nullptr ? text : "";
    if (packageName.empty()) return source;
    const std::size_t tokenLength = sizeof kPackageToken - 1;
    std::string shown;
    for (std::size_t pos = 0; pos < source.size();) {
        if (source.compare(pos, tokenLength, kPackageToken) == 0) {
            shown += packageName;
            pos += tokenLength;
            continue;
        }
        const std::size_t length = Cp932CharLength(source, pos);
        shown.append(source, pos, length);
        pos += length;
    }
    return shown;
}

std::string HandleText(const void* handle)
{
    return std::to_string(reinterpret_cast<uintptr_t>(handle));
}

}  // namespace

ClAccConnect* ClAccConnect::Inst()
{
    static ClAccConnect connection;
    return &connection;
}

long ClAccConnect::SetAppType(long appType)
{
    CallLogLine("ClAccConnect::SetAppType").Arg(appType).Write();
    return 0;
}

long ClAccConnect::SetUseDataType(long dataType)
{
    CallLogLine("ClAccConnect::SetUseDataType").Arg(dataType).Write();
    return 0;
}

long ClAccConnect::Initiate()
{
    const standin::HostData* data = standin::ServedData();
    const long result = data != nullptr ? data->initiateResult : kNotConnected;
    g_connected = result == 0;
    CallLogLine("ClAccConnect::Initiate")
        .Named("caption", m_pszCaption)
        .Named("owner", HandleText(m_hOwnerWnd).c_str())
        .Result(result)
        .Write();
    return result;
}

long ClAccConnect::ExpSysLink()
{
    const standin::HostData* data = standin::ServedData();
    const long result = (data != nullptr && g_connected) ? data->expSysLinkResult : kNotConnected;
    CallLogLine("ClAccConnect::ExpSysLink").Result(result).Write();
    return result;
}

long ClAccConnect::DispMsg(HWND owner, const char* text, const char* caption, UINT style)
{
    const standin::HostData* data = standin::ServedData();
    const std::string shown = WithPackageName(text, data != nullptr ? data->receivingProgram : "");
    char styleText[16];
    std::snprintf(styleText, sizeof styleText, "0x%X", style);
    CallLogLine("ClAccConnect::DispMsg")
        .Named("owner", HandleText(owner).c_str())
        .Named("style", styleText)
        .Named("caption", caption)
        .Named("text", shown.c_str())
        .Write();
    AfxShowMessageBox(owner, shown.c_str(), caption != nullptr ? caption : "", style);
    return 0;
}

long ClAccConnect::LogOut()
{
    CallLogLine("ClAccConnect::LogOut").Write();
    return 0;
}

long ClAccConnect::Terminate()
{
    CallLogLine("ClAccConnect::Terminate").Write();
    return 0;
}

// The connection is over: the next run of the sequence starts from scratch.
long ClAccConnect::Release()
{
    CallLogLine("ClAccConnect::Release").Write();
    m_pszCaption = nullptr;
    m_hOwnerWnd = nullptr;
    g_connected = false;
    return 0;
}
