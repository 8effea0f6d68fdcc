#pragma once
// The loop that runs compiled procedures. A script calling a script procedure pushes a
// frame instead of recursing in C++, so the depth limit, not the thread's stack, bounds
// recursion; a step budget bounds running time.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "vbscript/class_instance.h"
#include "vbscript/global_scope.h"
#include "vbscript/operators.h"
#include "vbscript/runtime.h"
#include "vbscript/script_error.h"
#include "vbscript/value.h"
#include "vbscript/vm_stack.h"

namespace vbs {

class ExecutedLocals;

struct Limits {
    std::uint64_t maxSteps = 100'000'000; // instructions per call from the host
    int maxDepth = 1000;                  // nested script procedure calls
};

// The error a run gets when it uses up its step budget; On Error Resume Next cannot catch
// it, otherwise the script would just go on.
inline constexpr int kStepLimitError = 7000;
inline constexpr const wchar_t* kStepLimitDescription = L"Script exceeded its step limit";

class Vm {
public:
    Vm(GlobalScope& scope, Runtime& runtime)
        : m_scope(scope), m_runtime(runtime), m_instances(std::make_shared<InstanceHost>()) {
        m_instances->resolveDefault = [this](Value& v) {
            if (m_frames.size() > 0)
                ResolveDefault(v);
        };
    }

    void SetLimits(const Limits& limits) { m_limits = limits; }

    // Runs `proc` with `args` (ByRef parameters write back into them) and returns its
    // result. Throws ScriptError when an error is not handled by the script; ErrorLine()
    // then tells where it happened.
    Value Run(Procedure& proc, std::span<Value> args);
    int ErrorLine() const { return m_errorLine; }
    // Whether script code runs now (a host method it called is calling back).
    bool Running() const { return m_frames.size() != 0; }

    // ---- reference cycles and the end (vm_collect.cpp) ----
    // Frees the instances (and the dictionaries) that only reference cycles keep alive,
    // after running their Class_Terminate with every one of them still whole, on one step
    // budget. Errors in those are dropped and the Err object keeps what it had. Does nothing
    // while script code runs. Answers how many objects it freed.
    std::size_t CollectCycles();
    // Whether enough instances were made since the last collection for another: the
    // interval, or as many as were alive after it when more (0: never).
    bool CollectionDue() const;
    void SetCollectInterval(std::uint64_t instances) { m_collectInterval = instances; }
    // Ends the scripts: releases the globals one by one, then frees what cycles keep,
    // running Class_Terminate for every instance freed; the host's named items go last.
    // Errors there are dropped. Instances the host still holds are emptied and let go,
    // without Class_Terminate. All of it shares one step budget. Does nothing while script
    // code runs; after it, instances made end without Class_Terminate.
    void Shutdown();
    const InstanceHeap& Heap() const { return m_heap; }
    InstanceHeap& Heap() { return m_heap; }

private:
    // Where an argument passed by reference lives; an array element also locks its array.
    struct ArgPlace {
        Value* ref = nullptr;
        ArrayLock lock;
    };

    struct Frame {
        Procedure* proc;
        const Instr* code; // the procedure's code, or its by-value form
        std::int32_t pc;
        Value* locals;
        std::size_t poolMark;
        std::size_t refBase;
        std::size_t stackBase;
        std::size_t argRefBase;
        std::size_t lockBase;
        bool resumeNext;
        bool discardResult; // Let/Set of a property, Class_Initialize, Class_Terminate
        Value me;           // the instance a class procedure runs for
    };

    // Frame slots come from fixed chunks, so addresses that ByRef parameters hold stay
    // valid while deeper frames come and go.
    class SlotPool {
    public:
        [[gnu::always_inline]] Value* Allocate(std::size_t count, std::size_t& mark) {
            mark = (m_chunk << 32) | m_used;
            if (m_used + count > m_size) [[unlikely]]
                NextChunk(count);
            Value* slots = m_base + m_used;
            m_used += count;
            return slots;
        }
        [[gnu::always_inline]] void Release(Value* slots, std::size_t count, std::size_t mark) {
            for (std::size_t i = 0; i < count; ++i)
                slots[i].Clear();
            m_used = mark & 0xFFFFFFFFu;
            if ((mark >> 32) != m_chunk) [[unlikely]] {
                m_chunk = mark >> 32;
                m_base = m_chunks[m_chunk].get();
                m_size = m_chunkSizes[m_chunk];
            }
        }

