#include "vbscript/compiler.h"

#include <algorithm>
#include <functional>
#include <optional>

#include "vbscript/coerce.h"
#include "vbscript/constants.h"
#include "vbscript/operators.h"
#include "vbscript/script_error.h"

namespace vbs {

namespace {

struct CompileFailure {
    const Node* node;
    std::wstring what;
};

[[noreturn]] void Unsupported(const Node* node, const wchar_t* what) {
    throw CompileFailure{node, std::wstring(L"Not supported yet: ") + what};
}

bool IsLiteral(const Expr* e) {
    if (e->kind == ExprKind::Unary && static_cast<const UnaryExpr*>(e)->op != UnaryOp::Not)
        e = static_cast<const UnaryExpr*>(e)->operand;
    return e->kind == ExprKind::Literal;
}

Value LiteralValue(const LiteralExpr& lit) {
    switch (lit.literal) {
    case LiteralKind::Integer:
        if (lit.form != IntegerForm::Decimal) {
            const auto pattern = static_cast<std::uint32_t>(lit.integer);
            if (!lit.longSuffix && pattern <= 0xFFFF)
                return Value::Integer(static_cast<std::int16_t>(pattern));
            return Value::Long(static_cast<std::int32_t>(pattern));
        }
        if (lit.integer >= -32768 && lit.integer <= 32767 && !lit.longSuffix)
            return Value::Integer(static_cast<std::int16_t>(lit.integer));
        if (lit.integer >= INT32_MIN && lit.integer <= INT32_MAX)
            return Value::Long(static_cast<std::int32_t>(lit.integer));
        return Value::Double(static_cast<double>(lit.integer));
    case LiteralKind::Double:
        return Value::Double(lit.number);
    case LiteralKind::String:
        return Value::String(lit.text);
    case LiteralKind::Date: {
        double date = 0;
        if (!ParseDate(lit.text, date))
            throw CompileFailure{&lit, L"Invalid date literal"};
        return Value::Date(date);
    }
    case LiteralKind::True:
        return Value::Boolean(true);
    case LiteralKind::False:
        return Value::Boolean(false);
    case LiteralKind::Nothing:
        return Value::Nothing();
    case LiteralKind::Empty:
        return Value();
    case LiteralKind::Null:
        return Value::Null();
    }
    return Value();
}

Op BinaryOpcode(BinaryOp op) {
    switch (op) {
    case BinaryOp::Power:
        return Op::Power;
    case BinaryOp::Multiply:
        return Op::Multiply;
    case BinaryOp::Divide:
        return Op::Divide;
    case BinaryOp::IntDivide:
        return Op::IntDivide;
    case BinaryOp::Mod:
        return Op::Mod;
    case BinaryOp::Add:
        return Op::Add;
    case BinaryOp::Subtract:
        return Op::Subtract;
    case BinaryOp::Concat:
        return Op::Concat;
    case BinaryOp::Is:
        return Op::Is;
    case BinaryOp::And:
        return Op::And;
    case BinaryOp::Or:
        return Op::Or;
    case BinaryOp::Xor:
        return Op::Xor;
    case BinaryOp::Eqv:
        return Op::Eqv;
    case BinaryOp::Imp:
        return Op::Imp;
    default:
        return Op::Compare;
    }
}

std::optional<Comparison> ComparisonOf(BinaryOp op) {
    switch (op) {
    case BinaryOp::Equal:
        return Comparison::Equal;
    case BinaryOp::NotEqual:
        return Comparison::NotEqual;
    case BinaryOp::Less:
        return Comparison::Less;
    case BinaryOp::Greater:
        return Comparison::Greater;
    case BinaryOp::LessEqual:
        return Comparison::LessEqual;
    case BinaryOp::GreaterEqual:
        return Comparison::GreaterEqual;
    default:
        return std::nullopt;
    }
}

bool IsErrObject(const Expr* e) {
    return e && e->kind == ExprKind::Name &&
           FoldCase(static_cast<const NameExpr*>(e)->name) == L"err";
}

// Compiles one procedure body (or a script's global code).
class ProcedureCompiler {
public:
    ProcedureCompiler(GlobalScope& scope, Procedure& proc, bool globalCode, bool optionExplicit,
                      ClassInfo* owner = nullptr, const Procedure* caller = nullptr)
        : scope_(scope), proc_(proc), globalCode_(globalCode), explicit_(optionExplicit),
          class_(owner), caller_(caller) {
        proc_.owner = owner;
    }

    void CompileProcedure(const ProcedureStmt& stmt) {
        proc_.isFunction =
            stmt.procKind == ProcedureKind::Function || stmt.procKind == ProcedureKind::PropertyGet;
        proc_.localCount = 1 + static_cast<int>(stmt.params.size());
        int refCount = 0;
        for (std::size_t i = 0; i < stmt.params.size(); ++i) {
            const Param& p = stmt.params[i];
            proc_.paramByRef.push_back(p.byRef);
            const std::int32_t slot = static_cast<std::int32_t>(1 + i);
            locals_[FoldCase(p.name)] = p.byRef ? PackVariable(VarKind::Ref, refCount++)
                                                : PackVariable(VarKind::Local, slot);
        }
        if (proc_.isFunction)
            locals_[FoldCase(stmt.name)] = PackVariable(VarKind::Local, 0);
        Hoist(stmt.body);
        if (!explicit_)
            HoistAssigned(stmt.body);
        CompileBody(stmt.body);
        Finish();
    }

