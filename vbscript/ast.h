#pragma once
// The syntax tree of a script. Every node lives in the Program's arena and refers to its
// children by plain pointers, so tearing down any tree, however deep, is one flat loop.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vbs {

struct Node {
    int line = 0;
    int column = 0;
    virtual ~Node() = default;
};

// ---- Expressions ----

enum class ExprKind {
    Literal,
    Name,   // a bare identifier: variable, constant or a call without arguments
    Member, // object.name; object is null for ".name" inside With
    Call,   // callee(args): call or index, the language cannot tell them apart here
    Paren,  // (inner): kept because a parenthesised argument is passed by value
    New,    // New ClassName
    Unary,
    Binary,
};

enum class LiteralKind { Integer, Double, String, Date, True, False, Nothing, Empty, Null };
enum class IntegerForm { Decimal, Hex, Octal };

enum class UnaryOp { Negate, Plus, Not };

enum class BinaryOp {
    Power,
    Multiply,
    Divide,
    IntDivide,
    Mod,
    Add,
    Subtract,
    Concat,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
    Is,
    And,
    Or,
    Xor,
    Eqv,
    Imp,
};

struct Expr : Node {
    explicit Expr(ExprKind k) : kind(k) {}
    const ExprKind kind;
};

struct LiteralExpr : Expr {
    LiteralExpr() : Expr(ExprKind::Literal) {}
    LiteralKind literal = LiteralKind::Empty;
    // Integer: decimal literals that fit in 64 bits (larger ones arrive as Double); hex and
    // octal literals hold their unsigned 32-bit pattern: the value side applies the
    // Integer/Long rules (&HFFFF is -1, &HFFFF& is 65535).
    std::int64_t integer = 0;
    IntegerForm form = IntegerForm::Decimal;
    bool longSuffix = false;
    double number = 0;
    std::wstring text; // String content or Date text between the # signs
};

struct NameExpr : Expr {
    NameExpr() : Expr(ExprKind::Name) {}
    std::wstring name;
};

struct MemberExpr : Expr {
    MemberExpr() : Expr(ExprKind::Member) {}
    Expr* object = nullptr; // null: the object of the enclosing With
    std::wstring name;
};

struct CallExpr : Expr {
    CallExpr() : Expr(ExprKind::Call) {}
    Expr* callee = nullptr;
    std::vector<Expr*> args; // an omitted argument (f(1, , 3)) is null
};

struct ParenExpr : Expr {
    ParenExpr() : Expr(ExprKind::Paren) {}
    Expr* inner = nullptr;
};

struct NewExpr : Expr {
    NewExpr() : Expr(ExprKind::New) {}
    std::wstring className;
};

struct UnaryExpr : Expr {
    UnaryExpr() : Expr(ExprKind::Unary) {}
    UnaryOp op = UnaryOp::Negate;
    Expr* operand = nullptr;
};

struct BinaryExpr : Expr {
    BinaryExpr() : Expr(ExprKind::Binary) {}
    BinaryOp op = BinaryOp::Add;
    Expr* left = nullptr;
    Expr* right = nullptr;
};

// ---- Statements ----

enum class StmtKind {
    OptionExplicit,
    Dim, // Dim, and Public/Private variables at module or class level
    ReDim,
    Const,
    Erase,
    Assign, // [Let] target = value
    Set,    // Set target = value
    Call,   // a call statement, with or without the Call keyword
    If,
    Select,
    For,
    ForEach,
    Do,
    While, // While ... Wend
    Exit,
    With,
    OnError,
    Stop,
    Procedure, // Sub, Function, Property Get/Let/Set
    Class,
};

enum class Visibility { Default, Public, Private };

struct Stmt : Node {
    explicit Stmt(StmtKind k) : kind(k) {}
    const StmtKind kind;
};

using StmtList = std::vector<Stmt*>;

struct SimpleStmt : Stmt { // Option Explicit, Stop
    explicit SimpleStmt(StmtKind k) : Stmt(k) {}
};

struct VarDecl {
    std::wstring name;
    int line = 0;
    int column = 0;
    bool isArray = false;           // written with parentheses: Dim a() or Dim a(3, 4)
    std::vector<Expr*> upperBounds; // empty for a dynamic array
};

struct DimStmt : Stmt {
    DimStmt() : Stmt(StmtKind::Dim) {}
    Visibility visibility = Visibility::Default; // Default: written with Dim
    std::vector<VarDecl> vars;
};

struct ReDimStmt : Stmt {
    ReDimStmt() : Stmt(StmtKind::ReDim) {}
    bool preserve = false;
    std::vector<VarDecl> vars; // upperBounds always present
};

struct ConstDecl {
    std::wstring name;
    Expr* value = nullptr; // a literal, possibly under unary minus or plus
};

