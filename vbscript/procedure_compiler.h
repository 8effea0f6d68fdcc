#pragma once
// The compiler's working parts: one ProcedureCompiler per procedure body (or global code),
// its methods spread over compiler_*.cpp by what they compile, and the helpers they share.
//
//   compiler.cpp             Compile, CompileExpression, a body from start to finish
//   compiler_syntax.cpp      literal values, operator codes, what a node is
//   compiler_names.cpp       declarations, hoisting, resolving a name to a variable
//   compiler_expressions.cpp expressions and names as values
//   compiler_calls.cpp       calls, arguments, members, Err, Eval/Execute/GetRef
//   compiler_fused.cpp       the fused instructions and in-place appends
//   compiler_statements.cpp  statements, assignments, If, Select Case, Exit
//   compiler_loops.cpp       For, For Each, Do, While
//   compiler_classes.cpp     laying out a Class statement
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "vbscript/ast.h"
#include "vbscript/global_scope.h"
#include "vbscript/instructions.h"
#include "vbscript/operators.h"
#include "vbscript/procedure.h"

namespace vbs::compiling {

// What the compiler cannot accept, with the node to report it at.
struct CompileFailure {
    const Node* node;
    std::wstring what;
};

// ---- What the compiler reads off syntax nodes (compiler_syntax.cpp) ----

// A literal, possibly signed: the comparison rules treat it as the literal's type.
bool IsLiteral(const Expr* e);
Value LiteralValue(const LiteralExpr& lit);
// The instruction of a binary operator (Compare for the comparisons).
Op BinaryOpcode(BinaryOp op);
std::optional<Comparison> ComparisonOf(BinaryOp op);
// The name Err itself, whose members compile to instructions.
bool IsErrObject(const Expr* e);
// A Dim bound or Const value in a class: a literal, possibly signed.
Value ConstantValue(const Expr* e);
bool HasOptionExplicit(const Program& program);

// ---- Classes (compiler_classes.cpp) ----

// Adds a member by name; a field or method of that name already there is error "Name
// redefined".
void AddClassMember(ClassInfo& info,
                    const std::wstring& name,
                    Visibility visibility,
                    const Node* where,
                    const std::function<void(ClassInfo::Member&)>& set);

// Lays out a class: fields first, then every procedure known by name, so that the bodies
// compiled afterwards can refer to any member.
std::shared_ptr<ClassInfo> DeclareClass(const ClassStmt& st,
                                        std::vector<const ProcedureStmt*>& bodies);

// Compiles one procedure body (or a script's global code).
class ProcedureCompiler {
public:
    ProcedureCompiler(GlobalScope& scope,
                      Procedure& proc,
                      bool globalCode,
                      bool optionExplicit,
                      ClassInfo* owner = nullptr,
                      const Procedure* caller = nullptr)
        : scope_(scope), proc_(proc), globalCode_(globalCode), explicit_(optionExplicit),
          class_(owner), caller_(caller) {
        proc_.owner = owner;
    }

    void CompileProcedure(const ProcedureStmt& stmt);

    // The value of an Eval: one expression stored into the result slot as it is, so an
    // object stays an object.
    void CompileExpression(const Expr* expr);

    void CompileGlobalCode(const StmtList& statements);

    // Execute or Eval inside a procedure: `names` are the locals earlier Execute code made
    // in the running call; names this code declares join them (captured by
    // ExecutedLocalCapture) instead of becoming globals.
    void SeeExecutedLocals(std::vector<std::wstring>* names) { executed_ = names; }

private:
    struct Loop {
        bool isFor;
        std::vector<std::size_t> exits;
    };

    void Finish();
    // Procedure::byValueCode, from the finished code.
    void MakeByValueCode();

    std::int32_t Here() const { return static_cast<std::int32_t>(proc_.code.size()); }

    std::size_t Emit(Op op, std::int32_t a = 0, std::int32_t b = 0, std::int32_t c = 0) {
        proc_.code.push_back(Instr{op, 0, a, b, c});
        return proc_.code.size() - 1;
    }

    std::size_t EmitFused(Op op, std::uint8_t x, std::int32_t a, std::int32_t b, std::int32_t c) {
        proc_.code.push_back(Instr{op, x, a, b, c});
        return proc_.code.size() - 1;
    }

