#pragma once
// Objects the engine itself makes: instances of script classes (New) and procedure
// references (GetRef). The VM calls their code by pushing frames, so neither runs script
// from inside Invoke.
#include <cstddef>
#include <memory>
#include <vector>

#include "vbscript/instance_heap.h"
#include "vbscript/procedure.h"
#include "vbscript/value.h"

namespace vbs {

class ClassInstance final : public Object {
public:
    // Registers with `heap`, which queues its Class_Terminate when the last reference goes.
    ClassInstance(std::shared_ptr<ClassInfo> info, InstanceHeap* heap);
    ~ClassInstance() override;

    std::wstring ClassName() const override { return m_info->name; }
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

// What GetRef answers: calling it as a default member calls the procedure.
class ProcedureRef final : public Object {
public:
    explicit ProcedureRef(std::int32_t procedure) : m_procedure(procedure) {}
    std::int32_t Procedure() const { return m_procedure; }

private:
    std::int32_t m_procedure;
};

} // namespace vbs
