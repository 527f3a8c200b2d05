#include "framework/WinApp.h"

#include "framework/CodePage.h"
#include "framework/Controls.h"
#include "framework/FileSystem.h"

namespace {

CWinApp* g_application = nullptr;

}  // namespace

std::wstring_view CommandLineArguments(std::wstring_view commandLine)
{
    size_t i = 0;
    const auto isBlank = [&](size_t at) { return commandLine[at] <= L' '; };
    if (i < commandLine.size() && commandLine[i] == L'"') {
        ++i;
        while (i < commandLine.size() && commandLine[i] != L'"') ++i;
        if (i < commandLine.size()) ++i;  // the closing quote
    } else {
        while (i < commandLine.size() && !isBlank(i)) ++i;
    }
    while (i < commandLine.size() && isBlank(i)) ++i;
    return commandLine.substr(i);
}

CWinApp::CWinApp()
    : m_hInstance(::GetModuleHandleW(nullptr))
{
    const wchar_t* commandLine = ::GetCommandLineW();
    Cp932FromWide(CommandLineArguments(commandLine ? commandLine : L""), m_commandLine);
    m_lpCmdLine = m_commandLine.c_str();
    g_application = this;
}

CWinApp::~CWinApp()
{
    if (g_application == this) g_application = nullptr;
}

void CWinApp::BeginWaitCursor()
{
    HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    if (m_waitCursorCount++ == 0) m_cursorBeforeWait = previous;
}

void CWinApp::EndWaitCursor()
{
    if (m_waitCursorCount == 0) return;
    if (--m_waitCursorCount == 0) {
        ::SetCursor(m_cursorBeforeWait ? m_cursorBeforeWait : ::LoadCursorW(nullptr, IDC_ARROW));
        m_cursorBeforeWait = nullptr;
    }
}

void CWinApp::RestoreWaitCursor()
{
    if (m_waitCursorCount > 0) ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
}

CWinApp* AfxGetApp()
{
    return g_application;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_application ? g_application->m_hInstance : ::GetModuleHandleW(nullptr);
}

CString AfxLoadString(UINT id)
{
    // With a zero buffer size LoadStringW hands out a pointer to the resource text itself.
    const wchar_t* resource = nullptr;
    const int length = ::LoadStringW(AfxGetInstanceHandle(), id, reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || !resource) return CString();

    std::string bytes;
    Cp932FromWide(std::wstring_view(resource, static_cast<size_t>(length)), bytes);
    return CString(bytes.data(), static_cast<int>(bytes.size()));
}

const char* AfxGetAppName()
{
    static const std::string name = [] {
        const CString path = GetModulePath();
        const CString folder = FolderOfPath(path);
        std::string file = path.Bytes().substr(static_cast<size_t>(folder.GetLength()));
        if (const size_t dot = file.rfind('.'); dot != std::string::npos && dot > 0) file.resize(dot);
        return file;
    }();
    return name.c_str();
}

namespace {

// With no main window the loop has nothing to wait for: quit at once, after handing out
// whatever was already posted to this thread.
void RunEmptyMessageLoop()
{
    ::PostQuitMessage(0);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

}  // namespace

int AfxWinMain(HINSTANCE instance)
{
    AfxInitCommonControls();
    CWinApp* application = AfxGetApp();
    if (!application) return 0;
    application->m_hInstance = instance;

    try {
        if (application->InitInstance()) RunEmptyMessageLoop();
    } catch (...) {
        // Nothing sensible can be shown here; the application still gets its ExitInstance.
    }
    try {
        application->ExitInstance();
    } catch (...) {
    }
    return 0;
}