    // The value of an Eval: one expression stored into the result slot as it is, so an
    // object stays an object.
    void CompileExpression(const Expr* expr) {
        proc_.isFunction = true;
        proc_.localCount = 1;
        CompileExpr(expr);
        Emit(Op::SetVar, PackVariable(VarKind::Local, 0), 1);
        Finish();
    }

    void CompileGlobalCode(const StmtList& statements) {
        proc_.localCount = 1;
        Hoist(statements);
        CompileBody(statements);
        Finish();
    }

private:
    struct Loop {
        bool isFor;
        std::vector<std::size_t> exits;
    };

    void Finish() {
        if (caller_)
            proc_.localCount =
                std::max(proc_.localCount, 1 + static_cast<int>(proc_.captures.size()));
        else if (!globalCode_)
            proc_.localNames = locals_;
        const auto end = Here();
        for (std::size_t at : exitProcedure_)
            proc_.code[at].a = end;
        Emit(Op::Return);
        // A jump to a return (the end of an If branch in a function) returns at once.
        for (Instr& instr : proc_.code) {
            if (instr.op == Op::Jump &&
                proc_.code[static_cast<std::size_t>(instr.a)].op == Op::Return)
                instr.op = Op::Return;
        }
        std::sort(
            proc_.statements.begin(), proc_.statements.end(),
            [](const StatementRange& x, const StatementRange& y) { return x.begin < y.begin; });
    }

    std::int32_t Here() const { return static_cast<std::int32_t>(proc_.code.size()); }
    std::size_t Emit(Op op, std::int32_t a = 0, std::int32_t b = 0, std::int32_t c = 0) {
        proc_.code.push_back(Instr{op, 0, a, b, c});
        return proc_.code.size() - 1;
    }
    std::size_t EmitFused(Op op, std::uint8_t x, std::int32_t a, std::int32_t b, std::int32_t c) {
        proc_.code.push_back(Instr{op, x, a, b, c});
        return proc_.code.size() - 1;
    }

    // ---- Fused instructions ----

