#pragma once
// Tokens of VBScript source. Keywords are recognised without case; the parser decides
// which of the softer ones (Get, Step, Error ...) may also serve as names.
#include <cstdint>
#include <string>
#include <string_view>

#include "vbscript/syntax_error.h"

namespace vbs {

enum class TokenKind {
    End,     // end of the source
    NewLine, // end of a line (comments are skipped up to it)
    Colon,   // statement separator on one line
    Word,    // identifier or keyword; see Token::keyword
    Integer,
    Double,
    String,
    Date,
    Dot,
    Comma,
    LParen,
    RParen,
    Plus,
    Minus,
    Star,
    Slash,
    Backslash,
    Caret,
    Ampersand,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
};

enum class Keyword {
    None, // a plain identifier, including every [bracketed] one
    And,
    ByRef,
    ByVal,
    Call,
    Case,
    Class,
    Const,
    Default,
    Dim,
    Do,
    Each,
    Else,
    ElseIf,
    Empty,
    End,
    Eqv,
    Erase,
    Error,
    Exit,
    Explicit,
    False,
    For,
    Function,
    Get,
    GoTo,
    If,
    Imp,
    In,
    Is,
    Let,
    Loop,
    Mod,
    New,
    Next,
    Not,
    Nothing,
    Null,
    On,
    Option,
    Or,
    Preserve,
    Private,
    Property,
    Public,
    ReDim,
    Resume,
    Select,
    Set,
    Step,
    Stop,
    Sub,
    Then,
    To,
    True,
    Until,
    Wend,
    While,
    With,
    Xor,
};

enum class IntegerRadix { Decimal, Hex, Octal };

struct Token {
    TokenKind kind = TokenKind::End;
    Keyword keyword = Keyword::None;
    bool spaceBefore = false; // blank, line start or continuation right before the token
    int line = 1;
    int column = 1;
    // Word: the name as written (no brackets); String: the content with "" undone;
    // Date: the text between the # signs.
    std::wstring text;
    // Integer: the value; &H/&O literals keep their raw bit pattern (&HFFFF is 65535 here,
    // the value side gives it the Integer meaning -1).
    std::int64_t integer = 0;
    IntegerRadix radix = IntegerRadix::Decimal;
    bool longSuffix = false; // &H...& forces a Long
    double number = 0;       // Double
};

class Lexer {
public:
    explicit Lexer(std::wstring_view source) : source_(source) {}

    // The next token; throws SyntaxError for malformed input.
    Token Next();

    std::wstring_view Source() const { return source_; }

private:
    wchar_t Peek(std::size_t ahead = 0) const {
        return pos_ + ahead < source_.size() ? source_[pos_ + ahead] : L'\0';
    }
    bool AtEnd() const { return pos_ >= source_.size(); }
    void Advance();
    bool SkipBlanks(); // blanks and line continuations; true when any was skipped
    void SkipToLineEnd();
    [[noreturn]] void Fail(int number, int line, int column) const;

    void LexWord(Token& token);
    void LexBracketed(Token& token);
    void LexNumber(Token& token);
    void LexRadixNumber(Token& token);
    void LexString(Token& token);
    void LexDate(Token& token);
    bool LexOperator(Token& token);

    std::wstring_view source_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int column_ = 1;
    TokenKind previous_ = TokenKind::NewLine;
};

} // namespace vbs
