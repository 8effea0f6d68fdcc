// On Error, the Err object (its frequent members as instructions, and itself as a value),
// and the errors the compiler raises.
#include "vbscript/err_object.h"
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
    case Op::LoadErr:
        m_stack.push_back(Value::FromObject(new ErrObject(m_runtime.SharedErr())));
        return;
    default: // Raise, the only other one the loop hands out
        RaiseError(in.a);
    }
}

} // namespace vbs
