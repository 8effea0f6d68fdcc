#include "vbscript/procedure_compiler.h"

#include <algorithm>
#include <string_view>

namespace vbs::compiling {

void ProcedureCompiler::CompileBody(const StmtList& body) {
    for (const Stmt* s : body) {
        const std::int32_t begin = Here();
        CompileStmt(s);
        proc_.statements.push_back(StatementRange{begin, Here(), Here(), s->line});
    }
}

void ProcedureCompiler::MarkHeader(std::int32_t begin, int line) {
    proc_.statements.push_back(StatementRange{begin, Here(), Here(), line});
}

void ProcedureCompiler::CompileCondition(const Expr* condition,
                                         Op jump,
                                         std::size_t& jumpAt,
                                         int line) {
    const std::int32_t begin = Here();
    if (!EmitCompareJump(condition, jump == Op::JumpIfTrue, 0, &jumpAt)) {
        CompileExpr(condition);
        jumpAt = Emit(jump);
    }
    MarkHeader(begin, line);
}

bool ProcedureCompiler::IsConversionCalled(const Expr* callee) const {
    if (callee->kind != ExprKind::Name)
        return false;
    const std::wstring& name = static_cast<const NameExpr*>(callee)->name;
    if (FindVariable(name) || FindProcedure(name) || ClassMember(name))
        return false;
    static constexpr std::wstring_view kConversions[] = {
        L"cbool", L"cbyte", L"ccur", L"cdate", L"cdbl", L"cint", L"clng", L"csng", L"cstr"};
    return std::ranges::find(kConversions, FoldCase(name)) != std::end(kConversions);
}

void ProcedureCompiler::CompileStmt(const Stmt* s) {
    switch (s->kind) {
    case StmtKind::OptionExplicit:
    case StmtKind::Stop:
        return;
    case StmtKind::Dim:
        for (const VarDecl& v : static_cast<const DimStmt*>(s)->vars) {
            if (v.upperBounds.empty()) {
                // Dim a(): an array without dimensions until ReDim gives it some.
                if (v.isArray)
                    Emit(Op::DimArray, Declare(v.name), 0);
                continue;
            }
            CompileValues(v.upperBounds);
            const std::int32_t var = Declare(v.name);
            fixed_.push_back(var);
            if (globalCode_)
                scope_.fixedArrays.push_back(var);
            Emit(Op::DimArray, var, static_cast<std::int32_t>(v.upperBounds.size()));
        }
        return;
    case StmtKind::ReDim: {
        auto* st = static_cast<const ReDimStmt*>(s);
        for (const VarDecl& v : st->vars) {
            const auto found = FindVariable(v.name);
            const std::int32_t var = found ? *found : Declare(v.name);
            if (IsFixed(var)) {
                Emit(Op::Raise, 10);
                continue;
            }
            CompileValues(v.upperBounds);
            Emit(Op::ReDim,
                 var,
                 static_cast<std::int32_t>(v.upperBounds.size()),
                 st->preserve ? 1 : 0);
        }
        return;
    }
    case StmtKind::Const: // stored where the body starts
        return;
    case StmtKind::Assign:
    case StmtKind::Set:
        return CompileAssign(static_cast<const AssignStmt*>(s));
    case StmtKind::Call: {
        auto* st = static_cast<const CallStmt*>(s);
        if (st->callee->kind == ExprKind::Name && st->args.empty()) {
            // A variable on its own invokes its default member; a function's own name calls
            // the function again.
            const std::wstring& name = static_cast<const NameExpr*>(st->callee)->name;
            if (auto var = FindVariable(name); var && !CallsItself(name, *var)) {
                EmitLoad(*var);
                Emit(Op::Member, NameConstant(L""), 0, static_cast<std::int32_t>(Access::Call));
                Emit(Op::Pop);
                return;
            }
        }
        if (st->withCallKeyword && IsConversionCalled(st->callee)) {
            // The conversions only answer values: Call cannot run them.
            Emit(Op::Raise, 458);
            return;
        }
        return CompileCall(st->callee, st->args, false);
    }
    case StmtKind::If:
        return CompileIf(static_cast<const IfStmt*>(s));
    case StmtKind::Select:
        return CompileSelect(static_cast<const SelectStmt*>(s));
    case StmtKind::For:
        return CompileFor(static_cast<const ForStmt*>(s));
    case StmtKind::ForEach:
        return CompileForEach(static_cast<const ForEachStmt*>(s));
    case StmtKind::Do:
        return CompileDo(static_cast<const DoStmt*>(s));
    case StmtKind::While: {
        auto* st = static_cast<const WhileStmt*>(s);
        CompileTopTestedLoop(st->condition, true, st->body, s->line);
        return;
    }
    case StmtKind::Exit:
        return CompileExit(static_cast<const ExitStmt*>(s));
    case StmtKind::OnError:
        Emit(static_cast<const OnErrorStmt*>(s)->resumeNext ? Op::OnErrorResumeNext
                                                            : Op::OnErrorGoto0);
        return;
    case StmtKind::Procedure:
        if (!globalCode_)
            throw CompileFailure{s, L"A procedure cannot be declared inside another"};
        return; // compiled on its own
    case StmtKind::Erase:
        for (const std::wstring& name : static_cast<const EraseStmt*>(s)->names) {
            const std::int32_t var = VariableFor(name);
            Emit(Op::Erase, var, IsFixed(var) ? 1 : 0);
        }
        return;
    case StmtKind::With: {
        auto* st = static_cast<const WithStmt*>(s);
        const std::int32_t temp = NewTemp(1);
        const std::int32_t begin = Here();
        CompileExpr(st->object);
        Emit(Op::RequireObject);
        Emit(Op::SetVar, PackVariable(VarKind::Local, temp));
        MarkHeader(begin, s->line);
        withTemps_.push_back(temp);
        CompileBody(st->body);
        withTemps_.pop_back();
        EmitConst(Value());
        Emit(Op::StoreLocal, temp);
        return;
    }
    case StmtKind::Class:
        if (!globalCode_)
            throw CompileFailure{s, L"A class cannot be declared inside a procedure"};
        return; // compiled on its own
    }
}

void ProcedureCompiler::CompileAssign(const AssignStmt* st) {
    const Expr* target = st->target;
    const bool isSet = st->kind == StmtKind::Set;
    const auto access = static_cast<std::int32_t>(isSet ? Access::Set : Access::Let);
    if (target->kind == ExprKind::Name) {
        const std::wstring& name = static_cast<const NameExpr*>(target)->name;
        if (!FindVariable(name)) {
            if (const ClassInfo::Member* member = ClassMember(name);
                member && (member->let >= 0 || member->set >= 0)) {
                Emit(Op::LoadMe);
                CompileExpr(st->value);
                Emit(Op::StoreMember, NameConstant(name), 0, access);
                return;
            }
            if (FindProcedure(name)) {
                Emit(Op::Raise, 501);
                return;
            }
        }
        const std::int32_t var = VariableFor(name);
        if (IsConstant(var)) {
            Emit(Op::Raise, 501);
            return;
        }
        if (!isSet && CompileAppend(var, name, st->value))
            return;
        if (auto fused = isSet ? std::nullopt : FusableArithmetic(st->value)) {
            auto* b = static_cast<const BinaryExpr*>(st->value);
            const std::int32_t left = SimpleOperand(b->left);
            const std::int32_t right = SimpleOperand(b->right);
            const bool updatesItself = left == var && *fused != FusedOp::Multiply;
            EmitFused(updatesItself ? Op::UpdateVar : Op::BinaryTo,
                      static_cast<std::uint8_t>(*fused),
                      var,
                      left,
                      right);
            return;
        }
        if (!isSet && IsSimple(st->value)) {
            Emit(Op::Move, var, SimpleOperand(st->value));
            return;
        }
        CompileExpr(st->value);
        if (isSet)
            Emit(Op::SetVar, var);
        else
            EmitStore(var);
        return;
    }
    if (target->kind == ExprKind::Call) {
        auto* call = static_cast<const CallExpr*>(target);
        const auto argc = static_cast<std::int32_t>(call->args.size());
        if (call->callee->kind == ExprKind::Name) {
            const std::int32_t var = VariableFor(static_cast<const NameExpr*>(call->callee)->name);
            CompileValues(call->args);
            CompileExpr(st->value);
            Emit(isSet ? Op::SetElement : Op::StoreElement, var, argc);
            return;
        }
        if (call->callee->kind == ExprKind::Member) {
            auto* member = static_cast<const MemberExpr*>(call->callee);
            CompileObject(member);
            CompileValues(call->args);
            CompileExpr(st->value);
            Emit(Op::StoreMember, NameConstant(member->name), argc, access);
            return;
        }
        CompileExpr(call->callee);
        CompileValues(call->args);
        CompileExpr(st->value);
        Emit(Op::StoreMember, NameConstant(L""), argc, access);
        return;
    }
    if (target->kind == ExprKind::Member) {
        auto* member = static_cast<const MemberExpr*>(target);
        CompileObject(member);
        CompileExpr(st->value);
        Emit(Op::StoreMember, NameConstant(member->name), 0, access);
        return;
    }
    throw CompileFailure{target, L"Illegal assignment"};
}

void ProcedureCompiler::CompileIf(const IfStmt* st) {
    std::vector<std::size_t> toEnd;
    for (const IfClause& clause : st->clauses) {
        std::size_t next = 0;
        CompileCondition(clause.condition, Op::JumpIfFalse, next, st->line);
        CompileBody(clause.body);
        toEnd.push_back(Emit(Op::Jump));
        PatchA(next);
    }
    CompileBody(st->elseBody);
    for (std::size_t at : toEnd)
        PatchA(at);
}

void ProcedureCompiler::CompileSelect(const SelectStmt* st) {
    const std::int32_t subject = NewTemp(1);
    const std::int32_t begin = Here();
    CompileExpr(st->subject);
    Emit(Op::StoreLocal, subject);
    // A subject that fails under On Error Resume Next runs no Case: resume after End Select.
    const std::size_t header = proc_.statements.size();
    MarkHeader(begin, st->line);
    const std::int32_t subjectLiteral = IsLiteral(st->subject) ? 1 : 0;
    std::vector<std::size_t> toEnd;
    for (const CaseClause& clause : st->cases) {
        std::vector<std::size_t> toBody;
        for (const CaseTest& test : clause.tests) {
            const std::int32_t flags = subjectLiteral | (IsLiteral(test.value) ? 2 : 0);
            Emit(Op::LoadLocal, subject);
            CompileExpr(test.value);
            if (test.kind == CaseTestKind::Range) {
                Emit(Op::Compare, static_cast<std::int32_t>(Comparison::GreaterEqual), flags);
                const std::size_t skip = Emit(Op::JumpIfFalse);
                Emit(Op::LoadLocal, subject);
                CompileExpr(test.upper);
                Emit(Op::Compare,
                     static_cast<std::int32_t>(Comparison::LessEqual),
                     subjectLiteral | (IsLiteral(test.upper) ? 2 : 0));
                toBody.push_back(Emit(Op::JumpIfTrue));
                PatchA(skip);
                continue;
            }
            const auto cmp =
                test.kind == CaseTestKind::Is ? ComparisonOf(test.compare) : Comparison::Equal;
            if (!cmp)
                throw CompileFailure{st, L"Case Is needs a comparison"};
            Emit(Op::Compare, static_cast<std::int32_t>(*cmp), flags);
            toBody.push_back(Emit(Op::JumpIfTrue));
        }
        const std::size_t nextCase = Emit(Op::Jump);
        for (std::size_t at : toBody)
            PatchA(at);
        CompileBody(clause.body);
        toEnd.push_back(Emit(Op::Jump));
        PatchA(nextCase);
    }
    CompileBody(st->elseBody);
    for (std::size_t at : toEnd)
        PatchA(at);
    proc_.statements[header].resume = Here();
}

void ProcedureCompiler::CompileExit(const ExitStmt* st) {
    if (st->what == ExitKind::Do || st->what == ExitKind::For) {
        const bool wantFor = st->what == ExitKind::For;
        for (auto it = loops_.rbegin(); it != loops_.rend(); ++it) {
            if (it->isFor == wantFor) {
                it->exits.push_back(Emit(Op::Jump));
                return;
            }
        }
        throw CompileFailure{st, L"Invalid 'exit' statement"};
    }
    if (globalCode_)
        throw CompileFailure{st, L"Invalid 'exit' statement"};
    exitProcedure_.push_back(Emit(Op::Jump));
}

} // namespace vbs::compiling
