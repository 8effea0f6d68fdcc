#pragma once
// XMainMan ("MainMan"): the receiving end of posted messages and events. Once initialised
// with an event loop installed, posted work is queued on that loop and delivered later on the
// same thread; without one, posting drops the work silently.
#include <functional>

#include "nubra/ixo.h"

class XMainMan : public IXO {
    ORVO_DISPATCH_MAP()

public:
    ORVO_KEY(L"MainMan")

    int InitializeIXO();
    // This service while it can deliver, else null.
    IXO* GetMainMan();
    // Queues `delivery` on the event loop; false (and nothing queued) when there is none.
    bool Post(std::function<void()> delivery);
    // Stops delivering (the host's shutdown); queued deliveries then do nothing.
    void Shutdown();

    // Command ids ("Cmd.ID(n)" actions) go to the host's main window through this handler,
    // later on the loop like any posted work.
    void SetCommandHandler(std::function<void(int)> handler) {
        m_commandHandler = std::move(handler);
    }
    int PostCommand(int id);

private:
    bool m_live = false;
    std::function<void(int)> m_commandHandler;
};
