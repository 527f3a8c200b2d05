#include "framework/MessageQueue.h"

namespace {

// Input given while the run went on is thrown away at most this many messages a range at a
// time: a user who keeps moving the mouse cannot hold the run.
constexpr int kMostInputDiscarded = 4096;
// A wait looks at the queue at least this often, sent message or not.
constexpr DWORD kLookEveryMs = 100;

struct WorkOnThread {
    const std::function<bool()>* work;
    bool result = false;
    DWORD error = NO_ERROR;
};

DWORD WINAPI RunWork(void* parameter)
{
    auto& run = *static_cast<WorkOnThread*>(parameter);
    try {
        run.result = (*run.work)();
        run.error = ::GetLastError();
    } catch (...) {  // nothing is to leave the thread
        run.result = false;
        run.error = ERROR_NOT_ENOUGH_MEMORY;
    }
    return 0;
}

}  // namespace

// PM_NOYIELD, since a thread that takes no input is never idle.
void AnswerSentMessages()
{
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_NOYIELD);
}

void SleepAnsweringSentMessages(DWORD ms)
{
    const ULONGLONG end = ::GetTickCount64() + ms;
    for (ULONGLONG now = ::GetTickCount64(); now < end; now = ::GetTickCount64()) {
        const DWORD left = static_cast<DWORD>(end - now);
        ::MsgWaitForMultipleObjectsEx(0, nullptr, left < kLookEveryMs ? left : kLookEveryMs, QS_SENDMESSAGE, 0);
        AnswerSentMessages();
    }
}

bool RunAnsweringSentMessages(const std::function<bool()>& work)
{
    WorkOnThread run{&work};
    const HANDLE thread = ::CreateThread(nullptr, 0, RunWork, &run, 0, nullptr);
    if (thread == nullptr) {
        RunWork(&run);
    } else {
        for (;;) {
            const DWORD woke = ::MsgWaitForMultipleObjectsEx(1, &thread, kLookEveryMs, QS_SENDMESSAGE, 0);
            if (woke == WAIT_OBJECT_0) break;
            if (woke == WAIT_FAILED) {  // the work uses this frame: it is waited for all the same
                ::WaitForSingleObject(thread, INFINITE);
                break;
            }
            AnswerSentMessages();
        }
        ::CloseHandle(thread);
    }
    ::SetLastError(run.error);
    return run.result;
}

QueueReadyForBox::QueueReadyForBox()
{
    Remove(WM_QUIT, WM_QUIT);
    Remove(WM_KEYFIRST, WM_KEYLAST);
    Remove(WM_MOUSEFIRST, WM_MOUSELAST);
    Remove(WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK);
}

QueueReadyForBox::~QueueReadyForBox()
{
    if (quitHeld_) ::PostQuitMessage(exitCode_);
}

void QueueReadyForBox::Remove(UINT first, UINT last)
{
    MSG message;
    for (int removed = 0; removed < kMostInputDiscarded; ++removed) {
        if (!::PeekMessageW(&message, nullptr, first, last, PM_REMOVE)) return;
        if (message.message == WM_QUIT) {
            quitHeld_ = true;
            exitCode_ = static_cast<int>(message.wParam);
        }
    }
}