struct ConstStmt : Stmt {
    ConstStmt() : Stmt(StmtKind::Const) {}
    Visibility visibility = Visibility::Default;
    std::vector<ConstDecl> consts;
};

struct EraseStmt : Stmt {
    EraseStmt() : Stmt(StmtKind::Erase) {}
    std::vector<std::wstring> names;
};

struct AssignStmt : Stmt { // Assign and Set
    explicit AssignStmt(StmtKind k) : Stmt(k) {}
    Expr* target = nullptr; // Name, Member or Call (indexed)
    Expr* value = nullptr;
};

struct CallStmt : Stmt {
    CallStmt() : Stmt(StmtKind::Call) {}
    // Name, Member, or Call when the callee itself is reached through an index: a(1).b 2
    Expr* callee = nullptr;
    std::vector<Expr*> args; // "f (x)" gives one Paren argument, "Call f(x)" a plain one
    bool withCallKeyword = false;
};

struct IfClause {
    Expr* condition = nullptr;
    StmtList body;
};

struct IfStmt : Stmt {
    IfStmt() : Stmt(StmtKind::If) {}
    std::vector<IfClause> clauses; // If, then each ElseIf
    bool hasElse = false;
    StmtList elseBody;
    bool singleLine = false;
};

enum class CaseTestKind { Value, Range, Is };

struct CaseTest {
    CaseTestKind kind = CaseTestKind::Value;
    Expr* value = nullptr;              // Value, Is, and the lower end of a Range
    Expr* upper = nullptr;              // Range
    BinaryOp compare = BinaryOp::Equal; // Is
};

struct CaseClause {
    std::vector<CaseTest> tests;
    StmtList body;
};

struct SelectStmt : Stmt {
    SelectStmt() : Stmt(StmtKind::Select) {}
    Expr* subject = nullptr;
    std::vector<CaseClause> cases;
    bool hasElse = false;
    StmtList elseBody;
};

struct ForStmt : Stmt {
    ForStmt() : Stmt(StmtKind::For) {}
    std::wstring variable;
    Expr* from = nullptr;
    Expr* to = nullptr;
    Expr* step = nullptr; // null: 1
    StmtList body;
};

struct ForEachStmt : Stmt {
    ForEachStmt() : Stmt(StmtKind::ForEach) {}
    std::wstring variable;
    Expr* collection = nullptr;
    StmtList body;
};

enum class LoopTest { None, WhileTop, UntilTop, WhileBottom, UntilBottom };

struct DoStmt : Stmt {
    DoStmt() : Stmt(StmtKind::Do) {}
    LoopTest test = LoopTest::None;
    Expr* condition = nullptr;
    StmtList body;
};

struct WhileStmt : Stmt {
    WhileStmt() : Stmt(StmtKind::While) {}
    Expr* condition = nullptr;
    StmtList body;
};

enum class ExitKind { Do, For, Sub, Function, Property };

struct ExitStmt : Stmt {
    ExitStmt() : Stmt(StmtKind::Exit) {}
    ExitKind what = ExitKind::Do;
};

struct WithStmt : Stmt {
    WithStmt() : Stmt(StmtKind::With) {}
    Expr* object = nullptr;
    StmtList body;
};

struct OnErrorStmt : Stmt {
    OnErrorStmt() : Stmt(StmtKind::OnError) {}
    bool resumeNext = false; // false: On Error GoTo 0
};

enum class ProcedureKind { Sub, Function, PropertyGet, PropertyLet, PropertySet };

struct Param {
    std::wstring name;
    bool byRef = true;    // the language's default
    bool isArray = false; // written as name()
};

struct ProcedureStmt : Stmt {
    ProcedureStmt() : Stmt(StmtKind::Procedure) {}
    ProcedureKind procKind = ProcedureKind::Sub;
    Visibility visibility = Visibility::Default;
    bool isDefault = false;
    std::wstring name;
    std::vector<Param> params;
    StmtList body;
};

struct ClassStmt : Stmt {
    ClassStmt() : Stmt(StmtKind::Class) {}
    std::wstring name;
    StmtList members; // Dim, Const and Procedure statements
};

// A parsed script: its statements and the storage of every node.
class Program {
public:
    template <class T, class... Args> T* Make(int line, int column, Args&&... args) {
        auto node = std::make_unique<T>(std::forward<Args>(args)...);
        node->line = line;
        node->column = column;
        T* raw = node.get();
        nodes_.push_back(std::move(node));
        return raw;
    }

    StmtList statements;

private:
    std::vector<std::unique_ptr<Node>> nodes_;
};

// A compact S-expression of the tree, e.g. "(if (= a 1) (then (call b)))"; one statement
// per line at the top level.
std::wstring Dump(const Program& program);
std::wstring Dump(const Expr* expr);
std::wstring Dump(const Stmt* stmt);

} // namespace vbs
