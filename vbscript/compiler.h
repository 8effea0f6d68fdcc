#pragma once
// The syntax tree turned into one flat instruction list per procedure. Every variable is
// resolved here to a slot: a local (index in the frame), a ByRef parameter (index in the
// frame's reference table) or a global (index in the engine's global table), so the VM
// never looks a name up while running.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "vbscript/ast.h"
#include "vbscript/builtins.h"
#include "vbscript/syntax_error.h"
#include "vbscript/value.h"

namespace vbs {

enum class Op : std::uint8_t {
    PushConst, // a: constant index
    Pop,
    LoadLocal, // a: slot
    StoreLocal,
    LoadRef, // a: reference index (ByRef parameter)
    StoreRef,
    LoadGlobal, // a: global index
    StoreGlobal,
    LoadElement,  // a: variable, b: subscript count; stack: subscripts
    StoreElement, // a: variable, b: subscript count; stack: subscripts, value
    DimArray,     // a: variable, b: dimensions; stack: upper bounds
    ReDim,        // a: variable, b: dimensions, c: 1 to preserve; stack: upper bounds
    ArgRef,       // a: variable; pushes its value and its address for a ByRef parameter
    ArgValue,     // marks the value on top as passed by value
    Call,         // a: procedure index, b: argument count; pushes the result
    CallBuiltin,  // a: builtin index, b: argument count; pushes the result
    Return,
    Jump,         // a: target
    JumpIfFalse,  // a: target; pops
    JumpIfTrue,   // a: target; pops
    ForStart,     // a: variable, b: first of two temporaries (limit, step), c: exit target
    ForNext,      // a: variable, b: temporaries, c: body target
    ForEachStart, // a: variable, b: first of two temporaries (array, index), c: exit target
    ForEachNext,  // a: variable, b: temporaries, c: body target
    Negate,
    Not,
    Add,
    Subtract,
    Multiply,
    Divide,
    IntDivide,
    Mod,
    Power,
    Concat,
    AppendTo, // a: variable, b: operand count; appends the operands to it in place
    Compare,  // a: Comparison, b: bit 0 left literal, bit 1 right literal
    And,
    Or,
    Xor,
    Eqv,
    Imp,
    Is,
    OnErrorResumeNext,
    OnErrorGoto0,
    ErrNumber,
    ErrDescription,
    ErrSource,
    ErrClear,
    ErrRaise, // b: argument count (number, source, description)
    Raise,    // a: error number
};

// A variable operand packs its kind into the top bits of the index.
enum class VarKind : std::uint32_t { Local = 0, Ref = 1, Global = 2 };
inline constexpr int kVarKindShift = 28;
inline std::int32_t PackVariable(VarKind kind, std::int32_t index) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(kind) << kVarKindShift) |
                                     static_cast<std::uint32_t>(index));
}

struct Instr {
    Op op;
    std::int32_t a = 0;
    std::int32_t b = 0;
    std::int32_t c = 0;
};

// Where execution continues after an error under On Error Resume Next: each statement's
// code range and the instruction after it.
struct StatementRange {
    std::int32_t begin;
    std::int32_t end;
    std::int32_t resume;
    int line;
};

struct Procedure {
    std::wstring name;
    bool defined = false; // false: called before any script declared it
    bool isFunction = false;
    std::vector<bool> paramByRef;
    int localCount = 0; // slot 0 is the function's result, then parameters, then the rest
    std::vector<Instr> code;
    std::vector<Value> constants;
    std::vector<StatementRange> statements; // sorted by begin
    const StatementRange* StatementAt(std::int32_t pc) const;
};

// Everything that outlives one AddCode: the global variables and the procedures by name.
struct GlobalScope {
    std::unordered_map<std::wstring, std::int32_t> globalIndex;
    std::deque<Value> globals; // a deque so ByRef addresses stay valid as it grows
    std::unordered_map<std::wstring, std::int32_t> procedureIndex;
    std::vector<std::unique_ptr<Procedure>> procedures;
    std::vector<const Builtin*> builtins;
};

std::wstring FoldCase(std::wstring_view name);

// Compiles a parsed script into `scope`: its procedures are added (replacing any of the
// same name) and its global code is returned as a procedure to run once. False, with
// `error` set, for what the compiler cannot accept.
bool Compile(const Program& program, GlobalScope& scope, std::unique_ptr<Procedure>& globalCode,
             SyntaxError& error);

} // namespace vbs
