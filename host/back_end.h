#pragma once
// The communication back end kestrel runs with: a module loaded by name, registered with
// "CommMan" and initialised; shut down and unloaded when this object goes.
#include <string>

#include "platform/base/module.h"

class IXO;

namespace kestrel {

class BackEnd {
public:
    BackEnd() = default;
    BackEnd(const BackEnd&) = delete;
    BackEnd& operator=(const BackEnd&) = delete;
    ~BackEnd();

    // Loads `kestrel_backend_<name>`, registers its object and initialises "CommMan". False
    // with the reason in `error`; "none" loads nothing and succeeds.
    bool Start(const std::wstring& name, std::wstring& error);
    const std::wstring& Name() const { return m_name; }
    bool IsRunning() const { return m_running; }

private:
    std::wstring m_name;
    plat::Module m_module;
    IXO* m_object = nullptr;
    void (*m_destroy)(IXO*) = nullptr;
    bool m_running = false;
};

} // namespace kestrel
