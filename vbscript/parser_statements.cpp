#include "vbscript/token_parser.h"

namespace vbs::parsing {

StmtList TokenParser::ParseBlock(const Context& context) {
    StmtList list;
    while (true) {
        while (Is(TokenKind::NewLine) || Is(TokenKind::Colon))
            Advance();
        if (Is(TokenKind::End) || AtBlockEnd())
            return list;
        list.push_back(ParseStatement(context));
        if (!AtStatementEnd() && !AtClosingEnd())
            Fail(err::kExpectedEndOfStatement);
    }
}

StmtList TokenParser::ParseInlineStatements(const Context& outer) {
    Context context = Inner(outer);
    context.inlineIf = true;
    StmtList list;
    while (!AtLineEnd() && !Is(Keyword::Else) && !Is(Keyword::End)) {
        if (Is(TokenKind::Colon)) {
            Advance();
            continue;
        }
        list.push_back(ParseStatement(context));
        if (!AtStatementEnd() && !Is(Keyword::Else) && !AtClosingEnd())
            Fail(err::kExpectedEndOfStatement);
    }
    return list;
}

Stmt* TokenParser::ParseStatement(const Context& context) {
    Nesting nesting(*this);
    const Token start = token_;
    if (context.scope == Scope::Class)
        return ParseClassMember(start);
    if (Is(TokenKind::Dot) || AtName())
        return ParseAssignOrCall(start, StmtKind::Assign, false);
    if (!Is(TokenKind::Word))
        Fail(err::kExpectedStatement);
    switch (token_.keyword) {
    case Keyword::Option:
        Advance();
        Expect(Keyword::Explicit, err::kSyntaxError);
        return Make<SimpleStmt>(start, StmtKind::OptionExplicit);
    case Keyword::Stop:
        Advance();
        return Make<SimpleStmt>(start, StmtKind::Stop);
    case Keyword::Dim:
        Advance();
        return ParseDim(start, Visibility::Default);
    case Keyword::ReDim:
        return ParseReDim(start);
    case Keyword::Const:
        Advance();
        return ParseConst(start, Visibility::Default);
    case Keyword::Erase:
        return ParseErase(start);
    case Keyword::Set:
        Advance();
        return ParseAssignOrCall(start, StmtKind::Set, true);
    case Keyword::Let:
        Advance();
        return ParseAssignOrCall(start, StmtKind::Assign, true);
    case Keyword::Call:
        return ParseCallKeyword(start);
    case Keyword::If:
        return ParseIf(start, context);
    case Keyword::Select:
        return ParseSelect(start, context);
    case Keyword::For:
        return ParseFor(start, context);
    case Keyword::Do:
        return ParseDo(start, context);
    case Keyword::While:
        return ParseWhile(start, context);
    case Keyword::Exit:
        return ParseExit(start);
    case Keyword::With:
        return ParseWith(start, context);
    case Keyword::On:
        return ParseOnError(start);
    case Keyword::Public:
    case Keyword::Private:
        if (context.scope != Scope::Module || context.nested)
            Fail(err::kExpectedStatement);
        return ParseDeclaration(start);
    case Keyword::Sub:
    case Keyword::Function:
        if (context.scope != Scope::Module || !context.procedures)
            Fail(err::kExpectedStatement);
        return ParseProcedure(start, Visibility::Default, false);
    case Keyword::Class:
        if (context.scope != Scope::Module || context.nested)
            Fail(err::kExpectedStatement);
        return ParseClass(start);
    default:
        Fail(err::kExpectedStatement);
    }
}

Stmt* TokenParser::ParseAssignOrCall(const Token& start, StmtKind assignKind, bool mustAssign) {
    Expr* target = nullptr;
    if (Is(TokenKind::Dot)) {
        const Token dot = token_;
        Advance();
        target = MakeMember(dot, nullptr);
    } else if (AtName()) {
        auto* name = Make<NameExpr>(token_);
        name->name = ExpectName();
        target = name;
    } else {
        Fail(err::kExpectedIdentifier);
    }
    Nesting chain(*this);
    std::vector<Expr*> args;
    bool argsDone = false;
    while (!argsDone) {
        if (Is(TokenKind::Dot) && !token_.spaceBefore) {
            const Token dot = token_;
            Advance();
            target = MakeMember(dot, target);
            chain.Add();
        } else if (Is(TokenKind::LParen)) {
            const Token open = token_;
            std::vector<Expr*> list = ParseArgumentList();
            if (Is(TokenKind::Equal) || Is(TokenKind::Dot) || Is(TokenKind::LParen)) {
                auto* call = Make<CallExpr>(open);
                call->callee = target;
                call->args = std::move(list);
                target = call;
                chain.Add();
                continue;
            }
            if (mustAssign)
                Fail(err::kExpectedEqual);
            if (list.size() > 1 || (list.size() == 1 && !list[0]))
                Fail(err::kCannotUseParentheses);
            if (list.size() == 1) {
                auto* paren = Make<ParenExpr>(open);
                paren->inner = list[0];
                Expr* first = ContinuePostfix(paren);
                args.push_back(ContinueBinary(first, kImp));
                if (AcceptComma())
                    AppendCallArguments(args);
            }
            argsDone = true;
        } else {
            break;
        }
    }
    if (!argsDone && Is(TokenKind::Equal)) {
        Advance();
        auto* assign = Make<AssignStmt>(start, assignKind);
        assign->target = target;
        assign->value = ParseExpression();
        return assign;
    }
    if (mustAssign)
        Fail(err::kExpectedEqual);
    auto* call = Make<CallStmt>(start);
    call->callee = target;
    call->args = std::move(args);
    if (!argsDone && AtArgumentStart())
        AppendCallArguments(call->args);
    return call;
}

bool TokenParser::AtArgumentStart() const {
    switch (token_.kind) {
    case TokenKind::Word:
        return AtName() || IsLiteralKeyword() || Is(Keyword::Not) || Is(Keyword::New);
    case TokenKind::Integer:
    case TokenKind::Double:
    case TokenKind::String:
    case TokenKind::Date:
    case TokenKind::Dot:
    case TokenKind::Comma:
    case TokenKind::LParen:
    case TokenKind::Minus:
    case TokenKind::Plus:
        return true;
    default:
        return false;
    }
}

void TokenParser::AppendCallArguments(std::vector<Expr*>& args) {
    do {
        if (Is(TokenKind::Comma) || AtStatementEnd() || Is(Keyword::Else))
            args.push_back(nullptr);
        else
            args.push_back(ParseExpression());
    } while (AcceptComma());
}

Stmt* TokenParser::ParseCallKeyword(const Token& start) {
    Advance();
    if (!Is(TokenKind::Dot) && !Is(TokenKind::LParen) && !AtName())
        Fail(err::kExpectedIdentifier);
    Expr* expr = ParsePostfix();
    auto* call = Make<CallStmt>(start);
    call->withCallKeyword = true;
    if (expr->kind == ExprKind::Call) {
        auto* inner = static_cast<CallExpr*>(expr);
        call->callee = inner->callee;
        call->args = std::move(inner->args);
    } else {
        call->callee = expr;
    }
    // "Call ((f)) (x)" calls f: parentheses around what is called only group it.
    while (call->callee->kind == ExprKind::Paren)
        call->callee = static_cast<ParenExpr*>(call->callee)->inner;
    return call;
}

Stmt* TokenParser::ParseExit(const Token& start) {
    Advance();
    auto* exit = Make<ExitStmt>(start);
    bool valid = false;
    switch (token_.kind == TokenKind::Word ? token_.keyword : Keyword::None) {
    case Keyword::Do:
        exit->what = ExitKind::Do;
        valid = doDepth_ > 0;
        break;
    case Keyword::For:
        exit->what = ExitKind::For;
        valid = forDepth_ > 0;
        break;
    case Keyword::Sub:
        exit->what = ExitKind::Sub;
        valid = inProcedure_ && procedure_ == ProcedureKind::Sub;
        break;
    case Keyword::Function:
        exit->what = ExitKind::Function;
        valid = inProcedure_ && procedure_ == ProcedureKind::Function;
        break;
    case Keyword::Property:
        exit->what = ExitKind::Property;
        valid = inProcedure_ && procedure_ != ProcedureKind::Sub &&
                procedure_ != ProcedureKind::Function;
        break;
    default:
        break;
    }
    if (!valid)
        Fail(err::kInvalidExit);
    Advance();
    return exit;
}

Stmt* TokenParser::ParseWith(const Token& start, const Context& outer) {
    RejectInline(outer);
    Advance();
    auto* with = Make<WithStmt>(start);
    with->object = ParseExpression();
    if (!AtStatementEnd())
        Fail(err::kExpectedEndOfStatement);
    with->body = ParseBlock(Inner(outer));
    ExpectEnd(Keyword::With, err::kExpectedWith);
    return with;
}

Stmt* TokenParser::ParseOnError(const Token& start) {
    Advance();
    Expect(Keyword::Error, err::kSyntaxError);
    auto* onError = Make<OnErrorStmt>(start);
    if (Accept(Keyword::Resume)) {
        Expect(Keyword::Next, err::kSyntaxError);
        onError->resumeNext = true;
        return onError;
    }
    Expect(Keyword::GoTo, err::kSyntaxError);
    if (!Is(TokenKind::Integer) || token_.integer != 0)
        Fail(err::kSyntaxError);
    Advance();
    return onError;
}

} // namespace vbs::parsing
