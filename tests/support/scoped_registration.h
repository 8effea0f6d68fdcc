#pragma once
// Puts a stand-in (or nothing) under a registry name for one test and gives the name back
// to whatever instance held it before, so no test leaves the registry changed.
#include <string>

#include "nubra/ixo.h"

class ScopedRegistration {
public:
    // A null `replacement` takes the name away for the test.
    ScopedRegistration(std::wstring name, IXO* replacement)
        : m_name(std::move(name)), m_previous(IXO::FindInstance(m_name)) {
        if (replacement)
            IXO::Register(m_name, replacement);
        else
            IXO::Unregister(m_name);
    }
    ~ScopedRegistration() {
        if (m_previous)
            IXO::Register(m_name, m_previous);
        else
            IXO::Unregister(m_name);
    }
    ScopedRegistration(const ScopedRegistration&) = delete;
    ScopedRegistration& operator=(const ScopedRegistration&) = delete;

private:
    std::wstring m_name;
    IXO* m_previous;
};
