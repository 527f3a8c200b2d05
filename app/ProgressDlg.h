#pragma once
// The modeless "集計中" window shown while the run aggregates and writes the file.

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

    CProgressCtrl m_barMain;
    CProgressCtrl m_barTick;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
