#pragma once
// XDataControl ("DataControl"): the lazy-processing settings the communication back end reads
// to decide how received data is processed, the base of data requests and data sequences.
// Alone in markup it is a container whose settings the data controls below it inherit.
#include "core/xdo.h"
#include "data/tr.h"

enum : int { XDO_STYLE_DATACONTROL = 0x1000000 };

class XDataControl : public XDO {
    ORVO_DISPATCH_MAP()

public:
    XDataControl();
    ORVO_KEY(L"DataControl")

    int SetElement(XElement* e) override;
    int RunObjectEvent(int n) override;

    // Takes the settings of the nearest ancestor (from `start` up) that imposes them, or that
    // is lazy while this control is not; 1 when one was found.
    int InheritLazy(XDO* start);
    // With SyncTRLazy on, the transaction's (or its switch's) settings replace the own.
    void SyncTRLazy(const XTR* tr);
    void SyncSwitchLazy(const XTR::Switch* trSwitch);

    int GetLazyProc() const { return m_lazy; }
    void SetLazyProc(int lazy) { m_lazy = lazy; }
    unsigned long GetLazyTime() const { return m_lazyTime; }
    void SetLazyTime(unsigned long time) { m_lazyTime = static_cast<unsigned>(time); }
    int GetSyncTRLazy() const { return m_syncTRLazy; }
    void SetSyncTRLazy(int sync) { m_syncTRLazy = sync; }
    int GetLazyEnforce() const { return m_lazyEnforce; }
    void SetLazyEnforce(int enforce) { m_lazyEnforce = enforce; }
    unsigned long GetDataTime() const { return m_dataTime; }
    void SetDataTime(unsigned long time) { m_dataTime = static_cast<unsigned>(time); }
    void InitDataTime() { m_dataTime = 0; }

private:
    unsigned m_dataTime = 0;
    unsigned m_lazyTime = 20;
    int m_lazy = 0;
    int m_syncTRLazy = 1;
    int m_lazyEnforce = 0;
};