    // A variable or literal a fused instruction can read in place.
    bool IsSimple(const Expr* e) const {
        if (e->kind == ExprKind::Literal)
            return static_cast<const LiteralExpr*>(e)->literal != LiteralKind::Date;
        return e->kind == ExprKind::Name && FindVariable(static_cast<const NameExpr*>(e)->name);
    }
    std::int32_t SimpleOperand(const Expr* e) {
        if (e->kind == ExprKind::Literal) {
            proc_.constants.push_back(LiteralValue(*static_cast<const LiteralExpr*>(e)));
            return PackVariable(VarKind::Constant,
                                static_cast<std::int32_t>(proc_.constants.size() - 1));
        }
        return *FindVariable(static_cast<const NameExpr*>(e)->name);
    }
    static std::optional<FusedOp> FusedOf(BinaryOp op) {
        switch (op) {
        case BinaryOp::Add:
            return FusedOp::Add;
        case BinaryOp::Subtract:
            return FusedOp::Subtract;
        case BinaryOp::Multiply:
            return FusedOp::Multiply;
        default:
            return std::nullopt;
        }
    }
    // "a op b" on variables and literals: the operator and its two operands.
    std::optional<FusedOp> FusableArithmetic(const Expr* e) const {
        if (e->kind != ExprKind::Binary)
            return std::nullopt;
        auto* b = static_cast<const BinaryExpr*>(e);
        auto op = FusedOf(b->op);
        if (!op || !IsSimple(b->left) || !IsSimple(b->right))
            return std::nullopt;
        return op;
    }
    // A condition "a cmp b" on variables and literals as one compare-and-jump.
    bool EmitCompareJump(const Expr* condition, bool jumpWhenTrue, std::int32_t target,
                         std::size_t* at) {
        if (condition->kind != ExprKind::Binary)
            return false;
        auto* b = static_cast<const BinaryExpr*>(condition);
        auto cmp = ComparisonOf(b->op);
        if (!cmp || !IsSimple(b->left) || !IsSimple(b->right))
            return false;
        const auto x = static_cast<std::uint8_t>(
            static_cast<int>(*cmp) | (b->left->kind == ExprKind::Literal ? kLeftLiteral : 0) |
            (b->right->kind == ExprKind::Literal ? kRightLiteral : 0) |
            (jumpWhenTrue ? kJumpWhenTrue : 0));
        const std::int32_t left = SimpleOperand(b->left);
        const std::int32_t right = SimpleOperand(b->right);
        const std::size_t emitted = EmitFused(Op::CompareJump, x, target, left, right);
        if (at)
            *at = emitted;
        return true;
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
    // not already visible (a global or a field is re-dimensioned in place).
    void Hoist(const StmtList& body) {
        for (const Stmt* s : body) {
            if (s->kind == StmtKind::Dim)
                for (const VarDecl& v : static_cast<const DimStmt*>(s)->vars)
                    Declare(v.name);
            else if (s->kind == StmtKind::ReDim)
                for (const VarDecl& v : static_cast<const ReDimStmt*>(s)->vars) {
                    if (!FindVariable(v.name))
                        Declare(v.name);
                }
            else if (s->kind == StmtKind::Const)
                for (const ConstDecl& c : static_cast<const ConstStmt*>(s)->consts)
                    Declare(c.name);
            ForEachNestedBody(s, [&](const StmtList& nested) { Hoist(nested); });
        }
    }

    // A name a procedure assigns without declaring it is its own for its whole body, unless
    // it names something already known.
    void HoistAssigned(const StmtList& body) {
        const auto implicit = [&](const std::wstring& name) {
            if (!FindVariable(name) && !FindProcedure(name) && !ClassMember(name))
                DeclareImplicit(name);
        };
        for (const Stmt* s : body) {
            if (s->kind == StmtKind::Assign || s->kind == StmtKind::Set) {
                const Expr* target = static_cast<const AssignStmt*>(s)->target;
                if (target->kind == ExprKind::Name)
                    implicit(static_cast<const NameExpr*>(target)->name);
            } else if (s->kind == StmtKind::For) {
                implicit(static_cast<const ForStmt*>(s)->variable);
            } else if (s->kind == StmtKind::ForEach) {
                implicit(static_cast<const ForEachStmt*>(s)->variable);
            }
            ForEachNestedBody(s, [&](const StmtList& nested) { HoistAssigned(nested); });
        }
    }

    bool IsFixed(std::int32_t var) const {
        return std::find(fixed_.begin(), fixed_.end(), var) != fixed_.end() ||
               ((var >> kVarKindShift) == static_cast<std::int32_t>(VarKind::Global) &&
                std::find(scope_.fixedArrays.begin(), scope_.fixedArrays.end(), var) !=
                    scope_.fixedArrays.end());
    }

    const ClassInfo::Member* ClassMember(const std::wstring& name) const {
        if (!class_)
            return nullptr;
        auto it = class_->members.find(FoldCase(name));
        return it == class_->members.end() ? nullptr : &it->second;
    }

    std::int32_t Declare(const std::wstring& name) {
        const std::wstring key = FoldCase(name);
        if (globalCode_)
            return PackVariable(VarKind::Global, scope_.DeclareGlobal(key, true));
        auto it = locals_.find(key);
        if (it != locals_.end())
            return it->second;
        const std::int32_t packed = PackVariable(VarKind::Local, NewTemp(1));
        locals_.emplace(key, packed);
        return packed;
    }

    // A name used without a declaration. In global code it is a global. In a procedure it is
    // a local while no global of that name is declared, and the global once one is, however
    // much later: the host adds its named items after the script was compiled.
    std::int32_t DeclareImplicit(const std::wstring& name) {
        if (globalCode_)
            return Declare(name);
        const std::wstring key = FoldCase(name);
        if (auto it = locals_.find(key); it != locals_.end())
            return it->second;
        const std::int32_t slot = NewTemp(1);
        locals_.emplace(key, PackVariable(VarKind::Local, slot));
        proc_.implicitNames.push_back(Procedure::ImplicitName{scope_.ImplicitGlobal(key), slot});
        return PackVariable(VarKind::Local, slot);
    }

    // A variable of the calling procedure, reached through a ByRef parameter of this code.
    std::int32_t Capture(std::int32_t callerVariable) const {
        auto& captures = proc_.captures;
        auto it = std::find(captures.begin(), captures.end(), callerVariable);
        if (it == captures.end()) {
            captures.push_back(callerVariable);
            proc_.paramByRef.push_back(1);
            it = captures.end() - 1;
        }
        return PackVariable(VarKind::Ref, static_cast<std::int32_t>(it - captures.begin()));
    }

    std::optional<std::int32_t> FindVariable(const std::wstring& name) const {
        const std::wstring key = FoldCase(name);
        if (auto it = locals_.find(key); it != locals_.end())
            return it->second;
        if (caller_) {
            if (auto it = caller_->localNames.find(key); it != caller_->localNames.end())
                return Capture(it->second);
        }
        if (class_) {
            if (auto it = class_->members.find(key);
                it != class_->members.end() && it->second.field >= 0)
                return PackVariable(VarKind::Field, it->second.field);
        }
        // A global only some procedure has read is no variable yet: declaring it later
        // rebinds the names that wait for it.
        if (auto it = scope_.globalIndex.find(key);
            it != scope_.globalIndex.end() && scope_.declared[static_cast<std::size_t>(it->second)])
            return PackVariable(VarKind::Global, it->second);
        return std::nullopt;
    }

    // A variable for writing: declared, or created on first use unless Option Explicit.
    std::int32_t VariableFor(const std::wstring& name) {
        if (auto found = FindVariable(name))
            return *found;
        if (explicit_) {
            Emit(Op::Raise, 500);
            return PackVariable(VarKind::Local, NewTemp(1));
        }
        return DeclareImplicit(name);
    }

    // Inside a Function its name is the result variable, yet with arguments a call.
    bool IsOwnResult(std::int32_t var) const {
        if (caller_ && (var >> kVarKindShift) == static_cast<std::int32_t>(VarKind::Ref)) {
            // Eval or Execute inside a function: its name still calls it with arguments.
            const auto index = static_cast<std::size_t>(var & ((1 << kVarKindShift) - 1));
            return caller_->isFunction && index < proc_.captures.size() &&
                   proc_.captures[index] == PackVariable(VarKind::Local, 0);
        }
        return !globalCode_ && var == PackVariable(VarKind::Local, 0);
    }

    std::optional<std::int32_t> FindProcedure(const std::wstring& name) const {
        auto it = scope_.procedureIndex.find(FoldCase(name));
        if (it == scope_.procedureIndex.end())
            return std::nullopt;
        return it->second;
    }

    // A procedure no script has declared yet: a later AddCode may supply it.
    std::int32_t ForwardProcedure(const std::wstring& name) {
        if (auto found = FindProcedure(name))
            return *found;
        auto proc = std::make_unique<Procedure>();
        proc->name = name;
        scope_.procedures.push_back(std::move(proc));
        const auto index = static_cast<std::int32_t>(scope_.procedures.size() - 1);
        scope_.procedureIndex.emplace(FoldCase(name), index);
        return index;
    }

    std::optional<std::int32_t> FindBuiltinIndex(const std::wstring& name) {
        const Builtin* builtin = FindBuiltin(name);
        if (!builtin)
            return std::nullopt;
        auto it = std::find(scope_.builtins.begin(), scope_.builtins.end(), builtin);
        if (it == scope_.builtins.end())
            it = scope_.builtins.insert(it, builtin);
        return static_cast<std::int32_t>(it - scope_.builtins.begin());
    }

    void EmitLoad(std::int32_t var) {
        static constexpr Op loads[] = {Op::LoadLocal, Op::LoadRef, Op::LoadGlobal, Op::LoadField};
        Emit(loads[var >> kVarKindShift], var & ((1 << kVarKindShift) - 1));
    }
    void EmitStore(std::int32_t var) {
        static constexpr Op stores[] = {Op::StoreLocal, Op::StoreRef, Op::StoreGlobal,
                                        Op::StoreField};
        Emit(stores[var >> kVarKindShift], var & ((1 << kVarKindShift) - 1));
    }
    std::int32_t NameConstant(const std::wstring& name) {
        proc_.constants.push_back(Value::String(FoldCase(name)));
        return static_cast<std::int32_t>(proc_.constants.size() - 1);
    }

    // ---- Expressions ----

    void CompileExpr(const Expr* e) {
        switch (e->kind) {
        case ExprKind::Literal:
            EmitConst(LiteralValue(*static_cast<const LiteralExpr*>(e)));
            return;
        case ExprKind::Name:
            CompileName(static_cast<const NameExpr*>(e)->name);
            return;
        case ExprKind::Paren:
            CompileExpr(static_cast<const ParenExpr*>(e)->inner);
            return;
        case ExprKind::Call: {
            auto* call = static_cast<const CallExpr*>(e);
            CompileCall(call->callee, call->args, true);
            return;
        }
        case ExprKind::Member:
            CompileMember(static_cast<const MemberExpr*>(e), {}, true);
            return;
        case ExprKind::New:
            Emit(Op::New, NameConstant(static_cast<const NewExpr*>(e)->className));
            return;
        case ExprKind::Unary: {
            auto* u = static_cast<const UnaryExpr*>(e);
            CompileExpr(u->operand);
            if (u->op == UnaryOp::Negate)
                Emit(Op::Negate);
            else if (u->op == UnaryOp::Not)
                Emit(Op::Not);
            return;
        }
        case ExprKind::Binary: {
            auto* b = static_cast<const BinaryExpr*>(e);
            if (auto fused = FusableArithmetic(e)) {
                const std::int32_t left = SimpleOperand(b->left);
                const std::int32_t right = SimpleOperand(b->right);
                EmitFused(Op::BinaryPush, static_cast<std::uint8_t>(*fused), 0, left, right);
                return;
            }
            CompileExpr(b->left);
            CompileExpr(b->right);
            if (auto cmp = ComparisonOf(b->op))
                Emit(Op::Compare, static_cast<std::int32_t>(*cmp),
                     (IsLiteral(b->left) ? 1 : 0) | (IsLiteral(b->right) ? 2 : 0));
            else
                Emit(BinaryOpcode(b->op));
            return;
        }
        }
    }

    void CompileName(const std::wstring& name) {
        if (auto var = FindVariable(name))
            return EmitLoad(*var);
        if (const ClassInfo::Member* member = ClassMember(name)) {
            const std::int32_t proc = member->method >= 0 ? member->method : member->get;
            if (proc >= 0) {
                Emit(Op::CallMe, proc, 0);
                return;
            }
        }
        if (auto proc = FindProcedure(name)) {
            Emit(Op::Call, *proc, 0);
            return;
        }
        const std::wstring key = FoldCase(name);
        if (key == L"err") {
            Emit(Op::ErrNumber);
            return;
        }
        if (key == L"me" && class_) {
            Emit(Op::LoadMe);
            return;
        }
        if (const Value* constant = FindConstant(name)) {
            EmitConst(*constant);
            return;
        }
        if (auto builtin = FindBuiltinIndex(name)) {
            Emit(Op::CallBuiltin, *builtin, 0);
            return;
        }
        // Unknown here: a global another script or the host (a named item) may provide.
        if (explicit_)
            Emit(Op::LoadChecked, scope_.DeclareGlobal(key, false));
        else
            EmitLoad(DeclareImplicit(name));
    }

    // Eval, Execute, ExecuteGlobal and GetRef reach into the engine, so they are
    // instructions rather than built-ins.
    bool CompileEngineFunction(const std::wstring& name, const std::vector<Expr*>& args,
                               bool wantResult) {
        const std::wstring key = FoldCase(name);
        Op op;
        if (key == L"eval")
            op = Op::Eval;
        else if (key == L"execute" || key == L"executeglobal")
            op = Op::Execute;
        else if (key == L"getref")
            op = Op::GetRef;
        else
            return false;
        if (args.size() != 1 || !args[0]) {
            Emit(Op::Raise, 450);
            EmitConst(Value());
        } else {
            CompileExpr(args[0]);
            Emit(op, key == L"execute" ? 1 : 0);
            if (op == Op::Execute)
                EmitConst(Value());
        }
        if (!wantResult)
            Emit(Op::Pop);
        return true;
    }

    // callee(args) in an expression (wantResult) or as a statement.
    void CompileCall(const Expr* callee, const std::vector<Expr*>& args, bool wantResult) {
        if (callee->kind == ExprKind::Member)
            return CompileMember(static_cast<const MemberExpr*>(callee), args, wantResult);
        const auto argc = static_cast<std::int32_t>(args.size());
        if (callee->kind != ExprKind::Name) {
            // f(1)(2), obj.Items()(0): the default member (or element) of a result
            CompileExpr(callee);
            for (const Expr* arg : args)
                CompileArgument(arg);
            Emit(Op::Member, NameConstant(L""), argc, static_cast<std::int32_t>(Access::Get));
            if (!wantResult)
                Emit(Op::Pop);
            return;
        }
        const std::wstring& name = static_cast<const NameExpr*>(callee)->name;
        auto var = FindVariable(name);
        const ClassInfo::Member* member = var ? nullptr : ClassMember(name);
        if (var && !(IsOwnResult(*var) && FindProcedure(name))) {
            if (argc == 1 && args[0] && IsSimple(args[0])) {
                Emit(Op::LoadElement1, *var, SimpleOperand(args[0]));
            } else {
                CompileValues(args);
                Emit(Op::LoadElement, *var, argc);
            }
        } else if (member && (member->method >= 0 || member->get >= 0)) {
            for (const Expr* arg : args)
                CompileArgument(arg);
            Emit(Op::CallMe, member->method >= 0 ? member->method : member->get, argc);
        } else if (!FindProcedure(name) && CompileEngineFunction(name, args, wantResult)) {
            return;
        } else if (auto builtin = FindBuiltinIndex(name); builtin && !FindProcedure(name)) {
            CompileValues(args);
            Emit(Op::CallBuiltin, *builtin, argc);
        } else {
            const std::int32_t proc = ForwardProcedure(name);
            // When every argument goes by value the call takes no argument places.
            const bool byValue = std::ranges::all_of(
                args, [&](const Expr* arg) { return KindOf(arg) == ArgumentKind::Value; });
            for (const Expr* arg : args)
                CompileArgument(arg, !byValue);
            Emit(Op::Call, proc, argc, byValue ? 1 : 0);
        }
        if (!wantResult)
            Emit(Op::Pop);
    }

    void CompileValues(const std::vector<Expr*>& args) {
        for (const Expr* arg : args) {
            if (arg)
                CompileExpr(arg);
            else
                EmitConst(Value());
        }
    }

    // How an argument is passed: a bare variable or array element goes by reference;
    // anything else, a parenthesised variable included, by value.
    enum class ArgumentKind { Value, Element, Variable, NewVariable };
    ArgumentKind KindOf(const Expr* arg) const {
        if (arg && arg->kind == ExprKind::Call) {
            const auto* call = static_cast<const CallExpr*>(arg);
            if (call->callee->kind == ExprKind::Name && !call->args.empty() &&
                std::ranges::none_of(call->args, [](const Expr* a) { return a == nullptr; })) {
                const std::wstring& name = static_cast<const NameExpr*>(call->callee)->name;
                if (auto var = FindVariable(name);
                    var && !(IsOwnResult(*var) && FindProcedure(name)))
                    return ArgumentKind::Element;
            }
        }
        if (arg && arg->kind == ExprKind::Name) {
            const std::wstring& name = static_cast<const NameExpr*>(arg)->name;
            if (FindVariable(name))
                return ArgumentKind::Variable;
            // A name seen first as an argument is a new variable the callee may fill in.
            if (!explicit_ && !FindProcedure(name) && !ClassMember(name) && !FindBuiltin(name) &&
                !FindConstant(name) && FoldCase(name) != L"me" && FoldCase(name) != L"err")
                return ArgumentKind::NewVariable;
        }
        return ArgumentKind::Value;
    }

    // `marked`: a by-value argument is marked as such (ArgValue), for calls that take the
    // places of their arguments.
    void CompileArgument(const Expr* arg, bool marked = true) {
        switch (KindOf(arg)) {
        case ArgumentKind::Element: {
            const auto* call = static_cast<const CallExpr*>(arg);
            CompileValues(call->args);
            Emit(Op::ArgElement, *FindVariable(static_cast<const NameExpr*>(call->callee)->name),
                 static_cast<std::int32_t>(call->args.size()));
            return;
        }
        case ArgumentKind::Variable:
            Emit(Op::ArgRef, *FindVariable(static_cast<const NameExpr*>(arg)->name));
            return;
        case ArgumentKind::NewVariable:
            Emit(Op::ArgRef, DeclareImplicit(static_cast<const NameExpr*>(arg)->name));
            return;
        case ArgumentKind::Value:
            break;
        }
        if (arg)
            CompileExpr(arg);
        else
            EmitConst(Value());
        if (marked)
            Emit(Op::ArgValue);
    }

    // The object of "obj.name": the expression, or the With object for ".name".
    void CompileObject(const MemberExpr* member) {
        if (member->object) {
            CompileExpr(member->object);
            return;
        }
        if (withTemps_.empty())
            throw CompileFailure{member, L"Invalid or unqualified reference"};
        Emit(Op::LoadLocal, withTemps_.back());
    }

    void CompileMember(const MemberExpr* member, const std::vector<Expr*>& args, bool wantResult) {
        if (IsErrObject(member->object) && !FindVariable(L"err"))
            return CompileErrMember(member, args, wantResult);
        CompileObject(member);
        for (const Expr* arg : args)
            CompileArgument(arg);
        Emit(Op::Member, NameConstant(member->name), static_cast<std::int32_t>(args.size()),
             static_cast<std::int32_t>(wantResult ? Access::Get : Access::Call));
        if (!wantResult)
            Emit(Op::Pop);
    }

    // The Err object's members compile to instructions on the error state.
    void CompileErrMember(const MemberExpr* member, const std::vector<Expr*>& args,
                          bool wantResult) {
        const std::wstring name = FoldCase(member->name);
        const auto argc = static_cast<std::int32_t>(args.size());
        if (name == L"raise") {
            if (argc < 1 || argc > 5)
                throw CompileFailure{member, L"Err.Raise takes a number and up to four more"};
            for (std::size_t i = 0; i < 3 && i < args.size(); ++i) {
                if (args[i])
                    CompileExpr(args[i]);
                else
                    EmitConst(Value());
            }
            Emit(Op::ErrRaise, 0, std::min(argc, 3));
            if (wantResult)
                EmitConst(Value());
            return;
        }
        if (argc != 0)
            Emit(Op::Raise, 450);
        if (name == L"clear") {
            Emit(Op::ErrClear);
            if (wantResult)
                EmitConst(Value());
            return;
        }
        if (name == L"number")
            Emit(Op::ErrNumber);
        else if (name == L"description")
            Emit(Op::ErrDescription);
        else if (name == L"source")
            Emit(Op::ErrSource);
        else
            Emit(Op::Raise, err::NoSuchMember);
        if (!wantResult)
            Emit(Op::Pop);
    }

    // ---- Statements ----

    void CompileBody(const StmtList& body) {
        for (const Stmt* s : body) {
            const std::int32_t begin = Here();
            CompileStmt(s);
            proc_.statements.push_back(StatementRange{begin, Here(), Here(), s->line});
        }
    }

    // An error while evaluating a statement's header resumes into its body, as the language
    // does for "If" under On Error Resume Next.
    void MarkHeader(std::int32_t begin, int line) {
        proc_.statements.push_back(StatementRange{begin, Here(), Here(), line});
    }

    void CompileCondition(const Expr* condition, Op jump, std::size_t& jumpAt, int line) {
        const std::int32_t begin = Here();
        if (!EmitCompareJump(condition, jump == Op::JumpIfTrue, 0, &jumpAt)) {
            CompileExpr(condition);
            jumpAt = Emit(jump);
        }
        MarkHeader(begin, line);
    }

    void CompileStmt(const Stmt* s) {
        switch (s->kind) {
        case StmtKind::OptionExplicit:
        case StmtKind::Stop:
            return;
        case StmtKind::Dim:
            for (const VarDecl& v : static_cast<const DimStmt*>(s)->vars) {
                if (v.upperBounds.empty())
                    continue;
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
                Emit(Op::ReDim, var, static_cast<std::int32_t>(v.upperBounds.size()),
                     st->preserve ? 1 : 0);
            }
            return;
        }
        case StmtKind::Const:
            for (const ConstDecl& c : static_cast<const ConstStmt*>(s)->consts) {
                CompileExpr(c.value);
                EmitStore(Declare(c.name));
            }
            return;
        case StmtKind::Assign:
        case StmtKind::Set:
            return CompileAssign(static_cast<const AssignStmt*>(s));
        case StmtKind::Call: {
            auto* st = static_cast<const CallStmt*>(s);
            if (st->callee->kind == ExprKind::Name && st->args.empty() &&
                FindVariable(static_cast<const NameExpr*>(st->callee)->name))
                Unsupported(s, L"a variable used as a statement");
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

    void CompileAssign(const AssignStmt* st) {
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
            if (!isSet && CompileAppend(var, name, st->value))
                return;
            if (auto fused = isSet ? std::nullopt : FusableArithmetic(st->value)) {
                auto* b = static_cast<const BinaryExpr*>(st->value);
                const std::int32_t left = SimpleOperand(b->left);
                const std::int32_t right = SimpleOperand(b->right);
                EmitFused(Op::BinaryTo, static_cast<std::uint8_t>(*fused), var, left, right);
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
                const std::int32_t var =
                    VariableFor(static_cast<const NameExpr*>(call->callee)->name);
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

    // "s = s & a & b" appends to s in place instead of copying it, which keeps building text
    // in a loop linear. The operands are all evaluated first, so a failing one leaves s as
    // it was and an operand reading s sees its old value.
    bool CompileAppend(std::int32_t var, const std::wstring& name, const Expr* value) {
        std::vector<const Expr*> operands;
        const Expr* e = value;
        while (e->kind == ExprKind::Binary &&
               static_cast<const BinaryExpr*>(e)->op == BinaryOp::Concat) {
            operands.push_back(static_cast<const BinaryExpr*>(e)->right);
            e = static_cast<const BinaryExpr*>(e)->left;
        }
        if (operands.empty() || e->kind != ExprKind::Name ||
            FoldCase(static_cast<const NameExpr*>(e)->name) != FoldCase(name))
            return false;
        const std::wstring key = FoldCase(name);
        for (const Expr* operand : operands)
            if (Mentions(operand, key))
                return false;
        for (auto it = operands.rbegin(); it != operands.rend(); ++it)
            CompileExpr(*it);
        Emit(Op::AppendTo, var, static_cast<std::int32_t>(operands.size()));
        return true;
    }

    static bool Mentions(const Expr* e, const std::wstring& key) {
        if (!e)
            return false;
        switch (e->kind) {
        case ExprKind::Name:
            return FoldCase(static_cast<const NameExpr*>(e)->name) == key;
        case ExprKind::Paren:
            return Mentions(static_cast<const ParenExpr*>(e)->inner, key);
        case ExprKind::Unary:
            return Mentions(static_cast<const UnaryExpr*>(e)->operand, key);
        case ExprKind::Binary:
            return Mentions(static_cast<const BinaryExpr*>(e)->left, key) ||
                   Mentions(static_cast<const BinaryExpr*>(e)->right, key);
        case ExprKind::Call: {
            auto* call = static_cast<const CallExpr*>(e);
            return Mentions(call->callee, key) ||
                   std::any_of(call->args.begin(), call->args.end(),
                               [&](const Expr* arg) { return Mentions(arg, key); });
        }
        case ExprKind::Member:
            return Mentions(static_cast<const MemberExpr*>(e)->object, key);
        default:
            return false;
        }
    }

    void CompileIf(const IfStmt* st) {
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

    void CompileSelect(const SelectStmt* st) {
        const std::int32_t subject = NewTemp(1);
        const std::int32_t begin = Here();
        CompileExpr(st->subject);
        Emit(Op::StoreLocal, subject);
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
                    Emit(Op::Compare, static_cast<std::int32_t>(Comparison::LessEqual),
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
    }

    void CompileFor(const ForStmt* st) {
        const std::int32_t temps = NewTemp(2); // limit, step
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

    void CompileForEach(const ForEachStmt* st) {
        const std::int32_t temps = NewTemp(2); // the array, the next index
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

    // A loop tested at the top: the test is repeated after the body, so a pass takes one
    // jump instead of two. An error in either copy resumes into the body.
    void CompileTopTestedLoop(const Expr* condition, bool whileTrue, const StmtList& body,
                              int line) {
        std::size_t exit = 0;
        CompileCondition(condition, whileTrue ? Op::JumpIfFalse : Op::JumpIfTrue, exit, line);
        const std::int32_t bodyStart = Here();
        CompileBody(body);
        const std::int32_t begin = Here();
        if (!EmitCompareJump(condition, whileTrue, bodyStart, nullptr)) {
            CompileExpr(condition);
            Emit(whileTrue ? Op::JumpIfTrue : Op::JumpIfFalse, bodyStart);
        }
        proc_.statements.push_back(StatementRange{begin, Here(), bodyStart, line});
        PatchA(exit);
    }

    void CompileDo(const DoStmt* st) {
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

    void PatchExits() {
        for (std::size_t at : loops_.back().exits)
            PatchA(at);
        loops_.pop_back();
    }

    void CompileExit(const ExitStmt* st) {
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

    GlobalScope& scope_;
    Procedure& proc_;
    const bool globalCode_;
    const bool explicit_;
    ClassInfo* const class_;
    const Procedure* const caller_; // Eval and Execute code: the procedure they run in
    std::unordered_map<std::wstring, std::int32_t> locals_;
    std::vector<Loop> loops_;
    std::vector<std::size_t> exitProcedure_;
    std::vector<std::int32_t> withTemps_;
    std::vector<std::int32_t> fixed_;
};

bool HasOptionExplicit(const Program& program) {
    return std::any_of(program.statements.begin(), program.statements.end(),
                       [](const Stmt* s) { return s->kind == StmtKind::OptionExplicit; });
}

// A Dim bound or Const value in a class: a literal, possibly signed.
Value ConstantValue(const Expr* e) {
    bool negate = false;
    if (e->kind == ExprKind::Unary && static_cast<const UnaryExpr*>(e)->op != UnaryOp::Not) {
        negate = static_cast<const UnaryExpr*>(e)->op == UnaryOp::Negate;
        e = static_cast<const UnaryExpr*>(e)->operand;
    }
    if (e->kind != ExprKind::Literal)
        throw CompileFailure{e, L"Expected literal constant"};
    Value v = LiteralValue(*static_cast<const LiteralExpr*>(e));
    return negate ? Negate(v) : v;
}

void AddClassMember(ClassInfo& info, const std::wstring& name, Visibility visibility,
                    const Node* where, const std::function<void(ClassInfo::Member&)>& set) {
    auto [it, added] = info.members.try_emplace(FoldCase(name));
    if (!added && (it->second.field >= 0 || it->second.method >= 0))
        throw CompileFailure{where, L"Name redefined"};
    it->second.isPublic = visibility != Visibility::Private;
    set(it->second);
}

// Lays out a class: fields first, then every procedure known by name, so that the bodies
// compiled afterwards can refer to any member.
std::shared_ptr<ClassInfo> DeclareClass(const ClassStmt& st,
                                        std::vector<const ProcedureStmt*>& bodies) {
    auto info = std::make_shared<ClassInfo>();
    info->name = st.name;
    for (const Stmt* m : st.members) {
        if (m->kind == StmtKind::Dim) {
            auto* dim = static_cast<const DimStmt*>(m);
            for (const VarDecl& v : dim->vars) {
                ClassInfo::Field field{v.name, {}, Value()};
                for (const Expr* bound : v.upperBounds)
                    field.upperBounds.push_back(ToLong(ConstantValue(bound)));
                const auto index = static_cast<std::int32_t>(info->fields.size());
                info->fields.push_back(std::move(field));
                AddClassMember(*info, v.name, dim->visibility, m,
                               [&](ClassInfo::Member& member) { member.field = index; });
            }
        } else if (m->kind == StmtKind::Const) {
            auto* cst = static_cast<const ConstStmt*>(m);
            for (const ConstDecl& c : cst->consts) {
                const auto index = static_cast<std::int32_t>(info->fields.size());
                info->fields.push_back(ClassInfo::Field{c.name, {}, ConstantValue(c.value)});
                AddClassMember(*info, c.name, cst->visibility, m,
                               [&](ClassInfo::Member& member) { member.field = index; });
            }
        } else if (m->kind == StmtKind::Procedure) {
            auto* proc = static_cast<const ProcedureStmt*>(m);
            const auto index = static_cast<std::int32_t>(bodies.size());
            bodies.push_back(proc);
            AddClassMember(*info, proc->name, proc->visibility, m, [&](ClassInfo::Member& mb) {
                std::int32_t* slot = &mb.method;
                if (proc->procKind == ProcedureKind::PropertyGet)
                    slot = &mb.get;
                else if (proc->procKind == ProcedureKind::PropertyLet)
                    slot = &mb.let;
                else if (proc->procKind == ProcedureKind::PropertySet)
                    slot = &mb.set;
                if (*slot >= 0 ||
                    (slot == &mb.method && (mb.get >= 0 || mb.let >= 0 || mb.set >= 0)))
                    throw CompileFailure{m, L"Name redefined"};
                *slot = index;
            });
            if (proc->isDefault)
                info->defaultMember = FoldCase(proc->name);
            const std::wstring key = FoldCase(proc->name);
            if (key == L"class_initialize")
                info->initialize = index;
            else if (key == L"class_terminate")
                info->terminate = index;
        } else {
            throw CompileFailure{m, L"Expected 'End'"};
        }
    }
    return info;
}

// Installs a compiled procedure in its slot; the one it replaces stays alive while a frame
// still runs its code.
void Install(GlobalScope& scope, std::int32_t slot, std::unique_ptr<Procedure> proc) {
    std::unique_ptr<Procedure>& current = scope.procedures[static_cast<std::size_t>(slot)];
    if (current && current->running > 0)
        scope.retired.push_back(std::move(current));
    current = std::move(proc);
}

} // namespace

bool Compile(const Program& program, GlobalScope& scope, std::unique_ptr<Procedure>& globalCode,
             SyntaxError& error, const Procedure* caller) {
    const bool optionExplicit = HasOptionExplicit(program);
    try {
        // Procedures are known by name before any body compiles, so calls may come first.
        std::vector<std::pair<const ProcedureStmt*, std::unique_ptr<Procedure>>> compiled;
        std::vector<std::pair<std::shared_ptr<ClassInfo>, std::vector<const ProcedureStmt*>>>
            classes;
        for (const Stmt* s : program.statements) {
            if (s->kind == StmtKind::Class) {
                std::vector<const ProcedureStmt*> bodies;
                auto info = DeclareClass(*static_cast<const ClassStmt*>(s), bodies);
                classes.emplace_back(std::move(info), std::move(bodies));
                continue;
            }
            if (s->kind != StmtKind::Procedure)
                continue;
            auto* st = static_cast<const ProcedureStmt*>(s);
            if (st->procKind != ProcedureKind::Sub && st->procKind != ProcedureKind::Function)
                throw CompileFailure{s, L"Property outside a class"};
            auto proc = std::make_unique<Procedure>();
            proc->name = st->name;
            proc->defined = true;
            compiled.emplace_back(st, std::move(proc));
        }
        std::vector<std::int32_t> slots;
        for (auto& [st, proc] : compiled) {
            // An undefined placeholder stands in until this AddCode succeeds.
            auto [it, added] = scope.procedureIndex.try_emplace(
                FoldCase(st->name), static_cast<std::int32_t>(scope.procedures.size()));
            if (added)
                scope.procedures.push_back(std::make_unique<Procedure>());
            slots.push_back(it->second);
        }
        auto global = std::make_unique<Procedure>();
        global->defined = true;
        ProcedureCompiler(scope, *global, true, optionExplicit, caller ? caller->owner : nullptr,
                          caller)
            .CompileGlobalCode(program.statements);
        for (auto& [st, proc] : compiled)
            ProcedureCompiler(scope, *proc, false, optionExplicit).CompileProcedure(*st);
        for (auto& [info, bodies] : classes) {
            for (const ProcedureStmt* st : bodies) {
                auto proc = std::make_unique<Procedure>();
                proc->name = st->name;
                proc->defined = true;
                ProcedureCompiler(scope, *proc, false, optionExplicit, info.get())
                    .CompileProcedure(*st);
                info->procedures.push_back(std::move(proc));
            }
        }
        for (std::size_t i = 0; i < compiled.size(); ++i)
            Install(scope, slots[i], std::move(compiled[i].second));
        for (auto& [info, bodies] : classes)
            scope.classes[FoldCase(info->name)] = info;
        globalCode = std::move(global);
        return true;
    } catch (const CompileFailure& failure) {
        error.number = syntax_errors::kSyntaxError;
        error.description = failure.what;
        error.line = failure.node ? failure.node->line : 0;
        error.column = failure.node ? failure.node->column : 0;
        return false;
    } catch (const ScriptError& e) { // a literal that does not convert
        error.number = e.number;
        error.description = e.description;
        return false;
    }
}

} // namespace vbs

namespace vbs {

bool CompileExpression(const Program& program, GlobalScope& scope, std::unique_ptr<Procedure>& code,
                       SyntaxError& error, const Procedure* caller) {
    try {
        auto proc = std::make_unique<Procedure>();
        proc->defined = true;
        const auto* st = static_cast<const AssignStmt*>(program.statements.front());
        ProcedureCompiler(scope, *proc, false, false, caller ? caller->owner : nullptr, caller)
            .CompileExpression(st->value);
        code = std::move(proc);
        return true;
    } catch (const CompileFailure& failure) {
        error.number = syntax_errors::kSyntaxError;
        error.description = failure.what;
        error.line = failure.node ? failure.node->line : 0;
        error.column = failure.node ? failure.node->column : 0;
        return false;
    } catch (const ScriptError& e) {
        error.number = e.number;
        error.description = e.description;
        return false;
    }
}

} // namespace vbs
