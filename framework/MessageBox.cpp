#include "framework/MessageBox.h"

#include <utility>

#include "framework/CodePage.h"
#include "framework/TestSeams.h"
#include "framework/WinApp.h"

namespace {

std::function<int(const MessageBoxCall&)>& MessageBoxResponder()
{
    static std::function<int(const MessageBoxCall&)> responder;
    return responder;
}

}  // namespace

void SetMessageBoxResponder(std::function<int(const MessageBoxCall&)> responder)
{
    MessageBoxResponder() = std::move(responder);
}

int AfxShowMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    if (!text) text = "";
    if (!caption) caption = "";
    // A copy: the responder may replace itself while it answers.
    if (const auto responder = MessageBoxResponder()) return responder(MessageBoxCall{owner, text, caption, type});
    return ::MessageBoxW(owner, WideFromCp932(text).c_str(), WideFromCp932(caption).c_str(), type);
}

int AfxMessageBox(const char* text, UINT type)
{
    return AfxShowMessageBox(::GetActiveWindow(), text, AfxGetAppName(), type);
}