    void PatchA(std::size_t at) { proc_.code[at].a = Here(); }

    void EmitConst(Value v) {
        proc_.constants.push_back(std::move(v));
        Emit(Op::PushConst, static_cast<std::int32_t>(proc_.constants.size() - 1));
    }

    std::int32_t NewTemp(int count) {
        const std::int32_t first = proc_.localCount;
        proc_.localCount += count;
        return first;
    }

    // ---- Names (compiler_names.cpp) ----

    // Calls `fn` on each statement list nested directly in `s` (the branches of an If, the
    // body of a loop ...).
    template <class Fn> static void ForEachNestedBody(const Stmt* s, Fn&& fn) {
        switch (s->kind) {
        case StmtKind::If: {
            auto* st = static_cast<const IfStmt*>(s);
            for (const IfClause& clause : st->clauses)
                fn(clause.body);
            fn(st->elseBody);
            break;
        }
        case StmtKind::Select: {
            auto* st = static_cast<const SelectStmt*>(s);
            for (const CaseClause& clause : st->cases)
                fn(clause.body);
            fn(st->elseBody);
            break;
        }
        case StmtKind::For:
            fn(static_cast<const ForStmt*>(s)->body);
            break;
        case StmtKind::ForEach:
            fn(static_cast<const ForEachStmt*>(s)->body);
            break;
        case StmtKind::Do:
            fn(static_cast<const DoStmt*>(s)->body);
            break;
        case StmtKind::While:
            fn(static_cast<const WhileStmt*>(s)->body);
            break;
        case StmtKind::With:
            fn(static_cast<const WithStmt*>(s)->body);
            break;
        default:
            break;
        }
    }

    // Dim and Const anywhere in a body declare for the whole body; so does ReDim of a name
    // not already visible (a global or a field is re-dimensioned in place, and so is a
    // global declared later).
    void Hoist(const StmtList& body);
    // Stores the hoisted constants' values at the start of the body, so a constant can be
    // read above the line that declares it.
    void StoreConstants();
    // A constant of this body, or of global code: assigning it is error 501.
    bool IsConstant(std::int32_t var) const;

    // A name a procedure assigns without declaring it is its own for its whole body, unless
    // it names something already known.
    void HoistAssigned(const StmtList& body);

    bool IsFixed(std::int32_t var) const;

    const ClassInfo::Member* ClassMember(const std::wstring& name) const;

    std::int32_t Declare(const std::wstring& name);

    // A name used without a declaration. In global code it is a global. In a procedure it is
    // a local while no global of that name is declared, and the global once one is, however
    // much later: the host adds its named items after the script was compiled.
    std::int32_t DeclareImplicit(const std::wstring& name);

    // A variable of the calling procedure, reached through a ByRef parameter of this code.
    std::int32_t Capture(std::int32_t callerVariable) const;
    // The capture of Execute-made local `key` of the running call, made when new.
    std::int32_t ExecutedLocal(const std::wstring& key) const;

    std::optional<std::int32_t> FindVariable(const std::wstring& name) const;

    // A variable for writing: declared, or created on first use unless Option Explicit.
    std::int32_t VariableFor(const std::wstring& name);

    // Inside a Function its name is the result variable, yet with arguments a call.
    bool IsOwnResult(std::int32_t var) const;

    // Whether `name`, resolved to `var`, is a function's own name used as a call: with
    // arguments, or as a statement of its own.
    bool CallsItself(const std::wstring& name, std::int32_t var) const;

    std::optional<std::int32_t> FindProcedure(const std::wstring& name) const;

    // A procedure no script has declared yet: a later AddCode may supply it.
    std::int32_t ForwardProcedure(const std::wstring& name);

    std::optional<std::int32_t> FindBuiltinIndex(const std::wstring& name);

    void EmitLoad(std::int32_t var);

    void EmitStore(std::int32_t var);

    std::int32_t NameConstant(const std::wstring& name);

    // ---- Expressions (compiler_expressions.cpp) ----

    void CompileExpr(const Expr* e);

    void CompileName(const std::wstring& name);

    void CompileValues(const std::vector<Expr*>& args);

    // ---- Calls and members (compiler_calls.cpp) ----

