#include "vbscript/ast.h"

#include <charconv>
#include <cstdio>

namespace vbs {
namespace {

const wchar_t* BinaryText(BinaryOp op) {
    switch (op) {
    case BinaryOp::Power:
        return L"^";
    case BinaryOp::Multiply:
        return L"*";
    case BinaryOp::Divide:
        return L"/";
    case BinaryOp::IntDivide:
        return L"\\";
    case BinaryOp::Mod:
        return L"mod";
    case BinaryOp::Add:
        return L"+";
    case BinaryOp::Subtract:
        return L"-";
    case BinaryOp::Concat:
        return L"&";
    case BinaryOp::Equal:
        return L"=";
    case BinaryOp::NotEqual:
        return L"<>";
    case BinaryOp::Less:
        return L"<";
    case BinaryOp::Greater:
        return L">";
    case BinaryOp::LessEqual:
        return L"<=";
    case BinaryOp::GreaterEqual:
        return L">=";
    case BinaryOp::Is:
        return L"is";
    case BinaryOp::And:
        return L"and";
    case BinaryOp::Or:
        return L"or";
    case BinaryOp::Xor:
        return L"xor";
    case BinaryOp::Eqv:
        return L"eqv";
    case BinaryOp::Imp:
        return L"imp";
    }
    return L"?";
}

class Dumper {
public:
    std::wstring out;

    void Expr(const vbs::Expr* e) {
        if (!e) {
            out += L'_'; // omitted argument
            return;
        }
        switch (e->kind) {
        case ExprKind::Literal:
            Literal(static_cast<const LiteralExpr&>(*e));
            break;
        case ExprKind::Name:
            out += static_cast<const NameExpr&>(*e).name;
            break;
        case ExprKind::Member: {
            const auto& m = static_cast<const MemberExpr&>(*e);
            if (!m.object) {
                out += L'.' + m.name;
                break;
            }
            out += L"(. ";
            Expr(m.object);
            out += L' ' + m.name + L')';
            break;
        }
        case ExprKind::Call: {
            const auto& c = static_cast<const CallExpr&>(*e);
            out += L"(apply ";
            Expr(c.callee);
            List(c.args);
            out += L')';
            break;
        }
        case ExprKind::Paren:
            out += L"(paren ";
            Expr(static_cast<const ParenExpr&>(*e).inner);
            out += L')';
            break;
        case ExprKind::New:
            out += L"(new " + static_cast<const NewExpr&>(*e).className + L')';
            break;
        case ExprKind::Unary: {
            const auto& u = static_cast<const UnaryExpr&>(*e);
            out += u.op == UnaryOp::Negate ? L"(neg " : u.op == UnaryOp::Plus ? L"(pos " : L"(not ";
            Expr(u.operand);
            out += L')';
            break;
        }
        case ExprKind::Binary: {
            const auto& b = static_cast<const BinaryExpr&>(*e);
            out += L'(';
            out += BinaryText(b.op);
            out += L' ';
            Expr(b.left);
            out += L' ';
            Expr(b.right);
            out += L')';
            break;
        }
        }
    }

