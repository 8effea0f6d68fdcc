#pragma once
// A compile error in a script: the language's error number and text, where it happened and
// the line it happened on, so a host can show it the way users of the language expect.
#include <string>
#include <string_view>

namespace vbs {

struct SyntaxError {
    int number = 0;
    std::wstring description;
    int line = 0;   // 1-based
    int column = 0; // 1-based, in characters
    std::wstring sourceLine;
};

// Compile error numbers used by the lexer and parser.
namespace syntax_errors {
inline constexpr int kOutOfStackSpace = 28;
inline constexpr int kSyntaxError = 1002;
inline constexpr int kExpectedLParen = 1005;
inline constexpr int kExpectedRParen = 1006;
inline constexpr int kExpectedIdentifier = 1010;
inline constexpr int kExpectedEqual = 1011;
inline constexpr int kExpectedIf = 1012;
inline constexpr int kExpectedTo = 1013;
inline constexpr int kExpectedEnd = 1014;
inline constexpr int kExpectedFunction = 1015;
inline constexpr int kExpectedSub = 1016;
inline constexpr int kExpectedThen = 1017;
inline constexpr int kExpectedWend = 1018;
inline constexpr int kExpectedLoop = 1019;
inline constexpr int kExpectedNext = 1020;
inline constexpr int kExpectedCase = 1021;
inline constexpr int kExpectedSelect = 1022;
inline constexpr int kExpectedExpression = 1023;
inline constexpr int kExpectedStatement = 1024;
inline constexpr int kExpectedEndOfStatement = 1025;
inline constexpr int kExpectedInteger = 1026;
inline constexpr int kExpectedWith = 1029;
inline constexpr int kInvalidNumber = 1031;
inline constexpr int kInvalidCharacter = 1032;
inline constexpr int kUnterminatedString = 1033;
inline constexpr int kInvalidExit = 1039;
inline constexpr int kInvalidForVariable = 1040;
inline constexpr int kExpectedClass = 1047;
inline constexpr int kCannotUseParentheses = 1044;
inline constexpr int kExpectedLiteral = 1045;
inline constexpr int kExpectedIn = 1046;
inline constexpr int kExpectedProperty = 1050;
inline constexpr int kPropertySetOrLetNeedsArgument = 1054;
inline constexpr int kExpectedLetSetGet = 1049;
inline constexpr int kDefaultOnlyPublic = 1057;
} // namespace syntax_errors

inline const wchar_t* SyntaxErrorDescription(int number) {
    switch (number) {
    case syntax_errors::kOutOfStackSpace:
        return L"Out of stack space";
        return L"Expected ':'";
    case syntax_errors::kExpectedLParen:
        return L"Expected '('";
    case syntax_errors::kExpectedRParen:
        return L"Expected ')'";
    case syntax_errors::kExpectedIdentifier:
        return L"Expected identifier";
    case syntax_errors::kExpectedEqual:
        return L"Expected '='";
    case syntax_errors::kExpectedIf:
        return L"Expected 'If'";
    case syntax_errors::kExpectedTo:
        return L"Expected 'To'";
    case syntax_errors::kExpectedEnd:
        return L"Expected 'End'";
    case syntax_errors::kExpectedFunction:
        return L"Expected 'Function'";
    case syntax_errors::kExpectedSub:
        return L"Expected 'Sub'";
    case syntax_errors::kExpectedThen:
        return L"Expected 'Then'";
    case syntax_errors::kExpectedWend:
        return L"Expected 'Wend'";
    case syntax_errors::kExpectedLoop:
        return L"Expected 'Loop'";
    case syntax_errors::kExpectedNext:
        return L"Expected 'Next'";
    case syntax_errors::kExpectedCase:
        return L"Expected 'Case'";
    case syntax_errors::kExpectedSelect:
        return L"Expected 'Select'";
    case syntax_errors::kExpectedExpression:
        return L"Expected expression";
    case syntax_errors::kExpectedStatement:
        return L"Expected statement";
    case syntax_errors::kExpectedEndOfStatement:
        return L"Expected end of statement";
    case syntax_errors::kExpectedInteger:
        return L"Expected integer constant";
        return L"Expected 'While' or 'Until'";
    case syntax_errors::kExpectedWith:
        return L"Expected 'With'";
    case syntax_errors::kInvalidNumber:
        return L"Invalid number";
    case syntax_errors::kInvalidCharacter:
        return L"Invalid character";
    case syntax_errors::kUnterminatedString:
        return L"Unterminated string constant";
    case syntax_errors::kInvalidExit:
        return L"Invalid 'exit' statement";
    case syntax_errors::kInvalidForVariable:
        return L"Invalid 'for' loop control variable";
    case syntax_errors::kExpectedClass:
        return L"Expected 'Class'";
    case syntax_errors::kCannotUseParentheses:
        return L"Cannot use parentheses when calling a Sub";
    case syntax_errors::kExpectedLiteral:
        return L"Expected literal constant";
    case syntax_errors::kExpectedIn:
        return L"Expected 'In'";
    case syntax_errors::kExpectedProperty:
        return L"Expected 'Property'";
    case syntax_errors::kPropertySetOrLetNeedsArgument:
        return L"Property Set or Let must have at least one argument";
    case syntax_errors::kExpectedLetSetGet:
        return L"Expected Let or Set or Get in property declaration";
    case syntax_errors::kDefaultOnlyPublic:
        return L"'Default' specification must also specify 'Public'";
    default:
        return L"Syntax error";
    }
}

// The error at a position of `source`, with the text of that line attached.
inline SyntaxError MakeSyntaxError(int number, int line, int column, std::wstring_view source) {
    std::size_t start = 0;
    for (int current = 1; current < line && start < source.size(); ++start) {
        const wchar_t c = source[start];
        if (c == L'\n' ||
            (c == L'\r' && (start + 1 >= source.size() || source[start + 1] != L'\n')))
            ++current;
    }
    std::size_t end = start;
    while (end < source.size() && source[end] != L'\n' && source[end] != L'\r')
        ++end;
    return SyntaxError{number,
                       SyntaxErrorDescription(number),
                       line,
                       column,
                       std::wstring(source.substr(start, end - start))};
}

} // namespace vbs
