#pragma once
// A compiled procedure (its instructions, constants and where each statement resumes after
// an error) and a compiled class.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "vbscript/instructions.h"
#include "vbscript/value.h"

namespace vbs {

// Where execution continues after an error under On Error Resume Next: each statement's
// code range and the instruction after it.
struct StatementRange {
    std::int32_t begin;
    std::int32_t end;
    std::int32_t resume;
    int line;
};

struct ClassInfo;

// A capture naming local `index` that Execute made in the running call rather than a
// variable of the caller's (the constant kind is never a place, so never a capture).
inline std::int32_t ExecutedLocalCapture(std::int32_t index) {
    return PackVariable(VarKind::Constant, index);
}

struct Procedure {
    std::wstring name;
    ClassInfo* owner = nullptr; // the class of a method or property
    int running = 0;            // frames using it; a replaced procedure is kept while > 0
    bool defined = false;       // false: called before any script declared it
    bool isFunction = false;
    std::vector<std::uint8_t> paramByRef; // per parameter: 1 when ByRef
    int localCount = 0; // slot 0 is the function's result, then parameters, then the rest
    std::vector<Instr> code;
    // The code again with each ByRef parameter read and written as the local slot its value
    // is in, for calls that pass every argument by value: such a call makes no reference
    // table entries. Empty without ByRef parameters, and in procedures using Eval or
    // Execute, whose code finds the parameters by their reference index.
    std::vector<Instr> byValueCode;
    std::vector<Value> constants;
    std::vector<StatementRange> statements; // sorted by begin
    // Its named locals and parameters by folded name, for Eval and Execute run inside it.
    std::unordered_map<std::wstring, std::int32_t> localNames;
    // Code compiled for Eval or Execute: the calling procedure's variables it uses, one per
    // ByRef parameter; kExecutedLocal entries name the locals earlier Execute code made.
    std::vector<std::int32_t> captures;
    // The hidden slot holding the locals Execute makes in a call; -1 without Execute.
    std::int32_t executedLocals = -1;
    // Names it uses without declaring them while no global of that name is declared: each
    // has a local slot until such a global appears, then the global (GlobalScope rebinds).
    struct ImplicitName {
        std::int32_t global;
        std::int32_t slot;
    };
    std::vector<ImplicitName> implicitNames;
    const StatementRange* StatementAt(std::int32_t pc) const;
};

// A Class statement compiled: its fields, and its members by folded name.
struct ClassInfo {
    struct Member {
        std::int32_t field = -1;  // a variable
        std::int32_t method = -1; // a Sub or Function
        std::int32_t get = -1;    // Property Get, Let, Set
        std::int32_t let = -1;
        std::int32_t set = -1;
        bool isPublic = true;
    };
    struct Field {
        std::wstring name;
        std::vector<std::int32_t> upperBounds; // a fixed array when not empty
        Value initial;                         // a Const
    };
    std::wstring name;
    std::vector<Field> fields;
    // By folded name; found from the name constant of a member instruction without copying
    // it into a key.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::wstring_view name) const noexcept {
            return std::hash<std::wstring_view>{}(name);
        }
    };
    std::unordered_map<std::wstring, Member, NameHash, std::equal_to<>> members;
    std::vector<std::unique_ptr<Procedure>> procedures;
    std::wstring defaultMember; // folded; empty when none
    std::int32_t initialize = -1;
    std::int32_t terminate = -1;
};

} // namespace vbs
