// A run in which a host call throws: the exception ends at the top of the run, the result is
// "failed", what the run holds of the host is given back, and ExitInstance still closes the
// connection in order.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/BridgeApp.h"
#include "app/HostWindowClaim.h"
#include "host/HostLibrary.h"
#include "tests/host/ServedTestCompany.h"

namespace {

using Calls = std::vector<std::string>;

// The host window tries to claim itself when it is enabled again, which the run does right
// before it posts the result: a host that starts the next run at once must find it free.
WNDPROC g_hostProc = nullptr;
int g_claimsWhenEnabled = 0;
LRESULT CALLBACK ClaimWhenEnabled(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ENABLE && wParam == TRUE) {
        HostWindowClaim next;
        if (next.Claim(hwnd)) ++g_claimsWhenEnabled;
    }
    return CallWindowProcW(g_hostProc, hwnd, message, wParam, lParam);
}

TEST(RunFault, ThrowingHostCallFailsTheRunAndExitStillLogsOut)
{
    struct Case {
        const char* call;
        Calls undone;  // what the run gives back after the throw, before the closing calls
    };
    for (const auto& [call, undone] : {Case{"ClSetData::WalkDat", {"ClSetData::ReleaseDatCursor"}},
                                       Case{"ClSetData::ReadyDat", {"ClSetData::ReleaseDatCursor"}},
                                       Case{"ClSysUser::GetCurUserID", {}}}) {
        ServedTestCompany company;
        company.Faults(std::string("Throw = ") + call + "\n");
        CBridgeApp app;
        BOOL completed = TRUE;
        EXPECT_NO_THROW(completed = app.InitInstance()) << call;
        EXPECT_FALSE(completed) << call;
        EXPECT_EQ(app.m_nResult, kRunFailed) << call;
        app.ExitInstance();

        Calls after = undone;
        after.insert(after.end(), {"ClAccConnect::LogOut", "ClAccConnect::Terminate", "ClAccConnect::Release"});
        const Calls calls = company.CallNames();
        ASSERT_GT(calls.size(), after.size()) << call;
        EXPECT_EQ(calls[calls.size() - after.size() - 1], call) << "nothing of the run after the call that threw";
        EXPECT_EQ(Calls(calls.end() - after.size(), calls.end()), after) << call;
    }
}

// Closing the connection: each closing call runs whatever the one before it threw, and the host
// window is given back and told how the run ended. The run here ends before its dialog: the
// host's ExpSysLink says "cancelled".
TEST(RunFault, ThrowingClosingCallStillClosesTheRestAndTellsTheHost)
{
    const Calls closing = {"ClAccConnect::LogOut", "ClAccConnect::Terminate", "ClAccConnect::Release"};
    for (size_t thrown = 0; thrown < closing.size(); ++thrown) {
        SCOPED_TRACE(closing[thrown]);
        ServedTestCompany company;
        company.ReplaceHostLine("ExpSysLink = 0", "ExpSysLink = 1");
        const std::string ini = ReadFileBytes(company.folder.Path() + L"\\host.ini");
        company.Faults("Throw = " + closing[thrown] + "\n");
        HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                    nullptr, nullptr);
        ASSERT_NE(host, nullptr);
        g_hostProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ClaimWhenEnabled)));
        g_claimsWhenEnabled = 0;
        const std::string commandLine = std::to_string(reinterpret_cast<intptr_t>(host)) + ",32771,7,";

        CBridgeApp app;
        app.m_lpCmdLine = commandLine.c_str();
        EXPECT_FALSE(app.InitInstance());
        EXPECT_FALSE(IsWindowEnabled(host)) << "held for the run";
        EXPECT_NO_THROW(app.ExitInstance());

        EXPECT_TRUE(IsWindowEnabled(host));
        EXPECT_EQ(g_claimsWhenEnabled, 1) << "given back before told: the next run for the window may start at once";
        MSG posted{};
        ASSERT_TRUE(PeekMessageW(&posted, host, 32771, 32771, PM_REMOVE));
        EXPECT_EQ(posted.wParam, 7u);
        EXPECT_EQ(posted.lParam, kRunCancelled);
        const Calls calls = company.CallNames();
        ASSERT_GE(calls.size(), closing.size());
        EXPECT_EQ(Calls(calls.end() - closing.size(), calls.end()), closing);
        DestroyWindow(host);
        company.folder.Write(L"host.ini", ini);
        company.Serve();
        ClAccConnect::Inst()->Release();  // a Release that threw left the connection as it was
    }
}

}  // namespace
