// The picture step: the program's windows saved for the docs, only under tools/screenshot.
#include "tests/e2e/Picture.h"
#include "tests/e2e/ScenarioRun.h"
#include "tests/e2e/WindowDriver.h"

namespace {

const DWORD kPaintSettleMs = 700;
const int kPictureMargin = 12;

// A window's rectangle in the screen's pixels: read in the window's own DPI awareness, then
// scaled as the system scales that window (a window that is not DPI aware, as the host's, is
// drawn larger than its own coordinates say).
RECT ScreenPixelsOf(HWND window)
{
    const DPI_AWARENESS_CONTEXT previous = SetThreadDpiAwarenessContext(GetWindowDpiAwarenessContext(window));
    RECT rect = {};
    GetWindowRect(window, &rect);
    if (previous != nullptr) SetThreadDpiAwarenessContext(previous);
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    for (POINT& corner : corners) LogicalToPhysicalPointForPerMonitorDPI(window, &corner);
    return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

}  // namespace

// Only when BRIDGE_PICTURE_DIR names a folder (tools/screenshot): the program's windows (and
// the host window, when the host started the run) with a margin, saved as NAME plus
// BRIDGE_PICTURE_SUFFIX ".bmp" there.
std::wstring ScenarioRun::Picture(const std::wstring& name)
{
    wchar_t folder[MAX_PATH] = {}, suffix[64] = {};
    if (GetEnvironmentVariableW(L"BRIDGE_PICTURE_DIR", folder, MAX_PATH) == 0) return L"";
    GetEnvironmentVariableW(L"BRIDGE_PICTURE_SUFFIX", suffix, 64);
    PumpMessagesFor(kPaintSettleMs);  // let the program finish painting
    const std::wstring path = std::wstring(folder) + L"\\" + name + suffix + L".bmp";
    // Measured and copied in the screen's own pixels: to a player that is not DPI aware, the
    // screen is scaled down under display scaling while its pixels are not.
    const DPI_AWARENESS_CONTEXT previous = SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    const RECT area = PictureArea();
    const bool saved = !IsRectEmpty(&area) && SaveScreenArea(area, path);
    if (previous != nullptr) SetThreadDpiAwarenessContext(previous);
    if (IsRectEmpty(&area)) return L"the program shows no window";
    return saved ? L"" : L"cannot save " + path;
}

// The program's windows (and the host's, in a run it started) and a margin, within the screen.
RECT ScenarioRun::PictureArea() const
{
    RECT area = {};
    if (StartedByHost()) area = ScreenPixelsOf(host_.Handle());
    for (HWND dialog : VisibleDialogs(process_.Id())) {
        const RECT window = ScreenPixelsOf(dialog);
        UnionRect(&area, &area, &window);
    }
    if (IsRectEmpty(&area)) return area;
    InflateRect(&area, kPictureMargin, kPictureMargin);
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&area, &area, &screen);
    return area;
}
