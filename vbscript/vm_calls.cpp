// Calls the loop hands out: frames for procedures called by instructions other than Call
// (whose frame the loop pushes inline), a class calling its own methods, and built-ins.
#include <string_view>

#include "vbscript/builtins.h"
#include "vbscript/script_error.h"
#include "vbscript/vm.h"
#include "vbscript/vm_frames.h"

namespace vbs {

namespace {

// Built-ins that ask about the value itself rather than use it.
bool InspectsObjects(const Builtin& builtin) {
    for (const wchar_t* name : {L"TypeName", L"IsObject", L"IsEmpty", L"IsNull", L"IsArray"}) {
        if (std::wstring_view(builtin.name) == name)
            return true;
    }
    return false;
}

} // namespace

void Vm::EnterCall(Procedure& proc,
                   std::size_t argc,
                   bool withRefs,
                   Value me,
                   bool discard,
                   std::size_t baseDepth) {
    if (!proc.defined)
        throw ScriptError{err::TypeMismatch, L"Type mismatch: '" + proc.name + L"'"};
    if (argc != proc.paramByRef.size())
        RaiseError(450);
    if (m_frames.size() - baseDepth >= static_cast<std::size_t>(m_limits.maxDepth))
        RaiseError(28);
    if (!withRefs)
        m_argRefs.resize(m_argRefs.size() + argc);
    PushFrame(proc,
              m_stack.data() + (m_stack.size() - argc),
              m_argRefs.data() + (m_argRefs.size() - argc),
              argc,
              true);
    m_stack.resize(m_stack.size() - argc);
    m_argRefs.resize(m_argRefs.size() - argc);
    Frame& frame = m_frames.back();
    frame.stackBase = m_stack.size();
    frame.argRefBase = m_argRefs.size();
    frame.me = std::move(me);
    frame.discardResult = discard;
}

void Vm::CallUndefined(const Instr& in, std::size_t baseDepth) {
    const Procedure& callee = *m_scope.procedures[static_cast<std::size_t>(in.a)];
    const std::int32_t global = m_scope.globalIndex.Find(callee.name);
    const auto argc = static_cast<std::size_t>(in.b);
    const Value* value = global >= 0 && m_scope.declared[static_cast<std::size_t>(global)]
                             ? &m_scope.globals[static_cast<std::size_t>(global)]
                             : nullptr;
    if (value && argc == 0) { // the name alone: the variable's value
        m_stack.push_back(*value);
        return;
    }
    if (!value || (value->Type() != VarType::Array && value->Type() != VarType::Object))
        throw ScriptError{err::TypeMismatch, L"Type mismatch: '" + callee.name + L"'"};
    if (in.c != 0) // arguments passed without places get empty ones
        m_argRefs.resize(m_argRefs.size() + argc);
    m_stack.insert(m_stack.end() - static_cast<std::ptrdiff_t>(argc), *value);
    MemberCall(L"", Access::Get, argc, baseDepth);
}

void Vm::CallOwnMethod(const Instr& in, Frame& frame, std::size_t baseDepth) {
    const auto& info = static_cast<ClassInstance*>(frame.me.AsObject())->Info();
    EnterCall(*info.procedures[static_cast<std::size_t>(in.a)],
              static_cast<std::size_t>(in.b),
              true,
              frame.me,
              false,
              baseDepth);
}

void Vm::CallBuiltin(const Instr& in, Frame& frame) {
    const Builtin& builtin = *m_scope.builtins[static_cast<std::size_t>(in.a)];
    if (in.b < builtin.minArgs || (builtin.maxArgs >= 0 && in.b > builtin.maxArgs))
        RaiseError(450);
    const std::size_t first = m_stack.size() - static_cast<std::size_t>(in.b);
    if (!InspectsObjects(builtin)) {
        for (std::size_t i = first; i < m_stack.size(); ++i) {
            if (m_stack[i].Type() == VarType::Object)
                ResolveValues(std::span<Value>(&m_stack[i], 1), frame, frame.pc);
        }
    }
    Value result = builtin.function(
        &m_runtime, std::span<Value>(m_stack.data() + first, static_cast<std::size_t>(in.b)));
    m_stack.resize(first);
    m_stack.push_back(std::move(result));
}

} // namespace vbs
