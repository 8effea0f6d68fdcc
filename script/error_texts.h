#pragma once
// The texts a script failure is reported with. A script object collects them in order and
// shows them joined in one message, so a screen author sees every failure of one step.
#include <string>
#include <string_view>
#include <vector>

#include "vbscript/script_error.h"
#include "vbscript/syntax_error.h"

namespace orvo {

inline constexpr const wchar_t* kScriptParseFailed = L"Error parsing script text";
inline constexpr const wchar_t* kScriptRunFailed = L"Error running the script";

// A compile error or an error of the global code: "Script error in line %ld, position %ld",
// what went wrong, and the source line when there is one.
void AppendCodeError(const vbs::SyntaxError& error, std::vector<std::wstring>& texts);
// A run-time error of a called function: "Script error in line %ld, position %ld" when the
// line is known, what went wrong in which function, and the source line.
void AppendCallError(std::wstring_view function,
                     const vbs::ScriptError& error,
                     std::wstring_view source,
                     std::vector<std::wstring>& texts);
// One message, one text per line.
std::wstring JoinErrorTexts(const std::vector<std::wstring>& texts);

} // namespace orvo
