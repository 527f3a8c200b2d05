#pragma once
// The modeless "集計中" window shown while the run aggregates and writes the file.
//
// Every step the callers make is counted: the caption changes at every tenth, and both bars
// keep their logical positions. Sending the positions to the controls, raising the window
// and repainting it cost far more than the work of a step, so the window does that at most
// once per display frame, and always at a caption change, at the end of every Advance and
// before Dismiss: when the run pauses, the window shows exactly where the steps got to.

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

    // The logical state, ahead of the controls between repaints.
    int MainPosition() const { return m_nMainPos; }
    int TickPosition() const { return m_nTickPos; }
    long MainSteps() const { return m_nMainSteps; }   // every main-bar step since creation
    long TickSteps() const { return m_nTickSteps; }   // every thin-bar step since creation
    long Repaints() const { return m_nRepaints; }

    CProgressCtrl m_barMain;
    CProgressCtrl m_barTick;

    static constexpr uint64_t kFrameMs = 16;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Milliseconds of a steady clock: what paces the repaints.
    virtual uint64_t FrameClockMs() const;

private:
    void StepMain();
    void ShowPercent(int value);
    void RepaintIfDue();
    bool IsInFront() const;
    void Repaint();

    int m_nMainLow = 0;      // a progress bar starts with the range 0..100
    int m_nMainHigh = 100;
    int m_nMainPos = 0;
    int m_nTickPos = 0;
    long m_nMainSteps = 0;
    long m_nTickSteps = 0;
    long m_nRepaints = 0;
    bool m_bTickRangeSent = false;
    uint64_t m_nLastRepaintMs = 0;
};