    void Stmt(const vbs::Stmt* s) {
        switch (s->kind) {
        case StmtKind::OptionExplicit:
            out += L"(option-explicit)";
            break;
        case StmtKind::Stop:
            out += L"(stop)";
            break;
        case StmtKind::Dim: {
            const auto& d = static_cast<const DimStmt&>(*s);
            out += d.visibility == Visibility::Public    ? L"(public"
                   : d.visibility == Visibility::Private ? L"(private"
                                                         : L"(dim";
            Vars(d.vars);
            out += L')';
            break;
        }
        case StmtKind::ReDim: {
            const auto& r = static_cast<const ReDimStmt&>(*s);
            out += r.preserve ? L"(redim-preserve" : L"(redim";
            Vars(r.vars);
            out += L')';
            break;
        }
        case StmtKind::Const: {
            const auto& c = static_cast<const ConstStmt&>(*s);
            out += L'(';
            out += VisibilityPrefix(c.visibility);
            out += L"const";
            for (const ConstDecl& decl : c.consts) {
                out += L" (" + decl.name + L' ';
                Expr(decl.value);
                out += L')';
            }
            out += L')';
            break;
        }
        case StmtKind::Erase:
            out += L"(erase";
            for (const std::wstring& name : static_cast<const EraseStmt&>(*s).names)
                out += L' ' + name;
            out += L')';
            break;
        case StmtKind::Assign:
        case StmtKind::Set: {
            const auto& a = static_cast<const AssignStmt&>(*s);
            out += s->kind == StmtKind::Set ? L"(set " : L"(let ";
            Expr(a.target);
            out += L' ';
            Expr(a.value);
            out += L')';
            break;
        }
        case StmtKind::Call: {
            const auto& c = static_cast<const CallStmt&>(*s);
            out += L"(call ";
            Expr(c.callee);
            List(c.args);
            out += L')';
            break;
        }
        case StmtKind::If:
            If(static_cast<const IfStmt&>(*s));
            break;
        case StmtKind::Select:
            Select(static_cast<const SelectStmt&>(*s));
            break;
        case StmtKind::For: {
            const auto& f = static_cast<const ForStmt&>(*s);
            out += L"(for " + f.variable + L' ';
            Expr(f.from);
            out += L' ';
            Expr(f.to);
            if (f.step) {
                out += L" (step ";
                Expr(f.step);
                out += L')';
            }
            Body(f.body);
            out += L')';
            break;
        }
        case StmtKind::ForEach: {
            const auto& f = static_cast<const ForEachStmt&>(*s);
            out += L"(foreach " + f.variable + L' ';
            Expr(f.collection);
            Body(f.body);
            out += L')';
            break;
        }
        case StmtKind::Do:
            Do(static_cast<const DoStmt&>(*s));
            break;
        case StmtKind::While: {
            const auto& w = static_cast<const WhileStmt&>(*s);
            out += L"(while ";
            Expr(w.condition);
            Body(w.body);
            out += L')';
            break;
        }
        case StmtKind::Exit: {
            static const wchar_t* const kWhat[] = {L"do", L"for", L"sub", L"function", L"property"};
            out += L"(exit ";
            out += kWhat[static_cast<int>(static_cast<const ExitStmt&>(*s).what)];
            out += L')';
            break;
        }
        case StmtKind::With: {
            const auto& w = static_cast<const WithStmt&>(*s);
            out += L"(with ";
            Expr(w.object);
            Body(w.body);
            out += L')';
            break;
        }
        case StmtKind::OnError:
            out += static_cast<const OnErrorStmt&>(*s).resumeNext ? L"(on-error-resume-next)"
                                                                  : L"(on-error-goto-0)";
            break;
        case StmtKind::Procedure:
            Procedure(static_cast<const ProcedureStmt&>(*s));
            break;
        case StmtKind::Class: {
            const auto& c = static_cast<const ClassStmt&>(*s);
            out += L"(class " + c.name;
            Body(c.members);
            out += L')';
            break;
        }
        }
    }

private:
    static const wchar_t* VisibilityPrefix(Visibility v) {
        return v == Visibility::Public ? L"public " : v == Visibility::Private ? L"private " : L"";
    }

    void Literal(const LiteralExpr& l) {
        switch (l.literal) {
        case LiteralKind::Integer: {
            wchar_t buffer[32];
            const wchar_t* format = l.form == IntegerForm::Hex     ? L"&H%llX"
                                    : l.form == IntegerForm::Octal ? L"&O%llo"
                                                                   : L"%lld";
            std::swprintf(buffer, 32, format, static_cast<long long>(l.integer));
            out += buffer;
            if (l.longSuffix)
                out += L'&';
            break;
        }
        case LiteralKind::Double: {
            char buffer[32];
            const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, l.number);
            if (ec == std::errc())
                out.append(buffer, end);
            break;
        }
        case LiteralKind::String:
            out += L'"';
            for (wchar_t c : l.text)
                out += c == L'"' ? std::wstring(L"\"\"") : std::wstring(1, c);
            out += L'"';
            break;
        case LiteralKind::Date:
            out += L'#' + l.text + L'#';
            break;
        case LiteralKind::True:
            out += L"True";
            break;
        case LiteralKind::False:
            out += L"False";
            break;
        case LiteralKind::Nothing:
            out += L"Nothing";
            break;
        case LiteralKind::Empty:
            out += L"Empty";
            break;
        case LiteralKind::Null:
            out += L"Null";
            break;
        }
    }

