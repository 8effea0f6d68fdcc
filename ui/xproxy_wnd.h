#pragma once
// XProxyWnd ("ProxyWindow"): a window host with a window of its own named "ProxyWnd", made
// like XWnd's; with "Popup" it is a popup without parent that stays hidden until shown. Its
// window's messages are offered to the parent's window host first, as if they were its own.
#include "ui/xwindow.h"

class XProxyWnd : public XWindow {
public:
    XProxyWnd();
    ORVO_KEY(L"ProxyWindow")

    // "PaintDelay" and "Popup".
    int SetElement(XElement* e) override;
    int CreateInstance() override;
    bool IsPopup() const { return m_bPopup; }
    // Hands the message to the parent's window host, addressed to that host's window with
    // the point in its client coordinates.
    int OnPreTranslateMsg(MSG* msg) override;

protected:
    ~XProxyWnd() override = default;

private:
    bool m_bPopup = false;
};
