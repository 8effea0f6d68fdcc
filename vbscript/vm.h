#pragma once
// The loop that runs compiled procedures. A script calling a script procedure pushes a
// frame instead of recursing in C++, so the depth limit, not the thread's stack, bounds
// recursion; a step budget bounds running time.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "vbscript/compiler.h"
#include "vbscript/runtime.h"
#include "vbscript/script_error.h"
#include "vbscript/value.h"

namespace vbs {

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
    Vm(GlobalScope& scope, Runtime& runtime) : m_scope(scope), m_runtime(runtime) {}

    void SetLimits(const Limits& limits) { m_limits = limits; }

    // Runs `proc` with `args` (ByRef parameters write back into them) and returns its
    // result. Throws ScriptError when an error is not handled by the script; ErrorLine()
    // then tells where it happened.
    Value Run(Procedure& proc, std::span<Value> args);
    int ErrorLine() const { return m_errorLine; }

private:
    struct Frame {
        Procedure* proc;
        std::int32_t pc;
        Value* locals;
        std::size_t poolMark;
        std::size_t refBase;
        std::size_t stackBase;
        std::size_t argRefBase;
        bool resumeNext;
    };

    // Frame slots come from fixed chunks, so addresses that ByRef parameters hold stay
    // valid while deeper frames come and go.
    class SlotPool {
    public:
        Value* Allocate(std::size_t count, std::size_t& mark);
        void Release(Value* slots, std::size_t count, std::size_t mark);

    private:
        static constexpr std::size_t kChunk = 4096;
        std::vector<std::unique_ptr<Value[]>> m_chunks;
        std::vector<std::size_t> m_chunkSizes;
        std::size_t m_chunk = 0;
        std::size_t m_used = 0;
    };

    void Execute(std::size_t baseDepth);
    void PushFrame(Procedure& proc, Value* args, Value* const* argRefs, std::size_t argc);
    void PopFrame();
    bool Recover(const ScriptError& error, std::size_t baseDepth);
    Value& Variable(const Frame& frame, std::int32_t packed);
    std::span<const std::int32_t> PopSubscripts(int count);
    void ReDim(Value& target, int dimensions, bool preserve);

    GlobalScope& m_scope;
    Runtime& m_runtime;
    Limits m_limits;
    std::uint64_t m_stepsLeft = 0;
    bool m_fatal = false;
    int m_errorLine = 0;
    std::vector<Frame> m_frames;
    std::vector<Value> m_stack;
    std::vector<Value*> m_refs;
    std::vector<Value*> m_argRefs;
    std::vector<std::int32_t> m_subscripts;
    SlotPool m_pool;
};

} // namespace vbs