    void List(const std::vector<vbs::Expr*>& items) {
        for (const vbs::Expr* item : items) {
            out += L' ';
            Expr(item);
        }
    }

    void Body(const StmtList& body) {
        for (const vbs::Stmt* s : body) {
            out += L' ';
            Stmt(s);
        }
    }

    void Vars(const std::vector<VarDecl>& vars) {
        for (const VarDecl& var : vars) {
            out += L' ';
            if (!var.isArray) {
                out += var.name;
                continue;
            }
            out += L'(' + var.name;
            List(var.upperBounds);
            out += L')';
        }
    }

    void If(const IfStmt& s) {
        out += L"(if";
        for (std::size_t i = 0; i < s.clauses.size(); ++i) {
            out += i == 0 ? L" " : L" (elseif ";
            Expr(s.clauses[i].condition);
            out += L" (then";
            Body(s.clauses[i].body);
            out += i == 0 ? L")" : L"))";
        }
        if (s.hasElse) {
            out += L" (else";
            Body(s.elseBody);
            out += L')';
        }
        out += L')';
    }

    void Select(const SelectStmt& s) {
        out += L"(select ";
        Expr(s.subject);
        for (const CaseClause& clause : s.cases) {
            out += L" (case (";
            for (std::size_t i = 0; i < clause.tests.size(); ++i) {
                const CaseTest& test = clause.tests[i];
                if (i > 0)
                    out += L' ';
                if (test.kind == CaseTestKind::Range) {
                    out += L"(to ";
                    Expr(test.value);
                    out += L' ';
                    Expr(test.upper);
                    out += L')';
                } else if (test.kind == CaseTestKind::Is) {
                    out += L"(is ";
                    out += BinaryText(test.compare);
                    out += L' ';
                    Expr(test.value);
                    out += L')';
                } else {
                    Expr(test.value);
                }
            }
            out += L')';
            Body(clause.body);
            out += L')';
        }
        if (s.hasElse) {
            out += L" (else";
            Body(s.elseBody);
            out += L')';
        }
        out += L')';
    }

    void Do(const DoStmt& s) {
        out += L"(do";
        if (s.test == LoopTest::WhileTop || s.test == LoopTest::UntilTop) {
            out += s.test == LoopTest::WhileTop ? L" (while " : L" (until ";
            Expr(s.condition);
            out += L')';
        }
        Body(s.body);
        if (s.test == LoopTest::WhileBottom || s.test == LoopTest::UntilBottom) {
            out += s.test == LoopTest::WhileBottom ? L" (loop-while " : L" (loop-until ";
            Expr(s.condition);
            out += L')';
        }
        out += L')';
    }

    void Procedure(const ProcedureStmt& p) {
        static const wchar_t* const kKinds[] = {
            L"sub", L"function", L"property-get", L"property-let", L"property-set"};
        out += L'(';
        out += VisibilityPrefix(p.visibility);
        if (p.isDefault)
            out += L"default ";
        out += kKinds[static_cast<int>(p.procKind)];
        out += L' ' + p.name + L" (";
        for (std::size_t i = 0; i < p.params.size(); ++i) {
            if (i > 0)
                out += L' ';
            if (!p.params[i].byRef)
                out += L"byval ";
            out += p.params[i].name;
            if (p.params[i].isArray)
                out += L"()";
        }
        out += L')';
        Body(p.body);
        out += L')';
    }
};

} // namespace

std::wstring Dump(const Program& program) {
    Dumper dumper;
    for (std::size_t i = 0; i < program.statements.size(); ++i) {
        if (i > 0)
            dumper.out += L'\n';
        dumper.Stmt(program.statements[i]);
    }
    return dumper.out;
}

std::wstring Dump(const Expr* expr) {
    Dumper dumper;
    dumper.Expr(expr);
    return dumper.out;
}

std::wstring Dump(const Stmt* stmt) {
    Dumper dumper;
    dumper.Stmt(stmt);
    return dumper.out;
}

} // namespace vbs
