#include <gtest/gtest.h>

#include <string>

#include "vbscript/parser.h"

namespace vbs {
namespace {

// The tree of a script that must parse, or the error text when it does not.
std::wstring Tree(std::wstring_view source) {
    ParseResult result = Parse(source);
    if (!result.program)
        return L"error " + std::to_wstring(result.error->number) + L": " +
               result.error->description;
    return Dump(*result.program);
}

SyntaxError ErrorOf(std::wstring_view source, const ParseOptions& options = {}) {
    ParseResult result = Parse(source, options);
    EXPECT_FALSE(result.program) << "parsed: " << source.size() << " chars";
    return result.error.value_or(SyntaxError{});
}

TEST(VbsParser, LiteralsAndTokens) {
    EXPECT_EQ(Tree(L"x = &HFF + &O17 + &HFFFF& + 1.5E3 + .5 + 9223372036854775808"),
              L"(let x (+ (+ (+ (+ (+ &HFF &O17) &HFFFF&) 1500) 0.5) 9223372036854775808))");
    EXPECT_EQ(Tree(L"s = \"a\"\"b\" & #1/2/2003#"), L"(let s (& \"a\"\"b\" #1/2/2003#))");
    EXPECT_EQ(Tree(L"x = TRUE Or false Or nothing Or EMPTY Or Null"),
              L"(let x (or (or (or (or True False) Nothing) Empty) Null))");
    EXPECT_EQ(Tree(L"[my var] = obj.End.Class"), L"(let my var (. (. obj End) Class))");
    // Continuation, comments, Rem and colons.
    EXPECT_EQ(Tree(L"x = 1 + _\r\n  2 ' note\nREM all of this\ny = 3 : Rem tail"),
              L"(let x (+ 1 2))\n(let y 3)");
}

TEST(VbsParser, Precedence) {
    EXPECT_EQ(Tree(L"x = -2 ^ 2"), L"(let x (^ (neg 2) 2))");
    EXPECT_EQ(Tree(L"x = 2 ^ -2 ^ 2"), L"(let x (^ (^ 2 (neg 2)) 2))");
    EXPECT_EQ(Tree(L"x = 2 ^ 3 ^ 2"), L"(let x (^ (^ 2 3) 2))");
    EXPECT_EQ(Tree(L"x = -a * b"), L"(let x (* (neg a) b))");
    EXPECT_EQ(Tree(L"x = a + b * c \\ d Mod e"), L"(let x (+ a (mod (\\ (* b c) d) e)))");
    EXPECT_EQ(Tree(L"x = a & b + c = d"), L"(let x (= (& a (+ b c)) d))");
    EXPECT_EQ(Tree(L"x = Not a = b And c Or d Xor e Eqv f Imp g"),
              L"(let x (imp (eqv (xor (or (and (not (= a b)) c) d) e) f) g))");
    EXPECT_EQ(Tree(L"x = a Is Nothing Or (b - c) - d"),
              L"(let x (or (is a Nothing) (- (paren (- b c)) d)))");
    EXPECT_EQ(Tree(L"x = a <> b And c <= d"), L"(let x (and (<> a b) (<= c d)))");
    // Either order of the two characters: => is >=, =< is <=, >< is <>.
    EXPECT_EQ(Tree(L"x = a => b Or c =< d Or e >< f"),
              L"(let x (or (or (>= a b) (<= c d)) (<> e f)))");
    EXPECT_EQ(Tree(L"Select Case x\nCase Is => 2, Is >< 3\nEnd Select"),
              L"(select x (case ((is >= 2) (is <> 3))))");
}

TEST(VbsParser, NumbersBeyondDouble) {
    // Too small for a Double is 0; too large is an error. What counts is where the first
    // significant digit lands once the exponent has moved it.
    const std::wstring hundreds(400, L'0');
    EXPECT_EQ(Tree(L"x = 1e-94938484 + 0.5E-400"), L"(let x (+ 0 0))");
    EXPECT_EQ(Tree(L"x = 0." + hundreds + L"1"), L"(let x 0)");
    EXPECT_EQ(Tree(L"x = 1" + hundreds + L"e-300"), L"(let x 1e+100)");
    EXPECT_EQ(Tree(L"x = 4.9e-324"), L"(let x 5e-324)");
    EXPECT_EQ(ErrorOf(L"x = 1e400").number, 1031);
    EXPECT_EQ(ErrorOf(L"x = 1" + hundreds + L"e-5").number, 1031);
    EXPECT_EQ(ErrorOf(L"x = 0.001e99999999999").number, 1031);
}

TEST(VbsParser, CallsIndexingAndMembers) {
    EXPECT_EQ(Tree(L"x = obj.a.b(1, , 2).c"), L"(let x (. (apply (. (. obj a) b) 1 _ 2) c))");
    EXPECT_EQ(Tree(L"a(1, 2) = f()"), L"(let (apply a 1 2) (apply f))");
    EXPECT_EQ(Tree(L"foo 1, , x"), L"(call foo 1 _ x)");
    EXPECT_EQ(Tree(L"foo(x)"), L"(call foo (paren x))");
    EXPECT_EQ(Tree(L"foo (1) + 2, 3"), L"(call foo (+ (paren 1) 2) 3)");
    EXPECT_EQ(Tree(L"foo()"), L"(call foo)");
    EXPECT_EQ(Tree(L"a(1).b 2"), L"(call (. (apply a 1) b) 2)");
    EXPECT_EQ(Tree(L"Call foo(1, 2)"), L"(call foo 1 2)");
    // Parentheses around what Call calls only group it.
    EXPECT_EQ(Tree(L"Call (((f))) (x)"), L"(call f x)");
    EXPECT_EQ(Tree(L"Call (New C).m"), L"(call (. (paren (new C)) m))");
    EXPECT_EQ(Tree(L"Property = Property + 1 : Dim Property"),
              L"(let Property (+ Property 1))\n(dim Property)");
    EXPECT_EQ(Tree(L"Set o = New Thing : Set o.p = Nothing"),
              L"(set o (new Thing))\n(set (. o p) Nothing)");
    EXPECT_EQ(Tree(L"With o\n.a = .b\n.c .d\nEnd With"), L"(with o (let .a .b) (call .c .d))");
    // After a continuation a leading dot starts an argument or a statement, not a chain.
    EXPECT_EQ(Tree(L"With o\n.c _\n .d\n.a = 1 : _\n.b = 2\nEnd With"),
              L"(with o (call .c .d) (let .a 1) (let .b 2))");
    EXPECT_EQ(ErrorOf(L"foo(1, 2)").number, 1044);
}

TEST(VbsParser, Declarations) {
    EXPECT_EQ(Tree(L"Option Explicit\nDim a, b(3), c(), d(2, &H3)"),
              L"(option-explicit)\n(dim a (b 3) (c) (d 2 &H3))");
    EXPECT_EQ(Tree(L"ReDim Preserve a(n + 1), b(2, 3)\nReDim c(1)\nErase a, b"),
              L"(redim-preserve (a (+ n 1)) (b 2 3))\n(redim (c 1))\n(erase a b)");
    EXPECT_EQ(Tree(L"Const a = 1, b = -\"x\"\nPublic Const c = #1/1/2000#\nPrivate p, q(1)"),
              L"(const (a 1) (b (neg \"x\")))\n(public const (c #1/1/2000#))\n(private p (q 1))");
    EXPECT_EQ(ErrorOf(L"Const a = b").number, 1045);
    EXPECT_EQ(ErrorOf(L"Dim a(n)").number, 1026);
}

TEST(VbsParser, Procedures) {
    ParseResult result = Parse(L"Function f(a, ByVal b, ByRef c())\nf = a\nExit Function\n"
                               L"End Function\nPrivate Sub s : Exit Sub : End Sub");
    ASSERT_TRUE(result.program);
    EXPECT_EQ(Dump(*result.program),
              L"(function f (a byval b c()) (let f a) (exit function))\n"
              L"(private sub s () (exit sub))");
    const auto* f = static_cast<const ProcedureStmt*>(result.program->statements[0]);
    EXPECT_TRUE(f->params[0].byRef);
    EXPECT_FALSE(f->params[1].byRef);
    EXPECT_EQ(Tree(L"Class C\nPrivate m\nPublic Default Property Get V()\nV = m\nEnd Property\n"
                   L"Property Let V(x) : m = x : End Property\n"
                   L"Public Property Set O(x) : Exit Property : End Property\nEnd Class"),
              L"(class C (private m) (public default property-get V () (let V m)) "
              L"(property-let V (x) (let m x)) (public property-set O (x) (exit property)))");
    EXPECT_EQ(ErrorOf(L"Class C\nPrivate Default Function f\nEnd Function\nEnd Class").number,
              1057);
    EXPECT_EQ(ErrorOf(L"Class C\nProperty Let V()\nEnd Property\nEnd Class").number, 1054);
    EXPECT_EQ(ErrorOf(L"Class C\nProperty V\nEnd Property\nEnd Class").number, 1049);
    EXPECT_EQ(ErrorOf(L"Class C\nx = 1\nEnd Class").number, 1014);
    EXPECT_EQ(ErrorOf(L"Sub t\nSub s\nEnd Sub\nEnd Sub").number, 1024);
    EXPECT_EQ(ErrorOf(L"Sub s\nExit Function\nEnd Sub").number, 1039);
    EXPECT_EQ(ErrorOf(L"Sub s\nx = 1\nEnd Function").number, 1016);
}

TEST(VbsParser, BlockStatements) {
    EXPECT_EQ(Tree(L"If a = 1 Then\nb\nElseIf c Then\nd 1\nElse\ne\nEnd If"),
              L"(if (= a 1) (then (call b)) (elseif c (then (call d 1))) (else (call e)))");
    EXPECT_EQ(Tree(L"Select Case x\nCase 1, 2 To 5, Is >= 9\ny\nCase Else\nz\nEnd Select"),
              L"(select x (case (1 (to 2 5) (is >= 9)) (call y)) (else (call z)))");
    EXPECT_EQ(Tree(L"For i = 1 To n Step -1\nExit For\nNext\nFor Each v In c : w v : Next"),
              L"(for i 1 n (step (neg 1)) (exit for))\n(foreach v c (call w v))");
    EXPECT_EQ(Tree(L"Do While a\nExit Do\nLoop\nDo\nLoop Until b\nDo : Loop"),
              L"(do (while a) (exit do))\n(do (loop-until b))\n(do)");
    EXPECT_EQ(Tree(L"While x > 0\nx = x - 1\nWend"), L"(while (> x 0) (let x (- x 1)))");
    EXPECT_EQ(Tree(L"On Error Resume Next\nOn Error GoTo 0\nStop"),
              L"(on-error-resume-next)\n(on-error-goto-0)\n(stop)");
}

TEST(VbsParser, SingleLineIf) {
    ParseResult result = Parse(L"If a Then b : c = 1 Else d : e\nf");
    ASSERT_TRUE(result.program);
    EXPECT_EQ(Dump(*result.program),
              L"(if a (then (call b) (let c 1)) (else (call d) (call e)))\n(call f)");
    EXPECT_TRUE(static_cast<const IfStmt*>(result.program->statements[0])->singleLine);
    EXPECT_EQ(Tree(L"If a Then If b Then c Else d"),
              L"(if a (then (if b (then (call c)) (else (call d)))))");
    EXPECT_EQ(Tree(L"If a Then foo(1) Else x = 2"),
              L"(if a (then (call foo (paren 1))) (else (let x 2)))");
    EXPECT_EQ(ErrorOf(L"If a Then For i = 1 To 2 : Next").number, 1002);
    EXPECT_EQ(ErrorOf(L"If a Then Sub s : End Sub").number, 1024);
    // A trailing End If closes the line's If and nothing more.
    EXPECT_EQ(Tree(L"If a Then b End If"), L"(if a (then (call b)))");
    EXPECT_EQ(Tree(L"If a Then x = 1 Else x = 2 End If\ny"),
              L"(if a (then (let x 1)) (else (let x 2)))\n(call y)");
    EXPECT_EQ(ErrorOf(L"If a Then b End If c").number, 1025);
    EXPECT_EQ(ErrorOf(L"If a Then b End If\nEnd If").number, 1024);
    // Colons after Then: a block when the line ends there, else a single-line If.
    EXPECT_EQ(Tree(L"If a Then :\nb\nEnd If"), L"(if a (then (call b)))");
    EXPECT_EQ(Tree(L"If a Then :: ' note\nb\nEnd If"), L"(if a (then (call b)))");
    EXPECT_EQ(Tree(L"If a Then : b : c\nd"), L"(if a (then (call b) (call c)))\n(call d)");
    EXPECT_EQ(ErrorOf(L"If a Then : b\nEnd If").number, 1024);
}

TEST(VbsParser, ClosingsAfterAStatement) {
    EXPECT_EQ(Tree(L"Sub s : x = 1 End Sub\nFunction f(a) : f = a End Function"),
              L"(sub s () (let x 1))\n(function f (a) (let f a))");
    EXPECT_EQ(Tree(L"If a Then\nb End If"), L"(if a (then (call b)))");
    EXPECT_EQ(Tree(L"Class C : Public v End Class"), L"(class C (public v))");
    EXPECT_EQ(Tree(L"Class C\nProperty Get p : p = 1 End Property\nEnd Class"),
              L"(class C (property-get p () (let p 1)))");
    // Only the closings of If, procedures and classes may follow this way.
    EXPECT_EQ(ErrorOf(L"With o\n.a = 1 End With").number, 1025);
    EXPECT_EQ(ErrorOf(L"x = 1 End").number, 1025);
    // Case tests may run straight into the first statement.
    EXPECT_EQ(Tree(L"Select Case x\nCase 1  y = 2\nCase Else z\nEnd Select"),
              L"(select x (case (1) (let y 2)) (else (call z)))");
}

TEST(VbsParser, ProceduresInIfBlocks) {
    EXPECT_EQ(
        Tree(L"If a Then\nSub s\nEnd Sub\nElseIf b Then\nIf c Then\nFunction f\nEnd Function\n"
             L"End If\nElse\nSub t : End Sub\nEnd If"),
        L"(if a (then (sub s ())) (elseif b (then (if c (then (function f ()))))) "
        L"(else (sub t ())))");
    // Nowhere else in a block, and never a class.
    EXPECT_EQ(ErrorOf(L"If a Then\nFor i = 1 To 2\nSub s\nEnd Sub\nNext\nEnd If").number, 1024);
    EXPECT_EQ(ErrorOf(L"Sub t\nIf a Then\nSub s\nEnd Sub\nEnd If\nEnd Sub").number, 1024);
    EXPECT_EQ(ErrorOf(L"If a Then\nClass C\nEnd Class\nEnd If").number, 1024);
}

TEST(VbsParser, ErrorsCarryPosition) {
    struct Case {
        const wchar_t* source;
        int number, line, column;
    };
    const Case cases[] = {
        {L"x = (1 + 2", 1006, 1, 11},
        {L"x = 1\ny = \"abc", 1033, 2, 5},
        {L"If a\nb\nEnd If", 1017, 1, 5},
        {L"If a Then\nb", 1014, 2, 2},
        {L"For i = 1\nNext", 1013, 1, 10},
        {L"For i 1 To 2\nNext", 1011, 1, 7},
        {L"For i = 1 To 2\nLoop", 1020, 2, 1},
        {L"Do\nx", 1019, 2, 2},
        {L"While a\nNext", 1018, 2, 1},
        {L"Select Case a\nx\nEnd Select", 1021, 2, 1},
        {L"Dim 3", 1010, 1, 5},
        {L"x = 1 2", 1025, 1, 7},
        {L"x = ", 1023, 1, 5},
        {L"Next", 1024, 1, 1},
        {L"x = 1 ? 2", 1032, 1, 7},
        {L"Exit Do", 1039, 1, 6},
        {L"x = &HFFFFFFFFF", 1031, 1, 5},
    };
    for (const Case& c : cases) {
        const SyntaxError error = ErrorOf(c.source);
        EXPECT_EQ(error.number, c.number) << c.source;
        EXPECT_EQ(error.line, c.line) << c.source;
        EXPECT_EQ(error.column, c.column) << c.source;
    }
    const SyntaxError error = ErrorOf(L"a = 1\r\nb = (2\r\nc = 3");
    EXPECT_EQ(error.sourceLine, L"b = (2");
    EXPECT_EQ(error.description, L"Expected ')'");
}

TEST(VbsParser, NestingLimitsEndInErrors) {
    std::wstring ifs;
    for (int i = 0; i < 10000; ++i)
        ifs += L"If a Then\n";
    EXPECT_EQ(ErrorOf(ifs).number, 28);
    EXPECT_EQ(ErrorOf(L"x = " + std::wstring(100000, L'(') + L"1").number, 28);
    EXPECT_EQ(ErrorOf(L"x = " + std::wstring(1 << 20, L'-') + L"1").number, 28);
    std::wstring chain = L"x = a";
    for (int i = 0; i < 5000; ++i)
        chain += L" + a";
    EXPECT_EQ(ErrorOf(chain).number, 28);
    // A raised limit accepts what the default refuses, and its tree tears down flat.
    ParseOptions deep;
    deep.maxDepth = 40000;
    EXPECT_TRUE(Parse(chain, deep).program);
    EXPECT_TRUE(
        Parse(L"x = " + std::wstring(5000, L'(') + L"1" + std::wstring(5000, L')'), deep).program);
    ParseOptions shallow;
    shallow.maxDepth = 8;
    EXPECT_EQ(ErrorOf(L"x = ((((((((1))))))))", shallow).number, 28);
}

} // namespace
} // namespace vbs
