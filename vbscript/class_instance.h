#pragma once
// Objects the engine itself makes: instances of script classes (New) and procedure
// references (GetRef). The VM calls their code by pushing frames, so neither runs script
// from inside Invoke.
#include <functional>
#include <memory>
#include <vector>

#include "vbscript/procedure.h"
#include "vbscript/value.h"

namespace vbs {

// What instances share with the VM that made them; one outliving the engine finds it gone
// and just deletes itself.
struct InstanceHost {
    // Instances whose Class_Terminate is due; the VM runs them at its next safe point.
    std::vector<Object*> terminating;
    // Replaces an instance by its default property's value, running the property in the VM
    // (left unchanged when the VM is not running or the class has no default).
    std::function<void(Value&)> resolveDefault;
};

class ClassInstance final : public Object {
public:
    ClassInstance(std::shared_ptr<ClassInfo> info, std::weak_ptr<InstanceHost> host);

    std::wstring ClassName() const override { return m_info->name; }
    // For conversions made outside the VM's own instructions: a host or built-in object's
    // method reading an argument (WScript.Echo obj).
    bool DefaultValue(Value& out) override;
    const ClassInfo& Info() const { return *m_info; }
    Value& Field(std::int32_t index) { return m_fields[static_cast<std::size_t>(index)]; }

private:
    void LastReleased() noexcept override;

    std::shared_ptr<ClassInfo> m_info;
    std::vector<Value> m_fields;
    std::weak_ptr<InstanceHost> m_host;
    bool m_terminated = false;
};

// What GetRef answers: calling it as a default member, or using it as a value, calls the
// procedure.
class ProcedureRef final : public Object {
public:
    ProcedureRef(std::int32_t procedure, std::weak_ptr<InstanceHost> host)
        : m_procedure(procedure), m_host(std::move(host)) {}
    std::int32_t Procedure() const { return m_procedure; }
    // Whether the engine of `host` made it: its procedure number means nothing elsewhere.
    bool MadeBy(const std::shared_ptr<InstanceHost>& host) const {
        return !m_host.owner_before(host) && !host.owner_before(m_host);
    }
    // Used as a value by an object's method (WScript.Echo r): the procedure's result.
    bool DefaultValue(Value& out) override;

private:
    std::int32_t m_procedure;
    std::weak_ptr<InstanceHost> m_host;
};

// Runs `object`'s default through `host`; false when it stays the object (no VM running,
// no default member).
bool ResolveThroughHost(Object* object, const std::weak_ptr<InstanceHost>& host, Value& out);

} // namespace vbs
