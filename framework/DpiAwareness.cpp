#include "framework/DpiAwareness.h"

namespace {

template <typename Function>
Function User32Function(const char* name)
{
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32 != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name)))
                             : nullptr;
}

}  // namespace

DPI_AWARENESS_CONTEXT AfxGetWindowDpiAwarenessContext(HWND window)
{
    using Function = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND);
    static const Function get = User32Function<Function>("GetWindowDpiAwarenessContext");
    return get != nullptr && window != nullptr ? get(window) : nullptr;
}

DPI_AWARENESS_CONTEXT AfxSetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT context)
{
    using Function = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
    static const Function set = User32Function<Function>("SetThreadDpiAwarenessContext");
    return set != nullptr && context != nullptr ? set(context) : nullptr;
}

CDpiAwarenessScope::CDpiAwarenessScope(HWND model)
    : m_previous(AfxSetThreadDpiAwarenessContext(AfxGetWindowDpiAwarenessContext(model)))
{
}

CDpiAwarenessScope::~CDpiAwarenessScope()
{
    AfxSetThreadDpiAwarenessContext(m_previous);
}
