#include "vbscript/procedure_compiler.h"

namespace vbs::compiling {

void ProcedureCompiler::CompileFor(const ForStmt* st) {
    const std::int32_t temps = NewTemp(2); // limit, step
    // A header that fails under On Error Resume Next leaves this mark for ForNext (error 92).
    EmitConst(Value::Error(0));
    Emit(Op::StoreLocal, temps + 1);
    const std::int32_t begin = Here();
    const std::int32_t var = VariableFor(st->variable);
    CompileExpr(st->from);
    CompileExpr(st->to);
    Emit(Op::StoreLocal, temps);
    if (st->step)
        CompileExpr(st->step);
    else
        EmitConst(Value::Integer(1));
    Emit(Op::StoreLocal, temps + 1);
    EmitStore(var);
    const std::size_t start = Emit(Op::ForStart, var, temps);
    MarkHeader(begin, st->line);
    const std::int32_t body = Here();
    loops_.push_back(Loop{true, {}});
    CompileBody(st->body);
    Emit(Op::ForNext, var, temps, body);
    proc_.code[start].c = Here();
    PatchExits();
}

void ProcedureCompiler::CompileForEach(const ForEachStmt* st) {
    const std::int32_t temps = NewTemp(3); // the array, the next position, walking items
    // A header that fails under On Error Resume Next leaves the array Empty, so Next ends
    // the loop instead of walking what an earlier pass left there.
    EmitConst(Value());
    Emit(Op::StoreLocal, temps);
    const std::int32_t begin = Here();
    const std::int32_t var = VariableFor(st->variable);
    CompileExpr(st->collection);
    const std::size_t start = Emit(Op::ForEachStart, var, temps);
    MarkHeader(begin, st->line);
    const std::int32_t body = Here();
    loops_.push_back(Loop{true, {}});
    CompileBody(st->body);
    Emit(Op::ForEachNext, var, temps, body);
    proc_.code[start].c = Here();
    PatchExits();
}

void ProcedureCompiler::CompileTopTestedLoop(const Expr* condition,
                                             bool whileTrue,
                                             const StmtList& body,
                                             int line) {
    std::size_t exit = 0;
    const std::int32_t top = Here();
    CompileCondition(condition, whileTrue ? Op::JumpIfFalse : Op::JumpIfTrue, exit, line);
    const std::int32_t bodyStart = Here();
    CompileBody(body);
    if (!scope_.fastPaths) { // the plain form: back to the test at the top
        Emit(Op::Jump, top);
        PatchA(exit);
        return;
    }
    const std::int32_t begin = Here();
    if (!EmitCompareJump(condition, whileTrue, bodyStart, nullptr)) {
        CompileExpr(condition);
        Emit(whileTrue ? Op::JumpIfTrue : Op::JumpIfFalse, bodyStart);
    }
    proc_.statements.push_back(StatementRange{begin, Here(), bodyStart, line});
    PatchA(exit);
}

void ProcedureCompiler::CompileDo(const DoStmt* st) {
    loops_.push_back(Loop{false, {}});
    if (st->test == LoopTest::WhileTop || st->test == LoopTest::UntilTop) {
        CompileTopTestedLoop(st->condition, st->test == LoopTest::WhileTop, st->body, st->line);
        PatchExits();
        return;
    }
    const std::int32_t top = Here();
    CompileBody(st->body);
    if (st->test == LoopTest::WhileBottom || st->test == LoopTest::UntilBottom) {
        const std::int32_t begin = Here();
        const bool whenTrue = st->test == LoopTest::WhileBottom;
        if (!EmitCompareJump(st->condition, whenTrue, top, nullptr)) {
            CompileExpr(st->condition);
            Emit(whenTrue ? Op::JumpIfTrue : Op::JumpIfFalse, top);
        }
        MarkHeader(begin, st->line);
    } else {
        Emit(Op::Jump, top);
    }
    PatchExits();
}

void ProcedureCompiler::PatchExits() {
    for (std::size_t at : loops_.back().exits)
        PatchA(at);
    loops_.pop_back();
}

} // namespace vbs::compiling
