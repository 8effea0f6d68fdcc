#pragma once
// The one exception type inside the engine: a run-time error with the language's number and
// text. The engine's public calls catch it, so it never reaches the host.
#include <cstdint>
#include <string>

namespace vbs {

struct ScriptError {
    int number;
    std::wstring description;
    // Ends the run: On Error Resume Next does not catch it (the step limit, a host's Quit).
    bool fatal = false;
    // Who raised it, for Err.Source. Err.Raise has already filled in Err's Source, HelpFile
    // and HelpContext. (Beside `fatal`, in its padding: the hot loops build these to throw.)
    enum class Origin : std::uint8_t { Runtime, Compiler, Raise };
    Origin origin = Origin::Runtime;
    // Where it happened, as far as the engine knows (1-based; 0 when unknown).
    int line = 0;
};

inline constexpr wchar_t kRuntimeErrorSource[] = L"Microsoft VBScript runtime error";
inline constexpr wchar_t kCompileErrorSource[] = L"Microsoft VBScript compilation error";

// The language's number for an error raised or caught as an HRESULT: the VBScript facility
// (&h800A0000 Or n) gives n, the common OLE and Win32 failures their run-time error, and
// every other number stays as it is.
inline int LanguageErrorNumber(int number) {
    const auto code = static_cast<std::uint32_t>(number);
    if ((code & 0xFFFF0000u) == 0x800A0000u)
        return static_cast<int>(code & 0xFFFFu);
    switch (code) {
    case 0x8007000Eu: // E_OUTOFMEMORY
        return 7;
    case 0x80070057u: // E_INVALIDARG
        return 5;
    case 0x80070005u: // E_ACCESSDENIED
        return 70;
    case 0x80004001u: // E_NOTIMPL
        return 445;
    case 0x80004002u: // E_NOINTERFACE
        return 430;
    case 0x80020003u: // DISP_E_MEMBERNOTFOUND
    case 0x80020006u: // DISP_E_UNKNOWNNAME
        return 438;
    case 0x80020005u: // DISP_E_TYPEMISMATCH
        return 13;
    case 0x80020007u: // DISP_E_NONAMEDARGS
        return 446;
    case 0x80020008u: // DISP_E_BADVARTYPE
        return 458;
    case 0x8002000Au: // DISP_E_OVERFLOW
        return 6;
    case 0x8002000Bu: // DISP_E_BADINDEX
        return 9;
    case 0x8002000Cu: // DISP_E_UNKNOWNLCID
        return 447;
    case 0x8002000Du: // DISP_E_ARRAYISLOCKED
        return 10;
    case 0x8002000Eu: // DISP_E_BADPARAMCOUNT
        return 450;
    case 0x8002000Fu: // DISP_E_PARAMNOTOPTIONAL
        return 449;
    case 0x80020011u: // DISP_E_NOTACOLLECTION
        return 451;
    case 0x80020012u: // DISP_E_DIVBYZERO
        return 11;
    case 0x80030002u: // STG_E_FILENOTFOUND
        return 53;
    case 0x800401F3u: // CO_E_CLASSSTRING
    case 0x80040154u: // REGDB_E_CLASSNOTREG
        return 429;
    default:
        return number;
    }
}

// The text the language shows for its run-time error numbers.
inline std::wstring StandardErrorDescription(int number) {
    switch (number) {
    case 3:
        return L"Return without GoSub";
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
    case 14:
        return L"Out of string space";
    case 17:
        return L"Can't perform requested operation";
    case 28:
        return L"Out of stack space";
    case 35:
        return L"Sub or Function not defined";
    case 48:
        return L"Error in loading DLL";
    case 51:
        return L"Internal error";
    case 52:
        return L"Bad file name or number";
    case 53:
        return L"File not found";
    case 54:
        return L"Bad file mode";
    case 55:
        return L"File already open";
    case 57:
        return L"Device I/O error";
    case 58:
        return L"File already exists";
    case 61:
        return L"Disk full";
    case 62:
        return L"Input past end of file";
    case 67:
        return L"Too many files";
    case 68:
        return L"Device unavailable";
    case 70:
        return L"Permission denied";
    case 71:
        return L"Disk not ready";
    case 74:
        return L"Can't rename with different drive";
    case 75:
        return L"Path/File access error";
    case 76:
        return L"Path not found";
    case 91:
        return L"Object variable not set";
    case 92:
        return L"For loop not initialized";
    case 94:
        return L"Invalid use of Null";
    case 322:
        return L"Can't create necessary temporary file";
    case 424:
        return L"Object required";
    case 429:
        return L"ActiveX component can't create object";
    case 430:
        return L"Class doesn't support Automation";
    case 432:
        return L"File name or class name not found during Automation operation";
    case 438:
        return L"Object doesn't support this property or method";
    case 445:
        return L"Object doesn't support this action";
    case 446:
        return L"Object doesn't support named arguments";
    case 447:
        return L"Object doesn't support current locale setting";
    case 448:
        return L"Named argument not found";
    case 449:
        return L"Argument not optional";
    case 450:
        return L"Wrong number of arguments or invalid property assignment";
    case 451:
        return L"Object not a collection";
    case 453:
        return L"Specified DLL function not found";
    case 457:
        return L"This key is already associated with an element of this collection";
    case 458:
        return L"Variable uses an Automation type not supported in VBScript";
    case 462:
        return L"The remote server machine does not exist or is unavailable";
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
