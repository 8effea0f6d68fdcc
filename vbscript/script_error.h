#pragma once
// The one exception type inside the engine: a run-time error with the language's number and
// text. The engine's public calls catch it, so it never reaches the host.
#include <string>

namespace vbs {

struct ScriptError {
    int number;
    std::wstring description;
    // Ends the run: On Error Resume Next does not catch it (the step limit, a host's Quit).
    bool fatal = false;
    // Where it happened, as far as the engine knows (1-based; 0 when unknown).
    int line = 0;
};

// The text the language shows for its run-time error numbers.
inline std::wstring StandardErrorDescription(int number) {
    switch (number) {
    case 5:
        return L"Invalid procedure call or argument";
    case 6:
        return L"Overflow";
    case 7:
        return L"Out of memory";
    case 9:
        return L"Subscript out of range";
    case 10:
        return L"This array is fixed or temporarily locked";
    case 11:
        return L"Division by zero";
    case 13:
        return L"Type mismatch";
    case 28:
        return L"Out of stack space";
    case 35:
        return L"Sub or Function not defined";
    case 91:
        return L"Object variable not set";
    case 92:
        return L"For loop not initialized";
    case 94:
        return L"Invalid use of Null";
    case 424:
        return L"Object required";
    case 429:
        return L"ActiveX component can't create object";
    case 438:
        return L"Object doesn't support this property or method";
    case 450:
        return L"Wrong number of arguments or invalid property assignment";
    case 451:
        return L"Object not a collection";
    case 457:
        return L"This key is already associated with an element of this collection";
    case 458:
        return L"Variable uses an Automation type not supported in VBScript";
    case 500:
        return L"Variable is undefined";
    case 501:
        return L"Illegal assignment";
    case 505:
        return L"Invalid or unqualified reference";
    case 1002:
        return L"Syntax error";
    case 5017:
        return L"Syntax error in regular expression";
    case 32811:
        return L"Element not found";
    default:
        return L"Unknown runtime error";
    }
}

[[noreturn]] inline void RaiseError(int number) {
    throw ScriptError{number, StandardErrorDescription(number)};
}

namespace err {
inline constexpr int InvalidCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int DivisionByZero = 11;
inline constexpr int TypeMismatch = 13;
inline constexpr int ObjectNotSet = 91;
inline constexpr int ForNotInitialized = 92;
inline constexpr int InvalidUseOfNull = 94;
inline constexpr int ObjectRequired = 424;
inline constexpr int NoSuchMember = 438;
inline constexpr int UnqualifiedReference = 505;
} // namespace err

} // namespace vbs
