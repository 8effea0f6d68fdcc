#include "host/back_end.h"

#include "data/contracts.h"
#include "nubra/ixo.h"
#include "platform/base/event_loop.h"
#include "platform/base/nocase.h"
#include "platform/base/text.h"

namespace kestrel {

namespace {

template <class Contract, class... A> bool CallCommMan(A... args) {
    static orvo::ContractCall<Contract> s_call;
    auto fn = s_call.Get();
    return fn && fn(args...);
}

} // namespace

bool BackEnd::Start(const std::wstring& name, std::wstring& error) {
    m_name = name;
    if (plat::EqualsNoCase(name, L"none"))
        return true;
    m_module = plat::Module::Open(L"kestrel_backend_" + name);
    if (!m_module) {
        error = L"no back end module kestrel_backend_" + name + L" (" +
                plat::FromUtf8(m_module.Error()) + L")";
        return false;
    }
    auto create = reinterpret_cast<IXO* (*)()>(m_module.Symbol("KestrelCreateBackEnd"));
    m_destroy = reinterpret_cast<void (*)(IXO*)>(m_module.Symbol("KestrelDestroyBackEnd"));
    if (!create || !m_destroy) {
        error = L"the module " + m_module.Path() + L" is not a kestrel back end";
        return false;
    }
    m_object = create();
    if (!m_object) {
        error = L"the back end " + name + L" could not be created";
        return false;
    }
    if (!CallCommMan<orvo::contract::CommManRegCommMan>(m_object)) {
        error = L"\"CommMan\" did not take the back end " + name;
        return false;
    }
    if (!CallCommMan<orvo::contract::CommManInitializeIXO>()) {
        error = L"the back end " + name + L" did not start";
        return false;
    }
    m_running = true;
    return true;
}

BackEnd::~BackEnd() {
    if (!m_object)
        return;
    CallCommMan<orvo::contract::CommManFinal>();
    m_destroy(m_object);
    // What the back end posted and the loop has not run yet holds the module's code, which
    // goes with this object: it is dropped now, while that code is still there.
    if (plat::EventLoop* loop = plat::EventLoop::Current())
        loop->DropPosted();
}

} // namespace kestrel
