#pragma once
// The frame operations the dispatch loop and the colder paths share, inlined into both.
#include "vbscript/vm.h"

namespace vbs {

[[gnu::always_inline]] inline void Vm::PopFrame() {
    Frame& frame = m_frames.back();
    --frame.proc->running;
    m_pool.Release(frame.locals, static_cast<std::size_t>(frame.proc->localCount), frame.poolMark);
    // Each working stack is usually back where the frame found it already.
    if (m_refs.size() != frame.refBase)
        m_refs.resize(frame.refBase);
    if (m_stack.size() != frame.stackBase) // only after an error left values behind
        m_stack.resize(frame.stackBase);
    if (m_argRefs.size() != frame.argRefBase)
        m_argRefs.resize(frame.argRefBase);
    if (m_locks.size() != frame.lockBase)
        m_locks.resize(frame.lockBase);
    m_frames.Pop();
}

[[gnu::always_inline]] inline Vm::Frame& Vm::OpenFrame(Procedure& proc,
                                                       const Instr* code,
                                                       Value* locals,
                                                       std::size_t poolMark,
                                                       std::size_t refBase,
                                                       std::size_t lockBase) {
    ++proc.running;
    Frame& frame = m_frames.Push();
    frame.proc = &proc;
    frame.code = code;
    frame.pc = 0;
    frame.locals = locals;
    frame.poolMark = poolMark;
    frame.refBase = refBase;
    frame.stackBase = 0;
    frame.argRefBase = 0;
    frame.lockBase = lockBase;
    frame.resumeNext = false;
    frame.discardResult = false;
    return frame;
}

[[gnu::always_inline]] inline void Vm::PushValueFrame(Procedure& proc, std::size_t argc) {
    std::size_t poolMark = 0;
    Value* locals = m_pool.Allocate(static_cast<std::size_t>(proc.localCount), poolMark);
    const std::size_t refBase = m_refs.size();
    const bool byValueCode = !proc.byValueCode.empty();
    Value* args = m_stack.end() - argc;
    for (std::size_t i = 0; i < argc; ++i) {
        locals[1 + i] = std::move(args[i]);
        if (!byValueCode && proc.paramByRef[i])
            m_refs.push_back(&locals[1 + i]);
    }
    m_stack.drop(argc);
    Frame& frame = OpenFrame(proc,
                             byValueCode ? proc.byValueCode.data() : proc.code.data(),
                             locals,
                             poolMark,
                             refBase,
                             m_locks.size());
    frame.stackBase = m_stack.size();
    frame.argRefBase = m_argRefs.size();
}

[[gnu::always_inline]] inline Value& Vm::Variable(const Frame& frame, std::int32_t packed) {
    if (packed < (1 << kVarKindShift)) [[likely]] // a local: kind 0
        return frame.locals[packed];
    const std::int32_t index = packed & ((1 << kVarKindShift) - 1);
    switch (static_cast<VarKind>(packed >> kVarKindShift)) {
    case VarKind::Local:
        return frame.locals[index];
    case VarKind::Ref:
        return *m_refs[frame.refBase + static_cast<std::size_t>(index)];
    case VarKind::Global:
        break;
    case VarKind::Field:
        return static_cast<ClassInstance*>(frame.me.AsObject())->Field(index);
    case VarKind::Constant: // operands only; never a place to store
        RaiseError(501);
    }
    return m_scope.globals[static_cast<std::size_t>(index)];
}

[[gnu::always_inline]] inline const Value& Vm::Operand(const Frame& frame, std::int32_t packed) {
    if ((packed >> kVarKindShift) == static_cast<std::int32_t>(VarKind::Constant))
        return frame.proc->constants[static_cast<std::size_t>(packed & ((1 << kVarKindShift) - 1))];
    return Variable(frame, packed);
}

[[gnu::always_inline]] inline void Vm::CallProcedure(const Instr& in, std::size_t baseDepth) {
    Procedure& callee = *m_scope.procedures[static_cast<std::size_t>(in.a)];
    const auto argc = static_cast<std::size_t>(in.b);
    if (!callee.defined)
        return CallUndefined(in, baseDepth);
    if (argc != callee.paramByRef.size())
        RaiseError(450);
    if (m_frames.size() - baseDepth >= static_cast<std::size_t>(m_limits.maxDepth))
        RaiseError(28);
    if (in.c != 0)
        return PushValueFrame(callee, argc);
    PushFrame(callee,
              m_stack.data() + (m_stack.size() - argc),
              m_argRefs.data() + (m_argRefs.size() - argc),
              argc,
              true);
    m_stack.drop(argc);
    m_argRefs.drop(argc);
    m_frames.back().stackBase = m_stack.size();
    m_frames.back().argRefBase = m_argRefs.size();
}

} // namespace vbs
