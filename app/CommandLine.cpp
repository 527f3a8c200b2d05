#include "app/BridgeApp.h"

#include <climits>
#include <cstdlib>
#include <string>

#include "framework/MessageBox.h"
#include "framework/Wnd.h"
#include "res/Caption.h"

// The host starts the program with "window,message,function id,output path". The whole line
// is read, however long: a path cut to fit a buffer would send the statement to a file the
// host never named, so a path that does not fit the output path ends the run instead.

namespace {

const char kPathTooLongMessage[] = "出力先のパスが長すぎます。\n\nアプリケーションを終了します。";

// The longest output path, in bytes, that the condition dialog and the report accept.
const int kMaxOutputPathBytes = 255;

// A number field as atol reads it: blanks, a sign, the leading digits; 0 when it does not
// begin with a number. A value beyond the range of long is held at LONG_MIN or LONG_MAX
// (where atol's behaviour would be undefined).
long LeadingNumber(const std::string& field)
{
    return std::strtol(field.c_str(), nullptr, 10);
}

// The function id as atoi reads it (held at the int range), stored in 16 bits: the value
// wraps modulo 65536, so 65537 gives 1 and 32768 gives -32768.
int16_t FunctionIdOf(const std::string& field)
{
    long value = LeadingNumber(field);
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    return static_cast<int16_t>(static_cast<int>(value));
}

}  // namespace

// Each field is stored as soon as it is read, so an incomplete line leaves the fields before
// its missing comma in place. A comma cannot be the second byte of a double-byte character,
// so the fields are found byte by byte; the path after the third comma is taken whole, with
// any commas of its own.
int CBridgeApp::ParseCommandLine(const char* text)
{
    if (text == nullptr || *text == '\0') return 0;
    const std::string line(text);

    const size_t first = line.find(',');
    if (first == std::string::npos) return 0;
    m_hHostWnd = reinterpret_cast<HWND>(static_cast<intptr_t>(LeadingNumber(line.substr(0, first))));

    const size_t second = line.find(',', first + 1);
    if (second == std::string::npos) return 0;
    m_nNotifyMsg = static_cast<uint32_t>(LeadingNumber(line.substr(first + 1, second - first - 1)));

    const size_t third = line.find(',', second + 1);
    if (third == std::string::npos) return 0;
    m_nFunctionId = FunctionIdOf(line.substr(second + 1, third - second - 1));

    if (third + 1 < line.size()) m_strHostPath = line.c_str() + third + 1;
    return 1;
}

// The host's output path must fit the output path whole; when it does not, the user is told
// and the run ends before anything is read or written.
BOOL CBridgeApp::HostPathFits()
{
    if (m_strHostPath.GetLength() <= kMaxOutputPathBytes) return TRUE;
    HWND owner = m_pHostWnd != nullptr ? m_pHostWnd->GetSafeHwnd() : nullptr;  // a window that exists
    AfxShowMessageBox(owner, kPathTooLongMessage, kMessageCaption, MB_ICONEXCLAMATION | MB_OK);
    return FALSE;
}
