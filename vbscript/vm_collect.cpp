// Reference cycles and the end of an engine. Counting references frees an instance when its
// last one goes, but never instances that hold each other; those are found by the cycle
// collector (cycle_collector.h) while no script code runs, which is also the only time
// their Class_Terminate can run as a run of its own.
//
// The order keeps handlers safe: every instance about to be freed has its Class_Terminate
// run while all of them are still whole (a handler may read another's members), then the
// collector looks again, keeps what a handler stored somewhere the script still sees, and
// only then empties the rest.
#include <algorithm>

#include "vbscript/cycle_collector.h"
#include "vbscript/vm.h"

namespace vbs {

namespace {

// Passes of releasing globals and collecting at the end: a Class_Terminate may store an
// instance in a global again, or make new ones. After these, what is left is freed without
// running script.
constexpr int kEndPasses = 8;

} // namespace

std::size_t Vm::CollectCycles() {
    if (Running())
        return 0;
    const Runtime::ErrorState err = m_runtime.Err();
    BeginOutermostRun();
    const std::size_t freed = Collect(true);
    m_runtime.Err() = err;
    return freed;
}

bool Vm::CollectionDue() const {
    return m_collectInterval != 0 &&
           m_heap.Made() - m_madeAtCollect >= std::max(m_collectInterval, m_liveAtCollect);
}

void Vm::Shutdown() {
    if (Running())
        return;
    BeginOutermostRun();
    for (int pass = 0; pass < kEndPasses && m_heap.TerminatesOn(); ++pass) {
        const bool released = ReleaseGlobals(false);
        if (Collect(true) == 0 && !released)
            break;
    }
    m_heap.StopTerminates();
    ReleaseGlobals(true);
    Collect(false);
    // What the host still holds outlives the engine emptied: no method of it can run any
    // more, and a cycle through it would never be freed.
    std::vector<Value> survivors;
    for (ClassInstance* instance : m_heap.Instances())
        survivors.push_back(Value::FromObject(instance));
    BreakCycles(survivors);
    m_heap.Detach();
}

std::size_t Vm::Collect(bool runTerminates) {
    if (Running())
        return 0;
    std::vector<Value> unreachable = FindUnreachable(m_heap);
    if (runTerminates && m_heap.TerminatesOn()) {
        bool ran = false;
        for (const Value& object : unreachable) {
            auto* instance = dynamic_cast<ClassInstance*>(object.AsObject());
            if (instance && instance->Heap() == &m_heap && instance->TakeTerminate()) {
                RunTerminate(object);
                ran = true;
            }
        }
        if (ran)
            KeepUnreachable(unreachable, m_heap);
    }
    const std::size_t freed = unreachable.size();
    BreakCycles(unreachable);
    // Instances the emptied ones held alone, made by a handler just now, end here too.
    if (runTerminates)
        RunDueTerminates();
    m_madeAtCollect = m_heap.Made();
    m_liveAtCollect = m_heap.Live();
    return freed;
}

void Vm::RunDueTerminates() {
    while (!Running() && !m_heap.terminating.empty()) {
        ClassInstance* due = m_heap.terminating.back();
        m_heap.terminating.pop_back();
        Value instance = Value::FromObject(due);
        due->Release(); // the queue's reference; `instance` holds it now
        RunTerminate(std::move(instance));
    }
}

void Vm::RunTerminate(Value instance) {
    const ClassInfo& info = static_cast<ClassInstance*>(instance.AsObject())->Info();
    Procedure& proc = *info.procedures[static_cast<std::size_t>(info.terminate)];
    // A Class_Terminate with parameters is skipped, as when a release makes it due. Each
    // is a step of the one budget a collection or the end has, so handlers that make
    // instances whose handlers make more cannot go on for ever.
    if (!proc.paramByRef.empty() || --m_stepsLeft < 0)
        return;
    try {
        RunFrame(proc, nullptr, {}, std::move(instance));
    } catch (const ScriptError&) {
        // Nobody called it, so nobody is there to tell.
    } catch (const std::bad_alloc&) {
    }
}

bool Vm::ReleaseGlobals(bool namedItems) {
    bool released = false;
    // By index: a handler may declare more globals (ExecuteGlobal) while this runs.
    for (std::size_t i = 0; i < m_scope.globals.size(); ++i) {
        const Value& global = m_scope.globals[i];
        const bool holds = (global.Type() == VarType::Object && global.AsObject()) ||
                           global.Type() == VarType::Array;
        if (!holds || (m_scope.namedItem[i] && !namedItems))
            continue;
        Value dropped = std::move(m_scope.globals[i]);
        dropped.Clear();
        released = true;
        RunDueTerminates();
    }
    return released;
}

} // namespace vbs
