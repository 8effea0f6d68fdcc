#pragma once
// The script engine as a host sees it: add script text (its global code runs at once), ask
// for procedures and call them. Procedures and global variables of every AddCode share one
// global scope. No C++ exception leaves these calls.
#include <cstdint>
#include <span>
#include <string_view>

#include "vbscript/global_scope.h"
#include "vbscript/runtime.h"
#include "vbscript/script_error.h"
#include "vbscript/syntax_error.h"
#include "vbscript/value.h"
#include "vbscript/vm.h"

namespace vbs {

class Engine {
public:
    // Fast paths start on unless the environment variable ORVO_VBS_NO_FAST_PATHS is set
    // (to anything but "0").
    Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;
    // Ends the scripts as the language does: the globals are released, Class_Terminate runs
    // for every instance that goes, those only reference cycles keep included, and errors
    // there are dropped. Instances the host still holds outlive it, emptied and without
    // Class_Terminate.
    ~Engine() { End(); }
    // The same ahead of the destructor, for a host that must stay whole while the handlers
    // run; nothing when called back from a running script (the destructor then does it).
    // Scripts should not be called afterwards: their globals are gone.
    void End() { m_vm.Shutdown(); }

    // Compiles `source` and runs its global code. False with `error` filled (when not null)
    // for a syntax error or for a run-time error of the global code (its number, text and
    // line).
    bool AddCode(std::wstring_view source, SyntaxError* error);
    bool HasFunction(std::wstring_view name) const;
    // How many parameters the Sub or Function declares; -1 when it is not defined.
    int ParameterCount(std::wstring_view name) const;
    // Calls a Sub or Function; ByRef parameters write back into `args`. `result` (may be
    // null) receives a Function's value, Empty for a Sub.
    bool Call(std::wstring_view name, std::span<Value> args, Value* result, ScriptError* error);
    void SetLimits(std::uint64_t maxSteps, int maxDepth);
    // Off: code added afterwards compiles to the plain general instructions only (no fused
    // forms, in-place appends or by-value call shortcut) and the VM takes its general paths
    // at once. Scripts behave the same either way; off is for hunting bugs in the fast forms.
    void SetFastPaths(bool on) { m_scope.fastPaths = on; }
    bool FastPaths() const { return m_scope.fastPaths; }

    // Makes `object` (usually HostValue(...)) visible to every script of this engine under
    // `name`, without case, replacing an earlier item of that name; scripts added before
    // and after see it alike. Removing sets the name back to Empty.
    void AddNamedItem(std::wstring_view name, const Value& object);
    bool RemoveNamedItem(std::wstring_view name);
    // Whether the host has an item under `name` now (added and not removed).
    bool HasNamedItem(std::wstring_view name) const;
    // The names of the items the host has now, folded to lower case.
    std::vector<std::wstring> NamedItems() const;

    // Frees the instances of script classes that only reference cycles keep alive (and the
    // dictionaries and arrays on those cycles), running their Class_Terminate first; nothing
    // the host, a global or a running procedure can still reach is touched. Does nothing
    // when called back from inside a running script. Answers how many objects it freed.
    std::size_t CollectCycles() { return m_vm.CollectCycles(); }
    // Besides, a call from the host that returns collects on its way out once `instances`
    // were made since the last collection (or as many as were alive after it, when more);
    // 10,000 unless set, 0 for never.
    void SetCollectInterval(std::uint64_t instances) { m_vm.SetCollectInterval(instances); }
    // Instances of script classes this engine made that are alive, for diagnostics.
    std::size_t LiveInstances() const { return m_vm.Heap().Live(); }

    Runtime& GetRuntime() { return m_runtime; }

private:
    bool Add(std::wstring_view source, SyntaxError* error);
    bool
    CallProcedure(std::wstring_view name, std::span<Value> args, Value* result, ScriptError* error);
    // A call from the host is over: collect cycles when enough instances were made.
    void Returned();

    GlobalScope m_scope;
    Runtime m_runtime;
    Vm m_vm;
};

} // namespace vbs
