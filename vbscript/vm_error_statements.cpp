// On Error, the Err object's members the compiler turns into instructions, and the errors
// a script raises.
#include "vbscript/coerce.h"
#include "vbscript/script_error.h"
#include "vbscript/vm.h"

namespace vbs {

void Vm::ErrorStatement(const Instr& in, Frame& frame) {
    switch (in.op) {
    case Op::OnErrorResumeNext:
        frame.resumeNext = true;
        m_runtime.ClearErr();
        return;
    case Op::OnErrorGoto0:
        frame.resumeNext = false;
        m_runtime.ClearErr();
        return;
    case Op::ErrNumber:
        m_stack.push_back(Value::Long(m_runtime.Err().number));
        return;
    case Op::ErrDescription:
        m_stack.push_back(Value::String(m_runtime.Err().description));
        return;
    case Op::ErrSource:
        m_stack.push_back(Value::String(m_runtime.Err().source));
        return;
    case Op::ErrClear:
        m_runtime.ClearErr();
        return;
    case Op::ErrRaise:
        RaiseFromStack(in.b);
    default: // Raise, the only other one the loop hands out
        RaiseError(in.a);
    }
}

void Vm::RaiseFromStack(int argc) {
    const std::size_t first = m_stack.size() - static_cast<std::size_t>(argc);
    const int number = ToLong(m_stack[first]);
    const auto text = [&](std::size_t i, std::wstring fallback) {
        return static_cast<int>(i) < argc && !m_stack[first + i].IsEmpty()
                   ? ToString(m_stack[first + i])
                   : fallback;
    };
    m_runtime.Err().source = text(1, L"");
    const std::wstring description = text(2, StandardErrorDescription(number));
    m_stack.resize(first);
    throw ScriptError{number, description};
}

} // namespace vbs