    // Eval, Execute, ExecuteGlobal and GetRef reach into the engine, so they are
    // instructions rather than built-ins.
    bool CompileEngineFunction(const std::wstring& name,
                               const std::vector<Expr*>& args,
                               bool wantResult);

    // callee(args) in an expression (wantResult) or as a statement.
    void CompileCall(const Expr* callee, const std::vector<Expr*>& args, bool wantResult);

    // How an argument is passed: a bare variable or array element goes by reference;
    // anything else, a parenthesised variable included, by value.
    enum class ArgumentKind { Value, Element, Variable, NewVariable };

    ArgumentKind KindOf(const Expr* arg) const;

    // `marked`: a by-value argument is marked as such (ArgValue), for calls that take the
    // places of their arguments.
    void CompileArgument(const Expr* arg, bool marked = true);

    // The object of "obj.name": the expression, or the With object for ".name".
    void CompileObject(const MemberExpr* member);

    void CompileMember(const MemberExpr* member, const std::vector<Expr*>& args, bool wantResult);

    // The Err object's members compile to instructions on the error state.
    void
    CompileErrMember(const MemberExpr* member, const std::vector<Expr*>& args, bool wantResult);

    // ---- Fused instructions (compiler_fused.cpp) ----

    // A variable or literal a fused instruction can read in place.
    bool IsSimple(const Expr* e) const;

    std::int32_t SimpleOperand(const Expr* e);

    static std::optional<FusedOp> FusedOf(BinaryOp op);

    // "a op b" on variables and literals: the operator and its two operands.
    std::optional<FusedOp> FusableArithmetic(const Expr* e) const;

    // A condition "a cmp b" with b a variable or literal as one compare-and-jump, reading a
    // in place too when it is one, else computing it first.
    bool
    EmitCompareJump(const Expr* condition, bool jumpWhenTrue, std::int32_t target, std::size_t* at);

    // "s = s & a & b" appends to s in place instead of copying it, which keeps building text
    // in a loop linear. The operands are all evaluated first, so a failing one leaves s as
    // it was and an operand reading s sees its old value.
    bool CompileAppend(std::int32_t var, const std::wstring& name, const Expr* value);

    static bool Mentions(const Expr* e, const std::wstring& key);
    // Evaluating `e` runs no code and has no effect: a literal, a variable or a constant.
    bool IsQuiet(const Expr* e) const;

    // ---- Statements (compiler_statements.cpp) ----

    void CompileBody(const StmtList& body);

    // An error while evaluating a statement's header resumes into its body, as the language
    // does for "If" under On Error Resume Next.
    void MarkHeader(std::int32_t begin, int line);

    void CompileCondition(const Expr* condition, Op jump, std::size_t& jumpAt, int line);

    void CompileStmt(const Stmt* s);
    // `Call CInt(...)`: a conversion built-in the script did not replace with its own name.
    bool IsConversionCalled(const Expr* callee) const;

    void CompileAssign(const AssignStmt* st);

    void CompileIf(const IfStmt* st);

    void CompileSelect(const SelectStmt* st);

    void CompileExit(const ExitStmt* st);

    // ---- Loops (compiler_loops.cpp) ----

    void CompileFor(const ForStmt* st);

    void CompileForEach(const ForEachStmt* st);

    // A loop tested at the top: the test is repeated after the body, so a pass takes one
    // jump instead of two. An error in either copy resumes into the body.
    void
    CompileTopTestedLoop(const Expr* condition, bool whileTrue, const StmtList& body, int line);

    void CompileDo(const DoStmt* st);

    void PatchExits();

    GlobalScope& scope_;
    Procedure& proc_;
    const bool globalCode_;
    const bool explicit_;
    ClassInfo* const class_;
    const Procedure* const caller_; // Eval and Execute code: the procedure they run in
    std::vector<std::wstring>* executed_ = nullptr;
    std::unordered_map<std::wstring, std::int32_t> locals_;
    std::vector<Loop> loops_;
    std::vector<std::size_t> exitProcedure_;
    std::vector<std::int32_t> withTemps_;
    std::vector<std::int32_t> fixed_;
    // The body's Const declarations, with the variables they declared.
    std::vector<std::pair<const ConstDecl*, std::int32_t>> constants_;
};

} // namespace vbs::compiling
