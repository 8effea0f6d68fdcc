#pragma once
// Recursive descent over the token stream. Nesting is bounded so that hostile input (10,000
// nested Ifs, a line of 100,000 "(") ends in an error instead of exhausting the stack.
#include <memory>
#include <optional>
#include <string_view>

#include "vbscript/ast.h"
#include "vbscript/syntax_error.h"

namespace vbs {

struct ParseOptions {
    // Deepest nesting of blocks, parentheses, unary operators and operator chains.
    int maxDepth = 1000;
};

struct ParseResult {
    std::unique_ptr<Program> program; // null when error is set
    std::optional<SyntaxError> error; // the first error, as the language reports only one
};

ParseResult Parse(std::wstring_view source, const ParseOptions& options = {});
// What Eval takes: a single expression, as a Program of one "= expression" statement whose
// target has an empty name.
ParseResult ParseExpression(std::wstring_view source, const ParseOptions& options = {});

} // namespace vbs