    private:
        // Moves on to a chunk with room for `count` slots, making one if needed.
        void NextChunk(std::size_t count);

        static constexpr std::size_t kChunk = 4096;
        std::vector<std::unique_ptr<Value[]>> m_chunks;
        std::vector<std::size_t> m_chunkSizes;
        std::size_t m_chunk = 0;
        std::size_t m_used = 0;
        Value* m_base = nullptr; // the current chunk and its size
        std::size_t m_size = 0;
    };

    // ---- the loop and its frames (vm.cpp, vm_frames.h) ----
    template <bool kFast> void Execute(std::size_t baseDepth);
    // `consume`: the arguments are the operand stack's and may be moved from.
    void PushFrame(Procedure& proc, Value* args, ArgPlace* places, std::size_t argc, bool consume);
    // The frame of a call whose `argc` arguments, on top of the stack, all go by value: they
    // move into the callee's slots and its by-value code runs, when it has one.
    void PushValueFrame(Procedure& proc, std::size_t argc);
    // The new top frame running `code` of `proc` over `locals`; its stack bases are 0.
    Frame& OpenFrame(Procedure& proc,
                     const Instr* code,
                     Value* locals,
                     std::size_t poolMark,
                     std::size_t refBase,
                     std::size_t lockBase);
    void PopFrame();
    Value& Variable(const Frame& frame, std::int32_t packed);
    // A variable or constant operand.
    const Value& Operand(const Frame& frame, std::int32_t packed);
    // Where the loop goes on after an instruction it hands to a function of its own.
    enum class StepEnd : std::uint8_t {
        Done,
        FramePushed, // script code runs next: the loop enters the new top frame
        SafePoint,   // a store may have let an instance go: Class_Terminate may be due
    };
    // The instructions handed out of the loop run with the frame's position saved in
    // frame.pc (where errors and script code called from them look for it).
    // Call: checks and pushes the callee's frame, arguments from the stack.
    void CallProcedure(const Instr& in, std::size_t baseDepth);

    // ---- calls beside Call (vm_calls.cpp) ----
    // Pushes a frame for a call made by an instruction, with its arguments on the stack.
    void EnterCall(Procedure& proc,
                   std::size_t argc,
                   bool withRefs,
                   Value me,
                   bool discard,
                   std::size_t baseDepth);
    // Call of a procedure no script has defined: a global variable of that name that
    // ExecuteGlobal declared since is read instead (an element, or the default member).
    [[gnu::cold]] void CallUndefined(const Instr& in, std::size_t baseDepth);
    // CallMe: pushes the frame of a method of Me called by its name.
    void CallOwnMethod(const Instr& in, Frame& frame, std::size_t baseDepth);
    // CallBuiltin: its arguments on the stack give way to its result.
    void CallBuiltin(const Instr& in, Frame& frame);

    // ---- operators without a fast form (vm_operators.cpp) ----
    // Negate, Not and the binary operators other than +, -, * and comparisons, on the
    // operands on top of the stack.
    void ApplyOperator(Op op, Frame& frame);

    // ---- For Each (vm_for_each.cpp) ----
    // ForEachStart: false when there is nothing to walk; otherwise the variable holds the
    // first element.
    bool StartForEach(const Instr& in, Frame& frame);
    // ForEachNext: true when the variable took another element.
    bool NextForEach(const Instr& in, Frame& frame);

    // ---- On Error and Err (vm_error_statements.cpp) ----
    // The On Error, Err and Raise instructions.
    void ErrorStatement(const Instr& in, Frame& frame);

