#include "nubra/ixo.h"

#include <algorithm>

#include "nubra/registry_snapshot.h"
#include "platform/base/nocase.h"

namespace {

struct Registration {
    std::wstring name; // as first registered, for listings
    IXO::Factory factory = nullptr;
    orvo::IXORef instance;
};

using Registry = plat::NoCaseMap<Registration>;

// Created on first use and never destroyed: registrations come from other libraries' static
// initialisers, and service objects destroyed at exit still leave it.
Registry& TheRegistry() {
    static Registry* registry = new Registry();
    return *registry;
}

} // namespace

std::uint64_t IXO::s_generation = 1;

IXO::~IXO() {
    if (m_registrations)
        ForgetRegistrations();
    if (m_weakCell)
        *m_weakCell = nullptr;
}

void IXO::ForgetRegistrations() {
    Registry& r = TheRegistry();
    std::erase_if(r, [this](const auto& item) {
        const Registration& reg = item.second;
        return !reg.factory && (reg.instance.Get() == this || !reg.instance.Alive());
    });
    m_registrations = 0;
    ++s_generation;
}

const orvo::DispatchMap& IXO::ClassDispatch() {
    static const orvo::DispatchMap map(L"IXO", nullptr, {});
    return map;
}

namespace {

// Puts `reg` under `name`, releasing whatever instance held the name before.
void Put(std::wstring_view name, Registration reg) {
    Registry& r = TheRegistry();
    auto it = r.find(name);
    if (it == r.end()) {
        reg.name = std::wstring(name);
        r.emplace(std::wstring(name), std::move(reg));
        return;
    }
    reg.name = it->second.name;
    it->second = std::move(reg);
}

} // namespace

int IXO::Register(std::wstring_view name, Factory factory) {
    if (!factory)
        return 0;
    IXO* previous = FindInstance(name);
    Put(name, Registration{{}, factory, {}});
    if (previous)
        --previous->m_registrations;
    ++s_generation;
    return 1;
}

int IXO::Register(std::wstring_view name, IXO* instance) {
    if (!instance)
        return 0;
    orvo::IXORef ref = instance->WeakRef();
    if (!ref.Alive())
        return 0; // being torn down
    IXO* previous = FindInstance(name);
    if (previous == instance)
        return 1;
    Put(name, Registration{{}, nullptr, std::move(ref)});
    if (previous)
        --previous->m_registrations;
    ++instance->m_registrations;
    ++s_generation;
    return 1;
}

bool IXO::Unregister(std::wstring_view name) {
    Registry& r = TheRegistry();
    auto it = r.find(name);
    if (it == r.end())
        return false;
    if (IXO* previous = it->second.instance.Get())
        --previous->m_registrations;
    r.erase(it);
    ++s_generation;
    return true;
}

IXO* IXO::GetIXO(std::wstring_view name) {
    Registry& r = TheRegistry();
    auto it = r.find(name);
    if (it == r.end())
        return nullptr;
    if (it->second.factory)
        return it->second.factory();
    return it->second.instance.Get();
}

IXO* IXO::FindInstance(std::wstring_view name) {
    Registry& r = TheRegistry();
    auto it = r.find(name);
    return it == r.end() ? nullptr : it->second.instance.Get();
}

IXO::Factory IXO::FindFactory(std::wstring_view name) {
    Registry& r = TheRegistry();
    auto it = r.find(name);
    return it == r.end() ? nullptr : it->second.factory;
}

IXO::Registered IXO::Lookup(std::wstring_view name) {
    Registry& r = TheRegistry();
    auto it = r.find(name);
    if (it == r.end())
        return {};
    return {it->second.factory, it->second.instance};
}

bool IXO::IsRegistered(std::wstring_view name) {
    Registry& r = TheRegistry();
    auto it = r.find(name);
    return it != r.end() && (it->second.factory || it->second.instance.Alive());
}

std::vector<std::pair<std::wstring, IXO*>> IXO::Instances() {
    std::vector<std::pair<std::wstring, IXO*>> out;
    for (const auto& [key, reg] : TheRegistry()) {
        if (IXO* instance = reg.instance.Get())
            out.emplace_back(reg.name, instance);
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
    if (m_weakReleased)
        return {};
    if (!m_weakCell)
        m_weakCell = std::make_shared<IXO*>(const_cast<IXO*>(this));
    return orvo::IXORef(m_weakCell);
}

void IXO::ReleaseWeakRefs() {
    if (m_registrations)
        ForgetRegistrations();
    if (m_weakCell)
        *m_weakCell = nullptr;
    m_weakCell.reset();
    m_weakReleased = true;
}

orvo::DispStatus IXO::Invoke(std::wstring_view name,
                             unsigned kind,
                             std::span<orvo::DispVariant> args,
                             orvo::DispVariant& result) {
    const orvo::DispEntry* entry = FindDispEntry(name);
    if (!entry)
        return orvo::DispStatus::UnknownName;
    return InvokeEntry(this, *entry, kind, args, result);
}

orvo::DispStatus IXO::InvokeEntry(IXO* self,
                                  const orvo::DispEntry& entry,
                                  unsigned kind,
                                  std::span<orvo::DispVariant> args,
                                  orvo::DispVariant& result) {
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

// ---- snapshots ------------------------------------------------------------------------------

namespace orvo {

RegistrySnapshot RegistrySnapshot::Take() {
    RegistrySnapshot snapshot;
    for (const auto& [key, reg] : TheRegistry()) {
        if (reg.factory || reg.instance.Alive())
            snapshot.m_entries.push_back({reg.name, reg.factory, reg.instance});
    }
    std::sort(
        snapshot.m_entries.begin(), snapshot.m_entries.end(), [](const Entry& a, const Entry& b) {
            return plat::CompareNoCase(a.name, b.name) < 0;
        });
    return snapshot;
}

void RegistrySnapshot::Restore() const {
    for (const auto& [key, reg] : TheRegistry()) {
        if (IXO* instance = reg.instance.Get())
            --instance->m_registrations;
    }
    Registry& r = TheRegistry();
    r.clear();
    for (const Entry& e : m_entries) {
        IXO* instance = e.instance.Get();
        if (!e.factory && !instance)
            continue;
        r.emplace(e.name, Registration{e.name, e.factory, e.instance});
        if (instance)
            ++instance->m_registrations;
    }
    IXO::BumpGeneration();
}

std::vector<std::wstring> RegistrySnapshot::Differences() const {
    std::vector<std::wstring> out;
    RegistrySnapshot now = Take();
    auto describe = [](const Entry& e) {
        return e.factory ? std::wstring(L"a factory") : std::wstring(L"an instance");
    };
    std::size_t i = 0, j = 0;
    while (i < m_entries.size() || j < now.m_entries.size()) {
        int order = i == m_entries.size() ? 1
                    : j == now.m_entries.size()
                        ? -1
                        : plat::CompareNoCase(m_entries[i].name, now.m_entries[j].name);
        if (order < 0) {
            out.push_back(m_entries[i].name + L": " + describe(m_entries[i]) + L" went away");
            ++i;
        } else if (order > 0) {
            out.push_back(now.m_entries[j].name + L": " + describe(now.m_entries[j]) +
                          L" was added");
            ++j;
        } else {
            const Entry& a = m_entries[i];
            const Entry& b = now.m_entries[j];
            if (a.factory != b.factory || a.instance.Get() != b.instance.Get())
                out.push_back(a.name + L": " + describe(a) + L" was replaced by " + describe(b));
            ++i;
            ++j;
        }
    }
    return out;
}

} // namespace orvo
