#include "vbscript/parser.h"

#include <utility>

#include "vbscript/lexer.h"

namespace vbs {
namespace {

namespace err = syntax_errors;

// Binding strength of the binary operators, loosest first; unary minus and Not sit between.
constexpr int kImp = 1, kEqv = 2, kXor = 3, kOr = 4, kAnd = 5, kNot = 6, kCompare = 7, kConcat = 8,
              kAdd = 9, kMod = 10, kIntDivide = 11, kMultiply = 12, kNegate = 13, kPower = 14;

enum class Scope { Module, Class, Procedure };

struct Context {
    Scope scope = Scope::Module;
    bool nested = false;   // inside a block: no Sub, Function or Class here
    bool inlineIf = false; // the statements of a single-line If
};

class Parser {
public:
    Parser(std::wstring_view source, const ParseOptions& options, Program& program)
        : lexer_(source), options_(options), program_(program) {
        Advance();
    }

    void ParseProgram() {
        program_.statements = ParseBlock(Context{});
        if (!Is(TokenKind::End))
            Fail(err::kExpectedStatement);
    }

    // One expression and nothing after it, held as "result = expression" with an unnamed
    // target.
    void ParseLoneExpression() {
        auto* st = program_.Make<AssignStmt>(token_.line, token_.column, StmtKind::Assign);
        st->target = program_.Make<NameExpr>(token_.line, token_.column);
        st->value = ParseExpression();
        while (Is(TokenKind::NewLine))
            Advance();
        if (!Is(TokenKind::End))
            Fail(err::kExpectedEndOfStatement);
        program_.statements.push_back(st);
    }

private:
    // Counts nesting for the lifetime of a parse function; Add() charges more for chains.
    class Nesting {
    public:
        explicit Nesting(Parser& parser) : parser_(parser) { Add(); }
        ~Nesting() { parser_.depth_ -= added_; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;
        void Add() {
            ++added_;
            if (++parser_.depth_ > parser_.options_.maxDepth)
                parser_.Fail(err::kOutOfStackSpace);
        }

    private:
        Parser& parser_;
        int added_ = 0;
    };

    // ---- tokens ----

    void Advance() { token_ = lexer_.Next(); }
    bool Is(TokenKind kind) const { return token_.kind == kind; }
    bool Is(Keyword keyword) const {
        return token_.kind == TokenKind::Word && token_.keyword == keyword;
    }
    bool Accept(Keyword keyword) {
        if (!Is(keyword))
            return false;
        Advance();
        return true;
    }
    void Expect(TokenKind kind, int number) {
        if (!Is(kind))
            Fail(number);
        Advance();
    }
    void Expect(Keyword keyword, int number) {
        if (!Is(keyword))
            Fail(number);
        Advance();
    }
    [[noreturn]] void Fail(int number) const {
        throw MakeSyntaxError(number, token_.line, token_.column, lexer_.Source());
    }
    bool AtLineEnd() const { return Is(TokenKind::NewLine) || Is(TokenKind::End); }
    bool AtStatementEnd() const { return AtLineEnd() || Is(TokenKind::Colon); }
    bool AtBlockEnd() const {
        return Is(Keyword::End) || Is(Keyword::Else) || Is(Keyword::ElseIf) || Is(Keyword::Next) ||
               Is(Keyword::Loop) || Is(Keyword::Wend) || Is(Keyword::Case);
    }
    // Words that are keywords only where their statement expects them.
    bool AtName() const {
        if (!Is(TokenKind::Word))
            return false;
        switch (token_.keyword) {
        case Keyword::None:
        case Keyword::Default:
        case Keyword::Error:
        case Keyword::Explicit:
        case Keyword::Get:
        case Keyword::Preserve:
        case Keyword::Resume:
        case Keyword::Step:
            return true;
        default:
            return false;
        }
    }
    std::wstring ExpectName(int number = err::kExpectedIdentifier) {
        if (!AtName())
            Fail(number);
        std::wstring name = std::move(token_.text);
        Advance();
        return name;
    }
    template <class T, class... Args> T* Make(const Token& at, Args&&... args) {
        return program_.Make<T>(at.line, at.column, std::forward<Args>(args)...);
    }

    // ---- statements ----