    // ---- runs, errors and recovery (vm_run.cpp) ----
    // A run from the host with nothing running: a fresh step budget.
    void BeginOutermostRun();
    // Runs `proc` to its end; `places` are its ByRef arguments' places.
    Value RunFrame(Procedure& proc, Value* args, std::span<ArgPlace> places, Value me);
    // Sets Err and continues in the innermost frame with On Error Resume Next on, after its
    // failing statement; false when no frame has it, or no step is left to resume with.
    bool Recover(const ScriptError& error, std::size_t baseDepth);
    // Error 7000, which On Error Resume Next does not catch.
    [[noreturn, gnu::cold]] void StepLimitReached();

    // ---- reference cycles and the end (vm_collect.cpp) ----
    // CollectCycles on the step budget of its caller; without handlers once the engine ends.
    std::size_t Collect(bool runTerminates);
    // Runs the due Class_Terminate handlers while nothing else runs, dropping their errors.
    void RunDueTerminates();
    // Runs the Class_Terminate of `instance` as a run of its own, dropping its errors.
    void RunTerminate(Value instance);
    // Releases the globals that hold objects or arrays, one at a time, each followed by
    // the Class_Terminate handlers it made due; the host's named items too when asked.
    // True when there was one.
    bool ReleaseGlobals(bool namedItems);

    // ---- objects, classes and default properties (vm_objects.cpp) ----
    // Member and StoreMember.
    StepEnd MemberInstruction(const Instr& in, Frame& frame, std::size_t baseDepth);
    // obj.name(args) with the object below its arguments (and their references) on the
    // stack; "" is the default member. True when it pushed a frame for script code.
    bool MemberCall(std::wstring_view name, Access access, std::size_t argc, std::size_t baseDepth);
    // obj.name(args) = value: the object, the arguments (no references), then the value.
    bool
    MemberStore(std::wstring_view name, Access access, std::size_t argc, std::size_t baseDepth);
    // A script class's member by name ("" is the default member); 438 when there is none or
    // it is private to a caller outside the class.
    const ClassInfo::Member& FindMember(const ClassInfo& info, std::wstring_view name);
    // The object's default member with the `argc` values on top of the stack as its
    // arguments (an object indexed like an array), or stored to with them and a value.
    [[gnu::cold]] bool
    CallDefaultMember(const Value& object, std::size_t argc, std::size_t baseDepth);
    [[gnu::cold]] bool
    StoreDefaultMember(const Value& object, std::size_t argc, Access access, std::size_t baseDepth);
    // The fused instructions' forms when an operand is an object: instances become their
    // default property's value first. Their operands are copies, as the property's code may
    // change the variables they came from.
    [[gnu::cold]] StepEnd FusedWithObjects(const Instr& in, Frame& frame);
    [[gnu::cold]] bool
    CompareWithObjects(Comparison op, const Value& left, const Value& right, OperandOrigin origin);
    // An AppendTo whose variable changed while its operands were evaluated, or that meets
    // instances: the language reads the variable first and appends in order.
    [[gnu::cold]] StepEnd AppendInOrder(const Instr& in, Frame& frame);
    // A Move from an object: Let assignment stores its default value.
    [[gnu::cold]] StepEnd MoveDefaultValue(const Instr& in, Frame& frame);
    bool New(const std::wstring& className, std::size_t baseDepth);
    // Pushes a frame for the next due Class_Terminate; false when none is due.
    bool StartTerminate(std::size_t baseDepth);
    // A script class instance used as a plain value becomes its default property's value
    // (a nested run, with the working stacks set aside, so the caller must hold nothing
    // that script code could move). Anything else is left alone.
    void ResolveDefault(Value& v);
    // ResolveDefault for each of `values`, from inside the loop, which passes the running
    // instruction's position in.
    [[gnu::noinline]] void ResolveValues(std::span<Value> values, Frame& frame, std::int32_t pc);

