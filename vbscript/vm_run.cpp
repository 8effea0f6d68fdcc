#include <algorithm>
#include <limits>

#include "vbscript/script_error.h"
#include "vbscript/vm.h"
#include "vbscript/vm_frames.h"

namespace vbs {

namespace {

// Native stack nested runs may use before error 28; well inside a thread's usual 8 MB.
constexpr std::uintptr_t kNativeStackLimit = std::uintptr_t{2} << 20;

} // namespace

void Vm::SlotPool::NextChunk(std::size_t count) {
    const std::size_t next = m_chunks.empty() ? 0 : m_chunk + 1;
    const std::size_t size = std::max(kChunk, count);
    if (next == m_chunks.size()) {
        m_chunks.push_back(std::make_unique<Value[]>(size));
        m_chunkSizes.push_back(size);
    } else if (m_chunkSizes[next] < count) {
        m_chunks[next] = std::make_unique<Value[]>(size);
        m_chunkSizes[next] = size;
    }
    m_chunk = next;
    m_used = 0;
    m_base = m_chunks[m_chunk].get();
    m_size = m_chunkSizes[m_chunk];
}

void Vm::BeginOutermostRun() {
    m_stepsLeft = static_cast<std::int64_t>(
        std::min<std::uint64_t>(m_limits.maxSteps, std::numeric_limits<std::int64_t>::max()));
    m_fatal = false;
    m_nativeBase = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
}

Value Vm::Run(Procedure& proc, std::span<Value> args) {
    if (args.size() != proc.paramByRef.size())
        RaiseError(450);
    if (m_frames.size() == 0)
        BeginOutermostRun();
    std::vector<ArgPlace> places(args.size());
    for (std::size_t i = 0; i < args.size(); ++i)
        places[i].ref = &args[i];
    return RunFrame(proc, args.data(), places, Value());
}

Value Vm::RunFrame(Procedure& proc, Value* args, std::span<ArgPlace> places, Value me) {
    const std::size_t base = m_frames.size();
    const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    if (base >= static_cast<std::size_t>(m_limits.maxDepth) ||
        (m_nativeBase > here && m_nativeBase - here > kNativeStackLimit))
        RaiseError(28);
    PushFrame(proc, args, places.data(), places.size(), false);
    m_frames.back().me = std::move(me);
    m_frames.back().stackBase = m_stack.size();
    m_frames.back().argRefBase = m_argRefs.size();
    for (;;) {
        try {
            if (m_scope.fastPaths)
                Execute<true>(base);
            else
                Execute<false>(base);
            // Instances released on the way out run their Class_Terminate before the host
            // gets the result.
            if (StartTerminate(base))
                continue;
            break;
        } catch (const ScriptError& error) {
            const Frame& top = m_frames.back();
            const StatementRange* where = top.proc->StatementAt(top.pc - 1);
            m_errorLine = where ? where->line : 0;
            if (!m_fatal && !error.fatal && Recover(error, base))
                continue;
            while (m_frames.size() > base)
                PopFrame();
            if (m_fatal && !error.fatal) // no step was left to resume with
                throw ScriptError{kStepLimitError, kStepLimitDescription, true};
            throw;
        }
    }
    Value result = std::move(m_stack.back());
    m_stack.pop_back();
    return result;
}

bool Vm::Recover(const ScriptError& error, std::size_t baseDepth) {
    Runtime::ErrorState& err = m_runtime.Err();
    err.number = LanguageErrorNumber(error.number);
    err.description = error.description;
    // Err.Raise has set the source and help parts; the engine's own errors have no help.
    if (error.origin != ScriptError::Origin::Raise) {
        err.source = error.origin == ScriptError::Origin::Compiler ? kCompileErrorSource
                                                                   : kRuntimeErrorSource;
        err.helpFile.clear();
        err.helpContext = 0;
    }
    while (m_frames.size() > baseDepth) {
        Frame& frame = m_frames.back();
        if (frame.resumeNext) {
            // Resuming is a step, so a loop whose every pass fails before its jump ends too.
            if (--m_stepsLeft < 0) {
                m_fatal = true;
                return false;
            }
            if (const StatementRange* range = frame.proc->StatementAt(frame.pc - 1))
                frame.pc = range->resume;
            m_stack.resize(frame.stackBase);
            m_argRefs.resize(frame.argRefBase);
            return true;
        }
        PopFrame();
    }
    return false;
}

void Vm::StepLimitReached() {
    m_fatal = true;
    throw ScriptError{kStepLimitError, kStepLimitDescription, true};
}

} // namespace vbs
