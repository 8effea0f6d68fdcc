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
    LoadField, // a: field of Me
    StoreField,
    LoadElement,  // a: variable, b: subscript count; stack: subscripts
    StoreElement, // a: variable, b: subscript count; stack: subscripts, value
    DimArray,     // a: variable, b: dimensions; stack: upper bounds
    ReDim,        // a: variable, b: dimensions, c: 1 to preserve; stack: upper bounds
    ArgRef,       // a: variable; pushes its value and its address for a ByRef parameter
    ArgValue,     // marks the value on top as passed by value
    ArgElement,   // a: variable, b: subscripts on the stack; an array element by reference
    Call,         // a: procedure index, b: argument count, c: 1 when all go by value (no
                  // argument places); pushes the result
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
    // Objects. Member names are constants (folded); the object is below its arguments.
    Member,        // a: name, b: argument count, c: Access (Call or Get); pushes the result
    StoreMember,   // a: name, b: argument count, c: Access (Let or Set); stack: object, args, value
    SetVar,        // a: variable; Set: the value must be an object or Nothing
    SetElement,    // a: variable, b: subscript count; Set into an array element
    RequireObject, // the value on top must be an object (With, For Each over an object)
    LoadMe,
    CallMe,      // a: class procedure, b: argument count; a method of Me called by its name
    New,         // a: class name constant
    Erase,       // a: variable, b: 1 for an array Dim'd with bounds (its elements are reset)
    LoadChecked, // a: global; error 500 unless declared (Option Explicit reading a name)
    Eval,        // pops the text, pushes its value
    Execute,     // pops the text and runs it; a: 1 to see the running procedure's locals
    GetRef,      // pops a procedure name, pushes an object calling it
    // Fused forms of frequent shapes; their operands are variables or constants read in
    // place (packed like variables).
    BinaryPush,   // x: FusedOp, b, c: operands; pushes b op c
    BinaryTo,     // x: FusedOp, a: variable, b, c: operands; a = b op c
    Move,         // a: variable, b: operand; a = b
    CompareJump,  // x: Comparison | literal flags | jump-when-true, a: target, b, c: operands
    LoadElement1, // a: array variable, b: subscript operand
};

enum class FusedOp : std::uint8_t { Add, Subtract, Multiply };
inline constexpr std::uint8_t kLeftLiteral = 0x10;
inline constexpr std::uint8_t kRightLiteral = 0x20;
inline constexpr std::uint8_t kJumpWhenTrue = 0x40;

// A variable operand packs its kind into the top bits of the index.
// Constant only appears in operands the fused instructions read in place.
enum class VarKind : std::uint32_t { Local = 0, Ref = 1, Global = 2, Field = 3, Constant = 4 };
inline constexpr int kVarKindShift = 28;
inline std::int32_t PackVariable(VarKind kind, std::int32_t index) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(kind) << kVarKindShift) |
                                     static_cast<std::uint32_t>(index));
}

struct Instr {
    Op op;
    std::uint8_t x = 0; // a small fourth operand of the fused instructions
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

struct ClassInfo;

struct Procedure {
    std::wstring name;
    ClassInfo* owner = nullptr; // the class of a method or property
    int running = 0;            // frames using it; a replaced procedure is kept while > 0
    bool defined = false;       // false: called before any script declared it
    bool isFunction = false;
    std::vector<std::uint8_t> paramByRef; // per parameter: 1 when ByRef
    int localCount = 0; // slot 0 is the function's result, then parameters, then the rest
    std::vector<Instr> code;
    std::vector<Value> constants;
    std::vector<StatementRange> statements; // sorted by begin
    // Its named locals and parameters by folded name, for Eval and Execute run inside it.
    std::unordered_map<std::wstring, std::int32_t> localNames;
    // Code compiled for Eval or Execute: the calling procedure's variables it uses, one per
    // ByRef parameter.
    std::vector<std::int32_t> captures;
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
    std::unordered_map<std::wstring, Member> members;
    std::vector<std::unique_ptr<Procedure>> procedures;
    std::wstring defaultMember; // folded; empty when none
    std::int32_t initialize = -1;
    std::int32_t terminate = -1;
};

// Everything that outlives one AddCode: the global variables, procedures and classes by
// name.
struct GlobalScope {
    std::unordered_map<std::wstring, std::int32_t> globalIndex;
    std::deque<Value> globals; // a deque so ByRef addresses stay valid as it grows
    std::deque<bool> declared; // per global: Dim'd, assigned in global code, or a named item
    std::unordered_map<std::wstring, std::int32_t> procedureIndex;
    std::vector<std::unique_ptr<Procedure>> procedures;
    // Procedures a later script replaced: a running frame may still use their code.
    std::vector<std::unique_ptr<Procedure>> retired;
    std::unordered_map<std::wstring, std::shared_ptr<ClassInfo>> classes;
    std::vector<const Builtin*> builtins;
    std::vector<std::int32_t> fixedArrays; // globals Dim'd with bounds

    std::int32_t DeclareGlobal(const std::wstring& folded, bool declare);
};

std::wstring FoldCase(std::wstring_view name);

// Compiles a parsed script into `scope`: its procedures are added (replacing any of the
// same name) and its global code is returned as a procedure to run once. False, with
// `error` set, for what the compiler cannot accept.
// With a `caller`, the global code also sees the caller's locals and class (Execute); new
// names it assigns are still globals.
bool Compile(const Program& program, GlobalScope& scope, std::unique_ptr<Procedure>& globalCode,
             SyntaxError& error, const Procedure* caller = nullptr);
// Compiles a program from ParseExpression into a procedure returning the expression's value.
bool CompileExpression(const Program& program, GlobalScope& scope, std::unique_ptr<Procedure>& code,
                       SyntaxError& error, const Procedure* caller = nullptr);

} // namespace vbs
