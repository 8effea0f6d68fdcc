#pragma once
// Operator-precedence conversion of formula text from infix to postfix form: "a + b * c"
// gives "a b c * +". A leading or doubled operator gets a zero left operand ("-x" gives
// "0 x -"). Output items are separated by one blank.
#include <string>
#include <string_view>

namespace orvo {

// False on unbalanced parentheses or a character that is neither operator nor operand;
// `postfix` is then unspecified.
bool InfixToPostfix(std::wstring_view infix, std::wstring& postfix);

} // namespace orvo
