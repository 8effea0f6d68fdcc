#pragma once
// Objects the engine itself makes: instances of script classes (New) and procedure
// references (GetRef). The VM calls their code by pushing frames, so neither runs script
// from inside Invoke.
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "vbscript/instance_heap.h"
#include "vbscript/procedure.h"
#include "vbscript/value.h"

namespace vbs {

// What instances share with the VM that made them, for conversions made outside its own
// instructions; one outliving the engine finds it gone.
struct InstanceHost {
    // Replaces an instance by its default property's value, running the property in the VM
    // (left unchanged when the VM is not running or the class has no default).
    std::function<void(Value&)> resolveDefault;
};

class ClassInstance final : public Object {
public:
    // Registers with `heap`, which queues its Class_Terminate when the last reference goes;
    // `host` resolves its default property for conversions outside the VM.
    ClassInstance(std::shared_ptr<ClassInfo> info,
                  InstanceHeap* heap,
                  std::weak_ptr<InstanceHost> host);
    ~ClassInstance() override;

    std::wstring ClassName() const override { return m_info->name; }
    // For conversions made outside the VM's own instructions: a host or built-in object's
    // method reading an argument (WScript.Echo obj).
    bool DefaultValue(Value& out) override;
    const ClassInfo& Info() const { return *m_info; }
    Value& Field(std::int32_t index) { return m_fields[static_cast<std::size_t>(index)]; }
    // The engine that made it; null once that engine has ended.
    const InstanceHeap* Heap() const { return m_heap; }

    bool VisitValues(ValueVisitor& visitor) const override;
    void ReleaseValues(std::vector<Value>& into) override;
    // Whether Class_Terminate is still to run; taking it marks it run, so it runs once.
    bool TakeTerminate() noexcept;

    // Instances alive on the calling thread (an engine runs on one), every engine's and
    // those outliving theirs: for diagnostics and tests.
    static std::size_t LiveCount();

private:
    friend class InstanceHeap;
    void LastReleased() noexcept override;

    std::shared_ptr<ClassInfo> m_info;
    std::vector<Value> m_fields;
    InstanceHeap* m_heap;
    std::weak_ptr<InstanceHost> m_host;
    ClassInstance* m_previous = nullptr; // the heap's list
    ClassInstance* m_next = nullptr;
    bool m_terminated = false;
};

void InstanceHeap::Add(ClassInstance* instance) noexcept {
    instance->m_previous = m_last;
    instance->m_next = nullptr;
    (m_last ? m_last->m_next : m_first) = instance;
    m_last = instance;
    ++m_live;
    ++m_made;
}

void InstanceHeap::Remove(ClassInstance* instance) noexcept {
    (instance->m_previous ? instance->m_previous->m_next : m_first) = instance->m_next;
    (instance->m_next ? instance->m_next->m_previous : m_last) = instance->m_previous;
    --m_live;
}

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
