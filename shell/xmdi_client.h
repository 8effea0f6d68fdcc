#pragma once
// XMdiClient ("MDIClient"): the main frame's multiple-document client, a window that holds the
// windows of child frames. The latest one created is the process's client until it goes.
#include "ui/xwnd.h"

class XMdiClient : public XWnd {
public:
    XMdiClient();
    ORVO_KEY(L"MDIClient")

    int CreateInstance() override;
    // The live client, or null.
    static XMdiClient* Current();

protected:
    ~XMdiClient() override = default;
    void Teardown() override;
};