    StmtList ParseBlock(const Context& context) {
        StmtList list;
        while (true) {
            while (Is(TokenKind::NewLine) || Is(TokenKind::Colon))
                Advance();
            if (Is(TokenKind::End) || AtBlockEnd())
                return list;
            list.push_back(ParseStatement(context));
            if (!AtStatementEnd())
                Fail(err::kExpectedEndOfStatement);
        }
    }

    // Statements after "Then" or "Else" on the line of a single-line If.
    StmtList ParseInlineStatements(const Context& outer) {
        Context context = outer;
        context.nested = true;
        context.inlineIf = true;
        StmtList list;
        while (!AtLineEnd() && !Is(Keyword::Else)) {
            if (Is(TokenKind::Colon)) {
                Advance();
                continue;
            }
            list.push_back(ParseStatement(context));
            if (!AtStatementEnd() && !Is(Keyword::Else))
                Fail(err::kExpectedEndOfStatement);
        }
        return list;
    }

    Stmt* ParseStatement(const Context& context) {
        Nesting nesting(*this);
        const Token start = token_;
        const bool definitionsAllowed =
            (context.scope == Scope::Module && !context.nested) || context.scope == Scope::Class;
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
            if (!definitionsAllowed)
                Fail(err::kExpectedStatement);
            return ParseProcedure(start, Visibility::Default, false);
        case Keyword::Class:
            if (!definitionsAllowed)
                Fail(err::kExpectedStatement);
            return ParseClass(start);
        default:
            Fail(err::kExpectedStatement);
        }
    }

    Stmt* ParseClassMember(const Token& start) {
        switch (token_.keyword) {
        case Keyword::Dim:
            Advance();
            return ParseDim(start, Visibility::Default);
        case Keyword::Const:
            Advance();
            return ParseConst(start, Visibility::Default);
        case Keyword::Public:
        case Keyword::Private:
            return ParseDeclaration(start);
        case Keyword::Sub:
        case Keyword::Function:
        case Keyword::Property:
            return ParseProcedure(start, Visibility::Default, false);
        default:
            Fail(err::kExpectedEnd);
        }
    }

    // After Public or Private: a procedure, constants or variables.
    Stmt* ParseDeclaration(const Token& start) {
        const Visibility visibility =
            Is(Keyword::Public) ? Visibility::Public : Visibility::Private;
        Advance();
        bool isDefault = false;
        if (Is(Keyword::Default)) {
            if (visibility != Visibility::Public)
                Fail(err::kDefaultOnlyPublic);
            Advance();
            isDefault = true;
        }
        if (Is(Keyword::Sub) || Is(Keyword::Function) || Is(Keyword::Property))
            return ParseProcedure(start, visibility, isDefault);
        if (isDefault)
            Fail(err::kExpectedFunction);
        if (Accept(Keyword::Const))
            return ParseConst(start, visibility);
        return ParseDim(start, visibility);
    }

    Stmt* ParseDim(const Token& start, Visibility visibility) {
        auto* dim = Make<DimStmt>(start);
        dim->visibility = visibility;
        do {
            VarDecl var;
            var.line = token_.line;
            var.column = token_.column;
            var.name = ExpectName();
            if (Is(TokenKind::LParen)) {
                Advance();
                var.isArray = true;
                if (!Is(TokenKind::RParen)) {
                    do
                        var.upperBounds.push_back(ParseIntegerConstant());
                    while (AcceptComma());
                }
                Expect(TokenKind::RParen, err::kExpectedRParen);
            }
            dim->vars.push_back(std::move(var));
        } while (AcceptComma());
        return dim;
    }

    Expr* ParseIntegerConstant() {
        if (!Is(TokenKind::Integer))
            Fail(err::kExpectedInteger);
        return ParseLiteral();
    }

    bool AcceptComma() {
        if (!Is(TokenKind::Comma))
            return false;
        Advance();
        return true;
    }

    Stmt* ParseReDim(const Token& start) {
        Advance();
        auto* redim = Make<ReDimStmt>(start);
        redim->preserve = Accept(Keyword::Preserve);
        do {
            VarDecl var;
            var.line = token_.line;
            var.column = token_.column;
            var.name = ExpectName();
            var.isArray = true;
            Expect(TokenKind::LParen, err::kExpectedLParen);
            do
                var.upperBounds.push_back(ParseExpression());
            while (AcceptComma());
            Expect(TokenKind::RParen, err::kExpectedRParen);
            redim->vars.push_back(std::move(var));
        } while (AcceptComma());
        return redim;
    }

