#include "nubra/ixo.h"

#include <algorithm>

#include "platform/base/nocase.h"

namespace {

struct Registration {
    std::wstring name; // as first registered, for listings
    IXO::Factory factory = nullptr;
    IXO* instance = nullptr;
};

struct Registry {
    plat::NoCaseMap<Registration> names;
};

// Function-local so that registrations from other libraries' static initialisers always
// find it constructed.
Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

Registration& Slot(std::wstring_view name) {
    Registry& r = TheRegistry();
    auto it = r.names.find(name);
    if (it == r.names.end())
        it = r.names.emplace(std::wstring(name), Registration{std::wstring(name)}).first;
    return it->second;
}

} // namespace

std::uint64_t IXO::s_generation = 1;

IXO::~IXO() {
    if (m_weakCell)
        *m_weakCell = nullptr;
}

const orvo::DispatchMap& IXO::ClassDispatch() {
    static const orvo::DispatchMap map(nullptr, {});
    return map;
}

int IXO::Register(std::wstring_view name, Factory factory) {
    Registration& slot = Slot(name);
    slot.factory = factory;
    slot.instance = nullptr;
    ++s_generation;
    return 1;
}

int IXO::Register(std::wstring_view name, IXO* instance) {
    Registration& slot = Slot(name);
    slot.instance = instance;
    slot.factory = nullptr;
    ++s_generation;
    return 1;
}

bool IXO::Unregister(std::wstring_view name) {
    Registry& r = TheRegistry();
    auto it = r.names.find(name);
    if (it == r.names.end())
        return false;
    r.names.erase(it);
    ++s_generation;
    return true;
}

IXO* IXO::GetIXO(std::wstring_view name) {
    Registry& r = TheRegistry();
    auto it = r.names.find(name);
    if (it == r.names.end())
        return nullptr;
    if (it->second.instance)
        return it->second.instance;
    return it->second.factory ? it->second.factory() : nullptr;
}

IXO* IXO::FindInstance(std::wstring_view name) {
    Registry& r = TheRegistry();
    auto it = r.names.find(name);
    return it == r.names.end() ? nullptr : it->second.instance;
}

bool IXO::IsRegistered(std::wstring_view name) {
    Registry& r = TheRegistry();
    return r.names.find(name) != r.names.end();
}

std::vector<std::pair<std::wstring, IXO*>> IXO::Instances() {
    std::vector<std::pair<std::wstring, IXO*>> out;
    for (const auto& [key, reg] : TheRegistry().names) {
        if (reg.instance)
            out.emplace_back(reg.name, reg.instance);
    }
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
        return plat::CompareNoCase(a.first, b.first) < 0;
    });
    return out;
}

void IXO::BumpGeneration() {
    ++s_generation;
}

orvo::IXORef IXO::WeakRef() const {
    if (!m_weakCell)
        m_weakCell = std::make_shared<IXO*>(const_cast<IXO*>(this));
    return orvo::IXORef(m_weakCell);
}

orvo::DispStatus IXO::Invoke(std::wstring_view name, unsigned kind,
                             std::span<orvo::DispVariant> args, orvo::DispVariant& result) {
    const orvo::DispEntry* entry = FindDispEntry(name);
    if (!entry)
        return orvo::DispStatus::UnknownName;
    return InvokeEntry(this, *entry, kind, args, result);
}

orvo::DispStatus IXO::InvokeEntry(IXO* self, const orvo::DispEntry& entry, unsigned kind,
                                  std::span<orvo::DispVariant> args, orvo::DispVariant& result) {
    using orvo::DispStatus;
    if (!self)
        return DispStatus::DeadObject;
    const orvo::DispPart* part = nullptr;
    if (entry.kind == orvo::DispEntry::Kind::Method) {
        // A method may be read like a property (a script writes `obj.Count`), never assigned.
        if (!(kind & (orvo::InvokeMethod | orvo::InvokeGet)))
            return DispStatus::UnknownName;
        part = &entry.method;
    } else if (kind & orvo::InvokePut) {
        part = &entry.setter;
        if (!*part)
            return DispStatus::ReadOnly;
    } else {
        part = &entry.getter;
        if (!*part)
            return DispStatus::WriteOnly;
    }
    if (!part->invoke)
        return DispStatus::NotScriptable;
    return part->invoke(self, args, result);
}
