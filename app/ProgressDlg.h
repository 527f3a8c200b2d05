#pragma once
// The modeless "集計中" window shown while the run aggregates and writes the file.
//
// Every step the callers make is counted: the caption changes at every tenth and both bars
// keep their positions. Whenever a call returns, the caption and the main bar hold exactly that
// state, so the window answers for where the steps got to whenever it is asked; the thin bar,
// which sweeps at every step to show that the work goes on, moves at every frame drawn. Drawing the
// state, and raising the window, cost far more than the work of a step, so the window draws
// at most once per display frame while it is driven, and always the last state before it
// goes (Dismiss) or a message box appears over it.
//
// The run's thread dispatches nothing while the window is up, yet it must not pass for a
// program that has stopped responding, nor keep the host waiting: at every frame it looks at
// its message queue, which answers the messages other threads (the host, the system) have sent
// and leaves every posted message, the user's clicks and keys among them, where it is. The
// input left so is thrown away before a message box appears, so that a key pressed during the
// run cannot answer the box.

#include <cstdint>

#include "aggregate/ProgressSink.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

class CProgressDlg : public CDialog, public ProgressSink {
public:
    explicit CProgressDlg(CWnd* parent = nullptr);

    void ResetProgress();
    void Advance(short from, short to) override;
    void Tick() override;
    void Dismiss();
    // The box appears over the window's last state.
    int MessageBox(const char* text, const char* caption, UINT type) override;

    // The logical state, which the controls hold whenever a call has returned (the thin bar's
    // control: whenever the window has been drawn).
    int MainPosition() const { return m_nMainPos; }
    int TickPosition() const { return m_nTickPos; }
    int64_t MainSteps() const { return m_nMainSteps; }   // every main-bar step since creation
    int64_t TickSteps() const { return m_nTickSteps; }   // every thin-bar step since creation
    int64_t Repaints() const { return m_nRepaints; }     // every time the window was drawn

    CProgressCtrl m_barMain;
    CProgressCtrl m_barTick;

    static constexpr uint64_t kFrameMs = 16;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Only the run ends the window. It has no close box, but another program may ask it to close
    // (which comes back as IDCANCEL) or post it IDOK, and a message box's loop hands those over.
    void OnOK() override {}
    void OnCancel() override {}
    // Milliseconds of a steady clock: what paces the repaints.
    virtual uint64_t FrameClockMs() const;

private:
    // What the controls were last sent, and what the window last drew.
    struct Shown {
        int64_t captions = 0;   // caption changes
        int mainPos = 0;
        int tickPos = 0;
        bool operator==(const Shown&) const = default;
    };

    static void DrawClassic(CProgressCtrl& bar);
    void StepMain();
    void Sweep();
    void ShowPercent(int value);
    Shown Current() const { return {m_nCaptions, m_nMainPos, m_nTickPos}; }
    enum class ThinBar { asDrawn, toNow };   // what SendState does with the thin bar
    void SendState(ThinBar thinBar);
    void RepaintIfDue();
    bool IsInFront() const;
    void Raise();
    void KeepInFront();
    void Repaint();
    void DrawChanges();

    int m_nMainLow = 0;      // a progress bar starts with the range 0..100
    int m_nMainHigh = 100;
    int m_nMainPos = 0;
    int m_nTickPos = 0;
    // Counted in 64 bits: six thin-bar steps a row would pass 2^31 after 358 million rows.
    int64_t m_nMainSteps = 0;
    int64_t m_nTickSteps = 0;
    int64_t m_nRepaints = 0;
    int64_t m_nCaptions = 0;
    char m_szCaption[64] = {};
    bool m_bTickRangeSent = false;
    Shown m_sent;
    Shown m_drawn;
    uint64_t m_nLastRepaintMs = 0;
};
