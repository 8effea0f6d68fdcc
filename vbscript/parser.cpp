#include "vbscript/parser.h"

#include "vbscript/token_parser.h"

namespace vbs {

namespace parsing {

void TokenParser::ParseProgram() {
    program_.statements = ParseBlock(Context{});
    if (!Is(TokenKind::End))
        Fail(err::kExpectedStatement);
}

void TokenParser::ParseLoneExpression() {
    auto* st = program_.Make<AssignStmt>(token_.line, token_.column, StmtKind::Assign);
    st->target = program_.Make<NameExpr>(token_.line, token_.column);
    st->value = ParseExpression();
    while (Is(TokenKind::NewLine))
        Advance();
    if (!Is(TokenKind::End))
        Fail(err::kExpectedEndOfStatement);
    program_.statements.push_back(st);
}

} // namespace parsing

ParseResult Parse(std::wstring_view source, const ParseOptions& options) {
    ParseResult result;
    auto program = std::make_unique<Program>();
    try {
        parsing::TokenParser parser(source, options, *program);
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
        parsing::TokenParser parser(source, options, *program);
        parser.ParseLoneExpression();
        result.program = std::move(program);
    } catch (const SyntaxError& error) {
        result.error = error;
    }
    return result;
}

} // namespace vbs
