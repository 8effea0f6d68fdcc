#include "vbscript/token_parser.h"

namespace vbs::parsing {

void TokenParser::ExpectEnd(Keyword keyword, int missingKeyword) {
    Expect(Keyword::End, err::kExpectedEnd);
    Expect(keyword, missingKeyword);
}

void TokenParser::RejectInline(const Context& context) const {
    if (context.inlineIf)
        Fail(err::kSyntaxError);
}

Stmt* TokenParser::ParseIf(const Token& start, const Context& outer) {
    Advance();
    auto* stmt = Make<IfStmt>(start);
    IfClause first;
    first.condition = ParseExpression();
    Expect(Keyword::Then, err::kExpectedThen);
    // Colons after Then change nothing: "If a Then : b" is a single-line If, a line that ends
    // after them opens a block.
    while (Is(TokenKind::Colon))
        Advance();
    if (!AtLineEnd()) {
        stmt->singleLine = true;
        first.body = ParseInlineStatements(outer);
        stmt->clauses.push_back(std::move(first));
        if (Accept(Keyword::Else)) {
            stmt->hasElse = true;
            stmt->elseBody = ParseInlineStatements(outer);
        }
        // "If a Then b Else c End If" on one line: the End If is allowed and changes nothing.
        if (Is(Keyword::End) && AheadIs(Keyword::If)) {
            Advance();
            Advance();
        }
        return stmt;
    }
    if (outer.inlineIf)
        Fail(err::kSyntaxError);
    // A Sub or Function may sit in an If block of the module, and is declared all the same.
    Context context = Inner(outer);
    context.procedures = outer.procedures;
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

Stmt* TokenParser::ParseSelect(const Token& start, const Context& outer) {
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
        // "Case 1 x = 2": the first statement may follow the tests without a colon.
        clause.body = ParseBlock(context);
        select->cases.push_back(std::move(clause));
    }
    if (!Is(Keyword::End))
        Fail(select->cases.empty() && !select->hasElse ? err::kExpectedCase : err::kExpectedEnd);
    ExpectEnd(Keyword::Select, err::kExpectedSelect);
    return select;
}

CaseTest TokenParser::ParseCaseTest() {
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

Stmt* TokenParser::ParseFor(const Token& start, const Context& outer) {
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

StmtList TokenParser::ParseLoopBody(const Context& context, int& loopDepth) {
    if (!AtStatementEnd())
        Fail(err::kExpectedEndOfStatement);
    ++loopDepth;
    StmtList body = ParseBlock(context);
    --loopDepth;
    return body;
}

Stmt* TokenParser::ParseDo(const Token& start, const Context& outer) {
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

Stmt* TokenParser::ParseWhile(const Token& start, const Context& outer) {
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

} // namespace vbs::parsing
