#include <deque>

#include "vbscript/coerce.h"
#include "vbscript/compiler.h"
#include "vbscript/parser.h"
#include "vbscript/script_error.h"
#include "vbscript/vm.h"
#include "vbscript/vm_frames.h"

namespace vbs {

namespace {

// Inside Eval and Execute every compile error is a run-time "Syntax error"; running out of
// nesting stays error 28.
[[noreturn]] void RaiseCompileError(const SyntaxError& error) {
    if (error.number == syntax_errors::kOutOfStackSpace)
        throw ScriptError{error.number, error.description};
    throw ScriptError{syntax_errors::kSyntaxError,
                      StandardErrorDescription(syntax_errors::kSyntaxError),
                      false,
                      ScriptError::Origin::Compiler};
}

} // namespace

// Names Execute declared in one call of a procedure, and their values.
class ExecutedLocals final : public Object {
public:
    std::vector<std::wstring> names; // folded
    std::deque<Value> values;        // a deque: ByRef places into it stay valid
};

void Vm::RunCodeText(const Instr& in, Frame& frame) {
    Value text = std::move(m_stack.back());
    m_stack.pop_back();
    if (in.op == Op::Eval) {
        Value result = EvalText(text, frame);
        m_stack.push_back(std::move(result));
        return;
    }
    ExecuteText(text, in.a != 0 ? &frame : nullptr);
}

Value Vm::EvalText(const Value& text, const Frame& caller) {
    ParseResult parsed = ParseExpression(ToString(text));
    if (parsed.error)
        RaiseCompileError(*parsed.error);
    std::unique_ptr<Procedure> code;
    SyntaxError failure;
    ExecutedLocals* executed = ExecutedLocalsOf(caller, false);
    if (!CompileExpression(*parsed.program,
                           m_scope,
                           code,
                           failure,
                           caller.proc,
                           executed ? &executed->names : nullptr))
        RaiseCompileError(failure);
    return RunInScope(*code, &caller);
}

void Vm::ExecuteText(const Value& text, const Frame* caller) {
    // Statements must come as text; an expression's value is not converted to some.
    if (text.Type() != VarType::String)
        RaiseError(err::TypeMismatch);
    ParseResult parsed = Parse(ToString(text));
    if (parsed.error)
        RaiseCompileError(*parsed.error);
    std::unique_ptr<Procedure> code;
    SyntaxError failure;
    // Global code, and the code of Eval and Execute, has no slot for them: its Execute
    // declares globals.
    ExecutedLocals* executed = caller ? ExecutedLocalsOf(*caller, true) : nullptr;
    const bool compiled = Compile(*parsed.program,
                                  m_scope,
                                  code,
                                  failure,
                                  caller ? caller->proc : nullptr,
                                  executed ? &executed->names : nullptr);
    if (executed) // new names get their places even when the text fails to compile
        executed->values.resize(executed->names.size());
    if (!compiled)
        RaiseCompileError(failure);
    RunInScope(*code, caller);
}

Value Vm::RunInScope(Procedure& code, const Frame* caller) {
    std::vector<ArgPlace> places(code.captures.size());
    ExecutedLocals* executed = nullptr;
    for (std::size_t i = 0; i < places.size(); ++i) {
        const std::int32_t capture = code.captures[i];
        if ((capture >> kVarKindShift) != static_cast<std::int32_t>(VarKind::Constant)) {
            places[i].ref = &Variable(*caller, capture);
            continue;
        }
        if (!executed)
            executed = ExecutedLocalsOf(*caller, false);
        places[i].ref =
            &executed->values[static_cast<std::size_t>(capture & ((1 << kVarKindShift) - 1))];
    }
    return RunFrame(code, nullptr, places, caller ? caller->me : Value());
}

ExecutedLocals* Vm::ExecutedLocalsOf(const Frame& frame, bool make) {
    if (frame.proc->executedLocals < 0)
        return nullptr;
    Value& slot = frame.locals[frame.proc->executedLocals];
    if (slot.IsEmpty() && make)
        slot = Value::FromObject(new ExecutedLocals);
    return slot.IsEmpty() ? nullptr : static_cast<ExecutedLocals*>(slot.AsObject());
}

Value Vm::ProcedureRefTo(const Value& name) {
    auto it = m_scope.procedureIndex.find(FoldCase(ToString(name)));
    if (it == m_scope.procedureIndex.end() ||
        !m_scope.procedures[static_cast<std::size_t>(it->second)]->defined)
        RaiseError(err::InvalidCall);
    return Value::FromObject(new ProcedureRef(it->second, m_instances));
}

} // namespace vbs
