#pragma once
// The parser's class: recursive descent over the token stream, its methods spread over
// parser_*.cpp by what they parse.
//
//   parser.cpp               Parse, ParseExpression, a whole program or one expression
//   parser_statements.cpp    the statement dispatch, assignments and calls, Exit, With, On Error
//   parser_blocks.cpp        If, Select Case, For, Do, While
//   parser_declarations.cpp  Dim, ReDim, Const, Erase, Sub, Function, Property
//   parser_classes.cpp       Class and its members
//   parser_expressions.cpp   operators by precedence, postfix calls and members, literals
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "vbscript/ast.h"
#include "vbscript/lexer.h"
#include "vbscript/parser.h"
#include "vbscript/syntax_error.h"

namespace vbs::parsing {

namespace err = syntax_errors;

// Binding strength of the binary operators, loosest first, with Not among them. Unary minus
// binds tightest, ^ included: -3^2 is 9.
constexpr int kImp = 1, kEqv = 2, kXor = 3, kOr = 4, kAnd = 5, kNot = 6, kCompare = 7, kConcat = 8,
              kAdd = 9, kMod = 10, kIntDivide = 11, kMultiply = 12, kPower = 13, kNegate = 14;

enum class Scope { Module, Class, Procedure };

struct Context {
    Scope scope = Scope::Module;
    bool nested = false;    // inside a block: no Class, Public or Private here
    bool procedures = true; // Sub and Function: at the top of the module or in its If blocks
    bool inlineIf = false;  // the statements of a single-line If
};

class TokenParser {
public:
    TokenParser(std::wstring_view source, const ParseOptions& options, Program& program)
        : lexer_(source), options_(options), program_(program) {
        Advance();
    }

    void ParseProgram();

    // One expression and nothing after it, held as "result = expression" with an unnamed
    // target.
    void ParseLoneExpression();

private:
    // Counts nesting for the lifetime of a parse function; Add() charges more for chains.
    class Nesting {
    public:
        explicit Nesting(TokenParser& parser) : parser_(parser) { Add(); }
        ~Nesting() { parser_.depth_ -= added_; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;
        void Add() {
            ++added_;
            if (++parser_.depth_ > parser_.options_.maxDepth)
                parser_.Fail(err::kOutOfStackSpace);
        }

    private:
        TokenParser& parser_;
        int added_ = 0;
    };

    // ---- tokens ----

    void Advance() {
        if (ahead_) {
            token_ = std::move(*ahead_);
            ahead_.reset();
        } else {
            token_ = lexer_.Next();
        }
    }
    // Whether the token after the current one is `keyword`.
    bool AheadIs(Keyword keyword) {
        if (!ahead_)
            ahead_ = lexer_.Next();
        return ahead_->kind == TokenKind::Word && ahead_->keyword == keyword;
    }
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
    // "x = 1 End Sub": an If, procedure or class may close right after a statement on its
    // line, without a colon.
    bool AtClosingEnd() {
        return Is(Keyword::End) &&
               (AheadIs(Keyword::If) || AheadIs(Keyword::Sub) || AheadIs(Keyword::Function) ||
                AheadIs(Keyword::Class) || AheadIs(Keyword::Property));
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
        case Keyword::Property:
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

    // ---- statements (parser_statements.cpp) ----

    StmtList ParseBlock(const Context& context);

    // Statements after "Then" or "Else" on the line of a single-line If.
    StmtList ParseInlineStatements(const Context& outer);

    Stmt* ParseStatement(const Context& context);

    // A statement that starts with a name or a With member: assignment or call. Parentheses
    // right after the callee belong to the callee only when more postfix follows or "="
    // does; otherwise they are the first argument ("f (1) + 2, 3") or the whole argument
    // list of a call without Call ("f(x)" passes x by value, "f(x, y)" is an error).
    Stmt* ParseAssignOrCall(const Token& start, StmtKind assignKind, bool mustAssign);

    // Whether a call statement's arguments follow: "b End If" is a misplaced End, not an
    // argument that fails to be an expression.
    bool AtArgumentStart() const;

    // Arguments of a call statement without parentheses; empty ones stay null.
    void AppendCallArguments(std::vector<Expr*>& args);

    Stmt* ParseCallKeyword(const Token& start);

    Stmt* ParseExit(const Token& start);

    Stmt* ParseWith(const Token& start, const Context& outer);

    Stmt* ParseOnError(const Token& start);

    // ---- blocks (parser_blocks.cpp) ----

    static Context Inner(const Context& outer) {
        Context inner = outer;
        inner.nested = true;
        inner.procedures = false;
        return inner;
    }

    // A block must have stopped at "End <keyword>".
    void ExpectEnd(Keyword keyword, int missingKeyword);

    // Block statements written on a single-line If would swallow the following lines.
    void RejectInline(const Context& context) const;

    Stmt* ParseIf(const Token& start, const Context& outer);

    Stmt* ParseSelect(const Token& start, const Context& outer);

    CaseTest ParseCaseTest();

    Stmt* ParseFor(const Token& start, const Context& outer);

    StmtList ParseLoopBody(const Context& context, int& loopDepth);

    Stmt* ParseDo(const Token& start, const Context& outer);

    Stmt* ParseWhile(const Token& start, const Context& outer);

    // ---- declarations (parser_declarations.cpp) ----

    // After Public or Private: a procedure, constants or variables.
    Stmt* ParseDeclaration(const Token& start);

    Stmt* ParseDim(const Token& start, Visibility visibility);

    Expr* ParseIntegerConstant();

    bool AcceptComma();

    Stmt* ParseReDim(const Token& start);

    Stmt* ParseConst(const Token& start, Visibility visibility);

    // Constants take literals only, with any number of signs in front.
    Expr* ParseSignedLiteral();

    Stmt* ParseErase(const Token& start);

    Stmt* ParseProcedure(const Token& start, Visibility visibility, bool isDefault);

    Param ParseParam();

    // ---- classes (parser_classes.cpp) ----

    Stmt* ParseClass(const Token& start);

    Stmt* ParseClassMember(const Token& start);

    // ---- expressions (parser_expressions.cpp) ----

    Expr* ParseExpression() { return ParseBinary(kImp); }

    static int BinaryPrecedence(const Token& token, BinaryOp& op);

    Expr* ParseBinary(int minPrecedence) { return ContinueBinary(ParseUnary(), minPrecedence); }

    // Operators of equal strength associate to the left, ^ included, as in the language.
    Expr* ContinueBinary(Expr* left, int minPrecedence);

    Expr* ParseUnary();

    Expr* ParsePostfix() { return ContinuePostfix(ParsePrimary()); }

    Expr* ContinuePostfix(Expr* expr);

    // The name after a dot; the lexer hands keywords over as plain words there.
    Expr* MakeMember(const Token& dot, Expr* object);

    // "(" args ")", an omitted argument is null.
    std::vector<Expr*> ParseArgumentList();

    bool IsLiteralKeyword() const;

    Expr* ParseLiteral();

    Expr* ParsePrimary();

    Lexer lexer_;
    const ParseOptions& options_;
    Program& program_;
    Token token_;
    std::optional<Token> ahead_;
    int depth_ = 0;
    int doDepth_ = 0;
    int forDepth_ = 0;
    bool inProcedure_ = false;
    ProcedureKind procedure_ = ProcedureKind::Sub;
};

} // namespace vbs::parsing
