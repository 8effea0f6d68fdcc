#pragma once
// The instruction set the compiler emits and the VM runs: 16-byte instructions whose
// variable operands are packed with their kind (local slot, ByRef parameter, global, field
// of Me, or a constant of the procedure).
#include <cstdint>
#include <span>

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
    ForEachStart, // a: variable, b: first of three temporaries (array, index, items), c: exit
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
    AppendStart, // a: variable, b: hidden slot; keeps the variable's value there for AppendTo
    AppendTo,    // a: variable, b: operand count, c: AppendStart's slot or -1; appends the
                 // operands to the variable in place
    Compare,     // a: Comparison, b: bit 0 left literal, bit 1 right literal
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
    LoadErr, // pushes the Err object itself
    Raise,   // a: error number
    // Objects. Member names are constants (folded); the object is below its arguments.
    Member,        // a: name, b: argument count, c: Access (Call or Get); pushes the result
    StoreMember,   // a: name, b: argument count, c: Access (Let or Set); stack: object, args, value
    SetVar,        // a: variable; Set: the value must be an object or Nothing (b: 1 takes any
                   // value as it is, for the result of Eval)
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
    // CompareJump whose left operand was computed onto the stack (an element, a call ...):
    // x, a as CompareJump, c: the right operand; pops the left one.
    CompareTopJump,
    // BinaryTo adding to or subtracting from its own target (a = a + c): a and b are the
    // same variable, x is Add or Subtract. Accumulators and counters take this form.
    UpdateVar,
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

// Makes every operand of `code` that names variable `from` name `to` instead (both packed);
// a local's plain load or store becomes the load or store of `to`'s kind.
void RenameVariable(std::span<Instr> code, std::int32_t from, std::int32_t to);

} // namespace vbs
