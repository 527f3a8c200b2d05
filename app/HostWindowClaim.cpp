#include "app/HostWindowClaim.h"

#include <cstdint>
#include <cstdio>

namespace {

// Session-local, and keyed by the handle's 32 significant bits, which a 32-bit and a 64-bit
// run read alike from the same command line.
const char kNameFormat[] = "Local\\StatementExportBridge.HostWindow.%08lX";

}  // namespace

bool HostWindowClaim::Claim(HWND hostWnd)
{
    char name[64];
    const auto handle = static_cast<unsigned long>(reinterpret_cast<uintptr_t>(hostWnd) & 0xFFFFFFFFu);
    std::snprintf(name, sizeof name, kNameFormat, handle);
    return m_mutex.Create(name) != CNamedMutex::kAlreadyHeld;
}