    // ---- arrays (vm_arrays.cpp) ----
    // The subscripts from stack position `first` to the top, as whole numbers.
    std::span<const std::int32_t> Subscripts(std::size_t first);
    std::span<const std::int32_t> PopSubscripts(int count);
    [[gnu::cold]] void ReDim(Value& target, int dimensions, bool preserve);
    // Dim with bounds: the bounds are on the stack.
    [[gnu::cold]] void DimArray(Value& target, int dimensions);
    // Erase: a fixed array keeps its size and loses its elements, a dynamic one its
    // dimensions.
    [[gnu::cold]] void EraseVariable(Value& target, bool fixedArray);
    // The element instructions beyond the one-subscript fast forms the loop keeps.
    StepEnd LoadElement1(const Instr& in, Frame& frame, std::size_t baseDepth);
    StepEnd LoadElement(const Instr& in, Frame& frame, std::size_t baseDepth);
    template <bool kFast>
    StepEnd StoreElement(const Instr& in, Frame& frame, std::size_t baseDepth);
    StepEnd ArgElement(const Instr& in, Frame& frame, std::size_t baseDepth);

    // ---- code made while running (vm_dynamic_code.cpp) ----
    // Eval and Execute instructions: the text on top of the stack compiled and run.
    void RunCodeText(const Instr& in, Frame& frame);
    // Eval and Execute see the locals of `caller`; ExecuteGlobal passes none.
    Value EvalText(const Value& text, const Frame& caller);
    void ExecuteText(const Value& text, const Frame* caller);
    // Runs code compiled for Eval or Execute with its captured variables bound to the
    // caller's.
    Value RunInScope(Procedure& code, const Frame* caller);
    // The locals Execute made in `frame`'s call, kept in the procedure's hidden slot for
    // them so they go when the call returns. Null when there are none yet and `make` is
    // false, or the procedure has no such slot (global code: Execute declares globals).
    ExecutedLocals* ExecutedLocalsOf(const Frame& frame, bool make);
    // GetRef's object for the procedure named by `name`.
    [[gnu::cold]] Value ProcedureRefTo(const Value& name);

    GlobalScope& m_scope;
    Runtime& m_runtime;
    Limits m_limits;
    std::int64_t m_stepsLeft = 0; // below 0: the budget is spent
    // Where the outermost run's native stack began: nested runs (Eval, default properties,
    // host callbacks) recurse in C++, which the frame limit alone does not bound.
    std::uintptr_t m_nativeBase = 0;
    bool m_fatal = false;
    int m_errorLine = 0;
    // Frames in fixed chunks that are kept once allocated: a frame stays where it is while
    // a host call re-enters the engine, and deep recursion does not allocate on every call.
    class FrameStack {
    public:
        std::size_t size() const { return m_size; }
        Frame& back() { return At(m_size - 1); }
        Frame& operator[](std::size_t i) { return At(i); }
        // The new top frame, its fields to be filled in (me is Empty).
        Frame& Push() {
            if (m_size == m_chunks.size() * kChunk)
                m_chunks.push_back(std::make_unique<Frame[]>(kChunk));
            return At(m_size++);
        }
        void Pop() { At(--m_size).me.Clear(); }

    private:
        static constexpr std::size_t kChunk = 128;
        Frame& At(std::size_t i) { return m_chunks[i / kChunk][i % kChunk]; }
        std::vector<std::unique_ptr<Frame[]>> m_chunks;
        std::size_t m_size = 0;
    };
    FrameStack m_frames;
    VmStack<Value> m_stack;
    VmStack<Value*> m_refs;
    VmStack<ArgPlace> m_argRefs;
    VmStack<ArrayLock> m_locks; // the array locks of running frames' ByRef elements
    std::vector<std::int32_t> m_subscripts;
    SlotPool m_pool;
    InstanceHeap m_heap;
    // The loop tests the due Class_Terminate handlers through this pointer: testing the
    // heap's list in place is shorter code, and moved the loop's code enough to cost the
    // numeric benchmarks 15% with the same instruction count.
    std::vector<ClassInstance*>* m_terminating = &m_heap.terminating;
    std::uint64_t m_collectInterval = 10'000;
    std::uint64_t m_madeAtCollect = 0; // the heap's Made() and Live() after the last collection
    std::uint64_t m_liveAtCollect = 0;
    // Resolves instances' default properties for conversions made outside the loop.
    std::shared_ptr<InstanceHost> m_instances;
};

} // namespace vbs