    Stmt* ParseConst(const Token& start, Visibility visibility) {
        auto* constant = Make<ConstStmt>(start);
        constant->visibility = visibility;
        do {
            ConstDecl decl;
            decl.name = ExpectName();
            Expect(TokenKind::Equal, err::kExpectedEqual);
            decl.value = ParseSignedLiteral();
            constant->consts.push_back(std::move(decl));
        } while (AcceptComma());
        return constant;
    }

    // Constants take literals only, with any number of signs in front.
    Expr* ParseSignedLiteral() {
        Nesting nesting(*this);
        if (Is(TokenKind::Minus) || Is(TokenKind::Plus)) {
            auto* sign = Make<UnaryExpr>(token_);
            sign->op = Is(TokenKind::Minus) ? UnaryOp::Negate : UnaryOp::Plus;
            Advance();
            sign->operand = ParseSignedLiteral();
            return sign;
        }
        switch (token_.kind) {
        case TokenKind::Integer:
        case TokenKind::Double:
        case TokenKind::String:
        case TokenKind::Date:
            return ParseLiteral();
        case TokenKind::Word:
            if (IsLiteralKeyword())
                return ParseLiteral();
            [[fallthrough]];
        default:
            Fail(err::kExpectedLiteral);
        }
    }

    Stmt* ParseErase(const Token& start) {
        Advance();
        auto* erase = Make<EraseStmt>(start);
        do
            erase->names.push_back(ExpectName());
        while (AcceptComma());
        return erase;
    }

