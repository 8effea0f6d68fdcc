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
                      0,
                      kCompileErrorSource};
}

} // namespace

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
    ExecutedLocals* executed = ExecutedLocalsAt(m_frames.size() - 1, false);
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
    // In a procedure's call new names are its locals; global code (and the code of Eval and
    // Execute, like it nameless) declares globals.
    ExecutedLocals* executed = caller && !caller->proc->name.empty()
                                   ? ExecutedLocalsAt(m_frames.size() - 1, true)
                                   : nullptr;
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
            executed = ExecutedLocalsAt(m_frames.size() - 1, false);
        places[i].ref =
            &executed->values[static_cast<std::size_t>(capture & ((1 << kVarKindShift) - 1))];
    }
    return RunFrame(code, nullptr, places, caller ? caller->me : Value());
}

Vm::ExecutedLocals* Vm::ExecutedLocalsAt(std::size_t depth, bool make) {
    if (!m_executedLocals.empty() && m_executedLocals.back().depth == depth)
        return &m_executedLocals.back();
    if (!make)
        return nullptr;
    m_executedLocals.push_back(ExecutedLocals{depth, {}, {}});
    return &m_executedLocals.back();
}

void Vm::DropExecutedLocals() {
    const std::size_t depth = m_frames.size() - 1;
    while (!m_executedLocals.empty() && m_executedLocals.back().depth >= depth)
        m_executedLocals.pop_back();
}

Value Vm::ProcedureRefTo(const Value& name) {
    auto it = m_scope.procedureIndex.find(FoldCase(ToString(name)));
    if (it == m_scope.procedureIndex.end() ||
        !m_scope.procedures[static_cast<std::size_t>(it->second)]->defined)
        RaiseError(err::InvalidCall);
    return Value::FromObject(new ProcedureRef(it->second));
}

} // namespace vbs
