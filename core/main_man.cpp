#include "core/main_man.h"

#include "core/contracts.h"
#include "platform/base/event_loop.h"

namespace {
XMainMan g_mainMan;
[[maybe_unused]] const int g_registered = orvo::RegisterInstance(&g_mainMan);
} // namespace

ORVO_DISPATCH(XMainMan,
              IXO,
              ORVO_METHOD(InitializeIXO),
              ORVO_PROVIDE(orvo::contract::MainManGetMainMan, GetMainMan),
              ORVO_PROVIDE(orvo::contract::MainManPostCommand, PostCommand))

int XMainMan::InitializeIXO() {
    m_live = plat::EventLoop::Current() != nullptr;
    return m_live ? 1 : 0;
}

IXO* XMainMan::GetMainMan() {
    return m_live && plat::EventLoop::Current() ? this : nullptr;
}

bool XMainMan::Post(std::function<void()> delivery) {
    plat::EventLoop* loop = plat::EventLoop::Current();
    if (!m_live || !loop)
        return false;
    auto self = WeakRef();
    loop->Post([self, delivery = std::move(delivery)] {
        auto* man = static_cast<XMainMan*>(self.Get());
        if (man && man->m_live)
            delivery();
    });
    return true;
}

void XMainMan::Shutdown() {
    m_live = false;
}

int XMainMan::PostCommand(int id) {
    if (!m_commandHandler)
        return 0;
    auto handler = m_commandHandler;
    return Post([handler, id] { handler(id); }) ? 1 : 0;
}