    // A statement that starts with a name or a With member: assignment or call. Parentheses
    // right after the callee belong to the callee only when more postfix follows or "="
    // does; otherwise they are the first argument ("f (1) + 2, 3") or the whole argument
    // list of a call without Call ("f(x)" passes x by value, "f(x, y)" is an error).
    Stmt* ParseAssignOrCall(const Token& start, StmtKind assignKind, bool mustAssign) {
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

    // Whether a call statement's arguments follow: "b End If" is a misplaced End, not an
    // argument that fails to be an expression.
    bool AtArgumentStart() const {
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

    // Arguments of a call statement without parentheses; empty ones stay null.
    void AppendCallArguments(std::vector<Expr*>& args) {
        do {
            if (Is(TokenKind::Comma) || AtStatementEnd() || Is(Keyword::Else))
                args.push_back(nullptr);
            else
                args.push_back(ParseExpression());
        } while (AcceptComma());
    }

    Stmt* ParseCallKeyword(const Token& start) {
        Advance();
        if (!Is(TokenKind::Dot) && !AtName())
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
        return call;
    }

    Stmt* ParseIf(const Token& start, const Context& outer) {
        Advance();
        auto* stmt = Make<IfStmt>(start);
        IfClause first;
        first.condition = ParseExpression();
        Expect(Keyword::Then, err::kExpectedThen);
        if (!AtStatementEnd()) {
            stmt->singleLine = true;
            first.body = ParseInlineStatements(outer);
            stmt->clauses.push_back(std::move(first));
            if (Accept(Keyword::Else)) {
                stmt->hasElse = true;
                stmt->elseBody = ParseInlineStatements(outer);
            }
            return stmt;
        }
        if (outer.inlineIf)
            Fail(err::kSyntaxError);
        const Context context = Inner(outer);
        first.body = ParseBlock(context);
        stmt->clauses.push_back(std::move(first));
        while (Is(Keyword::ElseIf)) {
            Advance();
            IfClause clause;
            clause.condition = ParseExpression();
            Expect(Keyword::Then, err::kExpectedThen);
            clause.body = ParseBlock(context);
            stmt->clauses.push_back(std::move(clause));
        }
        if (Accept(Keyword::Else)) {
            stmt->hasElse = true;
            stmt->elseBody = ParseBlock(context);
        }
        ExpectEnd(Keyword::If, err::kExpectedIf);
        return stmt;
    }

    static Context Inner(const Context& outer) {
        Context inner = outer;
        inner.nested = true;
        return inner;
    }

    // A block must have stopped at "End <keyword>".
    void ExpectEnd(Keyword keyword, int missingKeyword) {
        Expect(Keyword::End, err::kExpectedEnd);
        Expect(keyword, missingKeyword);
    }

    // Block statements written on a single-line If would swallow the following lines.
    void RejectInline(const Context& context) const {
        if (context.inlineIf)
            Fail(err::kSyntaxError);
    }

    Stmt* ParseSelect(const Token& start, const Context& outer) {
        RejectInline(outer);
        Advance();
        Expect(Keyword::Case, err::kExpectedCase);
        auto* select = Make<SelectStmt>(start);
        select->subject = ParseExpression();
        const Context context = Inner(outer);
        while (true) {
            while (Is(TokenKind::NewLine) || Is(TokenKind::Colon))
                Advance();
            if (!Accept(Keyword::Case))
                break;
            if (select->hasElse)
                Fail(err::kExpectedEnd);
            if (Accept(Keyword::Else)) {
                select->hasElse = true;
                select->elseBody = ParseBlock(context);
                continue;
            }
            CaseClause clause;
            do
                clause.tests.push_back(ParseCaseTest());
            while (AcceptComma());
            if (!AtStatementEnd())
                Fail(err::kExpectedEndOfStatement);
            clause.body = ParseBlock(context);
            select->cases.push_back(std::move(clause));
        }
        if (!Is(Keyword::End))
            Fail(select->cases.empty() && !select->hasElse ? err::kExpectedCase
                                                           : err::kExpectedEnd);
        ExpectEnd(Keyword::Select, err::kExpectedSelect);
        return select;
    }

    CaseTest ParseCaseTest() {
        CaseTest test;
        if (Accept(Keyword::Is)) {
            test.kind = CaseTestKind::Is;
            switch (token_.kind) {
            case TokenKind::Equal:
                test.compare = BinaryOp::Equal;
                break;
            case TokenKind::NotEqual:
                test.compare = BinaryOp::NotEqual;
                break;
            case TokenKind::Less:
                test.compare = BinaryOp::Less;
                break;
            case TokenKind::Greater:
                test.compare = BinaryOp::Greater;
                break;
            case TokenKind::LessEqual:
                test.compare = BinaryOp::LessEqual;
                break;
            case TokenKind::GreaterEqual:
                test.compare = BinaryOp::GreaterEqual;
                break;
            default:
                Fail(err::kSyntaxError);
            }
            Advance();
            test.value = ParseExpression();
            return test;
        }
        test.value = ParseExpression();
        if (Accept(Keyword::To)) {
            test.kind = CaseTestKind::Range;
            test.upper = ParseExpression();
        }
        return test;
    }

    Stmt* ParseFor(const Token& start, const Context& outer) {
        RejectInline(outer);
        Advance();
        const Context context = Inner(outer);
        if (Accept(Keyword::Each)) {
            auto* loop = Make<ForEachStmt>(start);
            loop->variable = ExpectName(err::kInvalidForVariable);
            Expect(Keyword::In, err::kExpectedIn);
            loop->collection = ParseExpression();
            loop->body = ParseLoopBody(context, forDepth_);
            Expect(Keyword::Next, err::kExpectedNext);
            return loop;
        }
        auto* loop = Make<ForStmt>(start);
        loop->variable = ExpectName(err::kInvalidForVariable);
        Expect(TokenKind::Equal, err::kExpectedEqual);
        loop->from = ParseExpression();
        Expect(Keyword::To, err::kExpectedTo);
        loop->to = ParseExpression();
        if (Accept(Keyword::Step))
            loop->step = ParseExpression();
        loop->body = ParseLoopBody(context, forDepth_);
        Expect(Keyword::Next, err::kExpectedNext);
        return loop;
    }

    StmtList ParseLoopBody(const Context& context, int& loopDepth) {
        if (!AtStatementEnd())
            Fail(err::kExpectedEndOfStatement);
        ++loopDepth;
        StmtList body = ParseBlock(context);
        --loopDepth;
        return body;
    }

    Stmt* ParseDo(const Token& start, const Context& outer) {
        RejectInline(outer);
        Advance();
        auto* loop = Make<DoStmt>(start);
        if (Is(Keyword::While) || Is(Keyword::Until)) {
            loop->test = Is(Keyword::While) ? LoopTest::WhileTop : LoopTest::UntilTop;
            Advance();
            loop->condition = ParseExpression();
        }
        loop->body = ParseLoopBody(Inner(outer), doDepth_);
        Expect(Keyword::Loop, err::kExpectedLoop);
        if (Is(Keyword::While) || Is(Keyword::Until)) {
            if (loop->test != LoopTest::None)
                Fail(err::kExpectedEndOfStatement);
            loop->test = Is(Keyword::While) ? LoopTest::WhileBottom : LoopTest::UntilBottom;
            Advance();
            loop->condition = ParseExpression();
        }
        return loop;
    }

    Stmt* ParseWhile(const Token& start, const Context& outer) {
        RejectInline(outer);
        Advance();
        auto* loop = Make<WhileStmt>(start);
        loop->condition = ParseExpression();
        if (!AtStatementEnd())
            Fail(err::kExpectedEndOfStatement);
        loop->body = ParseBlock(Inner(outer));
        Expect(Keyword::Wend, err::kExpectedWend);
        return loop;
    }

    Stmt* ParseExit(const Token& start) {
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

    Stmt* ParseWith(const Token& start, const Context& outer) {
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

    Stmt* ParseOnError(const Token& start) {
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

    Stmt* ParseProcedure(const Token& start, Visibility visibility, bool isDefault) {
        auto* proc = Make<ProcedureStmt>(start);
        proc->visibility = visibility;
        proc->isDefault = isDefault;
        Keyword closing = token_.keyword;
        int missingClosing = err::kExpectedSub;
        if (Accept(Keyword::Sub)) {
            proc->procKind = ProcedureKind::Sub;
        } else if (Accept(Keyword::Function)) {
            proc->procKind = ProcedureKind::Function;
            missingClosing = err::kExpectedFunction;
        } else {
            Advance(); // Property
            missingClosing = err::kExpectedProperty;
            if (Accept(Keyword::Get))
                proc->procKind = ProcedureKind::PropertyGet;
            else if (Accept(Keyword::Let))
                proc->procKind = ProcedureKind::PropertyLet;
            else if (Accept(Keyword::Set))
                proc->procKind = ProcedureKind::PropertySet;
            else
                Fail(err::kExpectedLetSetGet);
        }
        proc->name = ExpectName();
        if (Is(TokenKind::LParen)) {
            Advance();
            if (!Is(TokenKind::RParen)) {
                do
                    proc->params.push_back(ParseParam());
                while (AcceptComma());
            }
            Expect(TokenKind::RParen, err::kExpectedRParen);
        }
        if ((proc->procKind == ProcedureKind::PropertyLet ||
             proc->procKind == ProcedureKind::PropertySet) &&
            proc->params.empty())
            Fail(err::kPropertySetOrLetNeedsArgument);
        if (!AtStatementEnd())
            Fail(err::kExpectedEndOfStatement);
        const bool wasInProcedure = std::exchange(inProcedure_, true);
        const ProcedureKind wasKind = std::exchange(procedure_, proc->procKind);
        Context context;
        context.scope = Scope::Procedure;
        context.nested = true;
        proc->body = ParseBlock(context);
        inProcedure_ = wasInProcedure;
        procedure_ = wasKind;
        ExpectEnd(closing, missingClosing);
        return proc;
    }

    Param ParseParam() {
        Param param;
        if (Accept(Keyword::ByVal))
            param.byRef = false;
        else
            Accept(Keyword::ByRef);
        param.name = ExpectName();
        if (Is(TokenKind::LParen)) {
            Advance();
            Expect(TokenKind::RParen, err::kExpectedRParen);
            param.isArray = true;
        }
        return param;
    }

    Stmt* ParseClass(const Token& start) {
        Advance();
        auto* cls = Make<ClassStmt>(start);
        cls->name = ExpectName();
        if (!AtStatementEnd())
            Fail(err::kExpectedEndOfStatement);
        Context context;
        context.scope = Scope::Class;
        while (true) {
            while (Is(TokenKind::NewLine) || Is(TokenKind::Colon))
                Advance();
            if (Is(TokenKind::End) || Is(Keyword::End))
                break;
            cls->members.push_back(ParseStatement(context));
            if (!AtStatementEnd())
                Fail(err::kExpectedEndOfStatement);
        }
        ExpectEnd(Keyword::Class, err::kExpectedClass);
        return cls;
    }

    // ---- expressions ----

    Expr* ParseExpression() { return ParseBinary(kImp); }

    static int BinaryPrecedence(const Token& token, BinaryOp& op) {
        switch (token.kind) {
        case TokenKind::Caret:
            op = BinaryOp::Power;
            return kPower;
        case TokenKind::Star:
            op = BinaryOp::Multiply;
            return kMultiply;
        case TokenKind::Slash:
            op = BinaryOp::Divide;
            return kMultiply;
        case TokenKind::Backslash:
            op = BinaryOp::IntDivide;
            return kIntDivide;
        case TokenKind::Plus:
            op = BinaryOp::Add;
            return kAdd;
        case TokenKind::Minus:
            op = BinaryOp::Subtract;
            return kAdd;
        case TokenKind::Ampersand:
            op = BinaryOp::Concat;
            return kConcat;
        case TokenKind::Equal:
            op = BinaryOp::Equal;
            return kCompare;
        case TokenKind::NotEqual:
            op = BinaryOp::NotEqual;
            return kCompare;
        case TokenKind::Less:
            op = BinaryOp::Less;
            return kCompare;
        case TokenKind::Greater:
            op = BinaryOp::Greater;
            return kCompare;
        case TokenKind::LessEqual:
            op = BinaryOp::LessEqual;
            return kCompare;
        case TokenKind::GreaterEqual:
            op = BinaryOp::GreaterEqual;
            return kCompare;
        case TokenKind::Word:
            break;
        default:
            return 0;
        }
        switch (token.keyword) {
        case Keyword::Mod:
            op = BinaryOp::Mod;
            return kMod;
        case Keyword::Is:
            op = BinaryOp::Is;
            return kCompare;
        case Keyword::And:
            op = BinaryOp::And;
            return kAnd;
        case Keyword::Or:
            op = BinaryOp::Or;
            return kOr;
        case Keyword::Xor:
            op = BinaryOp::Xor;
            return kXor;
        case Keyword::Eqv:
            op = BinaryOp::Eqv;
            return kEqv;
        case Keyword::Imp:
            op = BinaryOp::Imp;
            return kImp;
        default:
            return 0;
        }
    }

    Expr* ParseBinary(int minPrecedence) { return ContinueBinary(ParseUnary(), minPrecedence); }

    // Operators of equal strength associate to the left, ^ included, as in the language.
    Expr* ContinueBinary(Expr* left, int minPrecedence) {
        Nesting nesting(*this);
        BinaryOp op{};
        for (int precedence = BinaryPrecedence(token_, op);
             precedence != 0 && precedence >= minPrecedence;
             precedence = BinaryPrecedence(token_, op)) {
            auto* binary = Make<BinaryExpr>(token_);
            binary->op = op;
            Advance();
            binary->left = left;
            binary->right = ParseBinary(precedence + 1);
            left = binary;
            nesting.Add();
        }
        return left;
    }

    Expr* ParseUnary() {
        UnaryOp op;
        int precedence;
        if (Is(TokenKind::Minus)) {
            op = UnaryOp::Negate;
            precedence = kNegate;
        } else if (Is(TokenKind::Plus)) {
            op = UnaryOp::Plus;
            precedence = kNegate;
        } else if (Is(Keyword::Not)) {
            op = UnaryOp::Not;
            precedence = kNot;
        } else {
            return ParsePostfix();
        }
        Nesting nesting(*this);
        auto* unary = Make<UnaryExpr>(token_);
        unary->op = op;
        Advance();
        unary->operand = ParseBinary(precedence);
        return unary;
    }

    Expr* ParsePostfix() { return ContinuePostfix(ParsePrimary()); }

    Expr* ContinuePostfix(Expr* expr) {
        Nesting nesting(*this);
        while (true) {
            if (Is(TokenKind::Dot)) {
                const Token dot = token_;
                Advance();
                expr = MakeMember(dot, expr);
            } else if (Is(TokenKind::LParen)) {
                auto* call = Make<CallExpr>(token_);
                call->callee = expr;
                call->args = ParseArgumentList();
                expr = call;
            } else {
                return expr;
            }
            nesting.Add();
        }
    }

    // The name after a dot; the lexer hands keywords over as plain words there.
    Expr* MakeMember(const Token& dot, Expr* object) {
        if (!Is(TokenKind::Word))
            Fail(err::kExpectedIdentifier);
        auto* member = Make<MemberExpr>(dot);
        member->object = object;
        member->name = std::move(token_.text);
        Advance();
        return member;
    }

    // "(" args ")", an omitted argument is null.
    std::vector<Expr*> ParseArgumentList() {
        Nesting nesting(*this);
        Advance();
        std::vector<Expr*> args;
        if (Is(TokenKind::RParen)) {
            Advance();
            return args;
        }
        do {
            if (Is(TokenKind::Comma) || Is(TokenKind::RParen))
                args.push_back(nullptr);
            else
                args.push_back(ParseExpression());
        } while (AcceptComma());
        Expect(TokenKind::RParen, err::kExpectedRParen);
        return args;
    }

    bool IsLiteralKeyword() const {
        return Is(Keyword::True) || Is(Keyword::False) || Is(Keyword::Nothing) ||
               Is(Keyword::Empty) || Is(Keyword::Null);
    }

    Expr* ParseLiteral() {
        auto* literal = Make<LiteralExpr>(token_);
        switch (token_.kind) {
        case TokenKind::Integer:
            literal->literal = LiteralKind::Integer;
            literal->integer = token_.integer;
            literal->longSuffix = token_.longSuffix;
            literal->form = token_.radix == IntegerRadix::Hex     ? IntegerForm::Hex
                            : token_.radix == IntegerRadix::Octal ? IntegerForm::Octal
                                                                  : IntegerForm::Decimal;
            break;
        case TokenKind::Double:
            literal->literal = LiteralKind::Double;
            literal->number = token_.number;
            break;
        case TokenKind::String:
            literal->literal = LiteralKind::String;
            literal->text = std::move(token_.text);
            break;
        case TokenKind::Date:
            literal->literal = LiteralKind::Date;
            literal->text = std::move(token_.text);
            break;
        default:
            switch (token_.keyword) {
            case Keyword::True:
                literal->literal = LiteralKind::True;
                break;
            case Keyword::False:
                literal->literal = LiteralKind::False;
                break;
            case Keyword::Nothing:
                literal->literal = LiteralKind::Nothing;
                break;
            case Keyword::Null:
                literal->literal = LiteralKind::Null;
                break;
            default:
                literal->literal = LiteralKind::Empty;
                break;
            }
        }
        Advance();
        return literal;
    }

    Expr* ParsePrimary() {
        switch (token_.kind) {
        case TokenKind::Integer:
        case TokenKind::Double:
        case TokenKind::String:
        case TokenKind::Date:
            return ParseLiteral();
        case TokenKind::LParen: {
            Nesting nesting(*this);
            auto* paren = Make<ParenExpr>(token_);
            Advance();
            paren->inner = ParseExpression();
            Expect(TokenKind::RParen, err::kExpectedRParen);
            return paren;
        }
        case TokenKind::Dot: {
            const Token dot = token_;
            Advance();
            return MakeMember(dot, nullptr);
        }
        case TokenKind::Word:
            if (IsLiteralKeyword())
                return ParseLiteral();
            if (Is(Keyword::New)) {
                auto* created = Make<NewExpr>(token_);
                Advance();
                created->className = ExpectName();
                return created;
            }
            if (AtName()) {
                auto* name = Make<NameExpr>(token_);
                name->name = ExpectName();
                return name;
            }
            [[fallthrough]];
        default:
            Fail(err::kExpectedExpression);
        }
    }

    Lexer lexer_;
    const ParseOptions& options_;
    Program& program_;
    Token token_;
    int depth_ = 0;
    int doDepth_ = 0;
    int forDepth_ = 0;
    bool inProcedure_ = false;
    ProcedureKind procedure_ = ProcedureKind::Sub;
};

} // namespace

ParseResult Parse(std::wstring_view source, const ParseOptions& options) {
    ParseResult result;
    auto program = std::make_unique<Program>();
    try {
        Parser parser(source, options, *program);
        parser.ParseProgram();
        result.program = std::move(program);
    } catch (const SyntaxError& error) {
        result.error = error;
    }
    return result;
}

ParseResult ParseExpression(std::wstring_view source, const ParseOptions& options) {
    ParseResult result;
    auto program = std::make_unique<Program>();
    try {
        Parser parser(source, options, *program);
        parser.ParseLoneExpression();
        result.program = std::move(program);
    } catch (const SyntaxError& error) {
        result.error = error;
    }
    return result;
}

} // namespace vbs
