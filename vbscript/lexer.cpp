#include "vbscript/lexer.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

#include "platform/base/nocase.h"

namespace vbs {
namespace {

const plat::NoCaseMap<Keyword>& KeywordTable() {
    static const plat::NoCaseMap<Keyword> table{
        {L"And", Keyword::And},
        {L"ByRef", Keyword::ByRef},
        {L"ByVal", Keyword::ByVal},
        {L"Call", Keyword::Call},
        {L"Case", Keyword::Case},
        {L"Class", Keyword::Class},
        {L"Const", Keyword::Const},
        {L"Default", Keyword::Default},
        {L"Dim", Keyword::Dim},
        {L"Do", Keyword::Do},
        {L"Each", Keyword::Each},
        {L"Else", Keyword::Else},
        {L"ElseIf", Keyword::ElseIf},
        {L"Empty", Keyword::Empty},
        {L"End", Keyword::End},
        {L"Eqv", Keyword::Eqv},
        {L"Erase", Keyword::Erase},
        {L"Error", Keyword::Error},
        {L"Exit", Keyword::Exit},
        {L"Explicit", Keyword::Explicit},
        {L"False", Keyword::False},
        {L"For", Keyword::For},
        {L"Function", Keyword::Function},
        {L"Get", Keyword::Get},
        {L"GoTo", Keyword::GoTo},
        {L"If", Keyword::If},
        {L"Imp", Keyword::Imp},
        {L"In", Keyword::In},
        {L"Is", Keyword::Is},
        {L"Let", Keyword::Let},
        {L"Loop", Keyword::Loop},
        {L"Mod", Keyword::Mod},
        {L"New", Keyword::New},
        {L"Next", Keyword::Next},
        {L"Not", Keyword::Not},
        {L"Nothing", Keyword::Nothing},
        {L"Null", Keyword::Null},
        {L"On", Keyword::On},
        {L"Option", Keyword::Option},
        {L"Or", Keyword::Or},
        {L"Preserve", Keyword::Preserve},
        {L"Private", Keyword::Private},
        {L"Property", Keyword::Property},
        {L"Public", Keyword::Public},
        {L"ReDim", Keyword::ReDim},
        {L"Resume", Keyword::Resume},
        {L"Select", Keyword::Select},
        {L"Set", Keyword::Set},
        {L"Step", Keyword::Step},
        {L"Stop", Keyword::Stop},
        {L"Sub", Keyword::Sub},
        {L"Then", Keyword::Then},
        {L"To", Keyword::To},
        {L"True", Keyword::True},
        {L"Until", Keyword::Until},
        {L"Wend", Keyword::Wend},
        {L"While", Keyword::While},
        {L"With", Keyword::With},
        {L"Xor", Keyword::Xor},
    };
    return table;
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}
bool IsLetter(wchar_t c) {
    // Letters outside ASCII are accepted so that names in other scripts work.
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
           (c >= 0x80 && c != 0xA0 && c != 0xFEFF);
}
bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == 0xA0 || c == 0xFEFF;
}
bool IsLineEnd(wchar_t c) {
    return c == L'\n' || c == L'\r';
}

int HexDigit(wchar_t c) {
    if (IsDigit(c))
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// Whether a decimal literal too far from 1 for a Double lies below 1 (it underflows to 0)
// rather than above (it overflows): where its first significant digit falls, shifted by
// the exponent.
bool BelowOne(std::string_view literal) {
    std::int64_t order = 0; // 10^(order-1) <= mantissa < 10^order
    bool significant = false;
    bool fraction = false;
    std::size_t i = 0;
    for (; i < literal.size() && literal[i] != 'e' && literal[i] != 'E'; ++i) {
        if (literal[i] == '.') {
            fraction = true;
        } else if (!significant && literal[i] == '0') {
            order -= fraction ? 1 : 0;
        } else {
            significant = true;
            order += fraction ? 0 : 1;
        }
    }
    std::int64_t exponent = 0;
    const bool negative = i + 1 < literal.size() && literal[i + 1] == '-';
    for (++i; i < literal.size(); ++i) {
        if (literal[i] >= '0' && literal[i] <= '9')
            exponent = std::min<std::int64_t>(exponent * 10 + (literal[i] - '0'), 1'000'000'000);
    }
    return order + (negative ? -exponent : exponent) <= 0;
}

} // namespace

void Lexer::Advance() {
    const wchar_t c = source_[pos_++];
    if (c == L'\n' || (c == L'\r' && Peek() != L'\n')) {
        ++line_;
        column_ = 1;
    } else {
        ++column_;
    }
}

void Lexer::Fail(int number, int line, int column) const {
    throw MakeSyntaxError(number, line, column, source_);
}

bool Lexer::SkipBlanks() {
    bool skipped = false;
    while (!AtEnd()) {
        if (IsBlank(Peek())) {
            Advance();
            skipped = true;
            continue;
        }
        if (Peek() != L'_')
            break;
        // " _" at the end of a line continues the statement on the next one.
        std::size_t ahead = 1;
        while (IsBlank(Peek(ahead)))
            ++ahead;
        if (!IsLineEnd(Peek(ahead)))
            break;
        while (!IsLineEnd(Peek()))
            Advance();
        if (Peek() == L'\r' && Peek(1) == L'\n')
            Advance();
        Advance();
        skipped = true;
    }
    return skipped;
}

void Lexer::SkipToLineEnd() {
    while (!AtEnd() && !IsLineEnd(Peek()))
        Advance();
}

Token Lexer::Next() {
    Token token;
    token.spaceBefore = SkipBlanks() || previous_ == TokenKind::NewLine;
    if (!AtEnd() && Peek() == L'\'')
        SkipToLineEnd();
    token.line = line_;
    token.column = column_;
    const wchar_t c = Peek();
    if (AtEnd()) {
        token.kind = TokenKind::End;
    } else if (IsLineEnd(c)) {
        if (c == L'\r' && Peek(1) == L'\n')
            Advance();
        Advance();
        token.kind = TokenKind::NewLine;
    } else if (c == L':') {
        Advance();
        token.kind = TokenKind::Colon;
    } else if (IsLetter(c)) {
        LexWord(token);
        if (token.keyword == Keyword::None && previous_ != TokenKind::Dot &&
            plat::EqualsNoCase(token.text, L"Rem")) {
            SkipToLineEnd();
            return Next();
        }
    } else if (c == L'[') {
        LexBracketed(token);
    } else if (IsDigit(c) || (c == L'.' && IsDigit(Peek(1)) &&
                              (token.spaceBefore ||
                               (previous_ != TokenKind::Word && previous_ != TokenKind::RParen)))) {
        LexNumber(token);
    } else if (c == L'&' && (Peek(1) == L'H' || Peek(1) == L'h') && HexDigit(Peek(2)) >= 0) {
        LexRadixNumber(token);
    } else if (c == L'&' && (Peek(1) == L'O' || Peek(1) == L'o') && Peek(2) >= L'0' &&
               Peek(2) <= L'7') {
        LexRadixNumber(token);
    } else if (c == L'"') {
        LexString(token);
    } else if (c == L'#') {
        LexDate(token);
    } else if (!LexOperator(token)) {
        Fail(syntax_errors::kInvalidCharacter, line_, column_);
    }
    previous_ = token.kind;
    return token;
}

void Lexer::LexWord(Token& token) {
    const std::size_t start = pos_;
    while (!AtEnd() && (IsLetter(Peek()) || IsDigit(Peek()) || Peek() == L'_'))
        Advance();
    token.kind = TokenKind::Word;
    token.text.assign(source_.substr(start, pos_ - start));
    // After a member dot every word is a member name: obj.End, obj.Class.
    if (previous_ == TokenKind::Dot)
        return;
    const auto& table = KeywordTable();
    if (auto found = table.find(token.text); found != table.end())
        token.keyword = found->second;
}

void Lexer::LexBracketed(Token& token) {
    Advance();
    const std::size_t start = pos_;
    while (!AtEnd() && Peek() != L']' && !IsLineEnd(Peek()))
        Advance();
    if (Peek() != L']')
        Fail(syntax_errors::kExpectedIdentifier, token.line, token.column);
    token.kind = TokenKind::Word;
    token.text.assign(source_.substr(start, pos_ - start));
    Advance();
}

void Lexer::LexNumber(Token& token) {
    const std::size_t start = pos_;
    bool isDouble = false;
    while (IsDigit(Peek()))
        Advance();
    if (Peek() == L'.' && IsDigit(Peek(1))) {
        isDouble = true;
        Advance();
        while (IsDigit(Peek()))
            Advance();
    } else if (Peek() == L'.' && pos_ > start && !IsLetter(Peek(1))) {
        isDouble = true; // "1." is a Double, "1.x" is left to the parser
        Advance();
    }
    if (Peek() == L'e' || Peek() == L'E') {
        const std::size_t sign = Peek(1) == L'+' || Peek(1) == L'-' ? 1 : 0;
        if (IsDigit(Peek(1 + sign))) {
            isDouble = true;
            for (std::size_t i = 0; i < 1 + sign; ++i)
                Advance();
            while (IsDigit(Peek()))
                Advance();
        }
    }
    std::string ascii;
    for (std::size_t i = start; i < pos_; ++i)
        ascii.push_back(static_cast<char>(source_[i]));
    if (!isDouble) {
        std::int64_t value = 0;
        const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
        if (ec == std::errc() && end == ascii.data() + ascii.size()) {
            token.kind = TokenKind::Integer;
            token.integer = value;
            return;
        }
    }
    // Too large for an integer, or written as a decimal: a Double.
    double value = 0;
    const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (ec == std::errc::result_out_of_range && BelowOne(ascii))
        value = 0;
    else if (ec != std::errc() || end != ascii.data() + ascii.size())
        Fail(syntax_errors::kInvalidNumber, token.line, token.column);
    token.kind = TokenKind::Double;
    token.number = value;
}

void Lexer::LexRadixNumber(Token& token) {
    Advance();
    const bool hex = Peek() == L'H' || Peek() == L'h';
    Advance();
    const int base = hex ? 16 : 8;
    std::uint64_t value = 0;
    bool tooLarge = false;
    while (true) {
        const int digit = HexDigit(Peek());
        if (digit < 0 || digit >= base)
            break;
        value = value * base + digit;
        tooLarge = tooLarge || value > std::numeric_limits<std::uint32_t>::max();
        Advance();
    }
    if (tooLarge)
        Fail(syntax_errors::kInvalidNumber, token.line, token.column);
    if (Peek() == L'&') {
        token.longSuffix = true;
        Advance();
    }
    token.kind = TokenKind::Integer;
    token.integer = static_cast<std::int64_t>(value);
    token.radix = hex ? IntegerRadix::Hex : IntegerRadix::Octal;
}

void Lexer::LexString(Token& token) {
    Advance();
    token.kind = TokenKind::String;
    while (true) {
        if (AtEnd() || IsLineEnd(Peek()))
            Fail(syntax_errors::kUnterminatedString, token.line, token.column);
        const wchar_t c = Peek();
        Advance();
        if (c == L'"') {
            if (Peek() != L'"')
                return;
            Advance();
        }
        token.text.push_back(c);
    }
}

void Lexer::LexDate(Token& token) {
    Advance();
    const std::size_t start = pos_;
    while (!AtEnd() && Peek() != L'#' && !IsLineEnd(Peek()))
        Advance();
    if (Peek() != L'#')
        Fail(syntax_errors::kSyntaxError, token.line, token.column);
    token.kind = TokenKind::Date;
    token.text.assign(source_.substr(start, pos_ - start));
    Advance();
}

bool Lexer::LexOperator(Token& token) {
    const wchar_t c = Peek();
    const wchar_t next = Peek(1);
    TokenKind kind;
    int length = 1;
    switch (c) {
    case L'.':
        kind = TokenKind::Dot;
        break;
    case L',':
        kind = TokenKind::Comma;
        break;
    case L'(':
        kind = TokenKind::LParen;
        break;
    case L')':
        kind = TokenKind::RParen;
        break;
    case L'+':
        kind = TokenKind::Plus;
        break;
    case L'-':
        kind = TokenKind::Minus;
        break;
    case L'*':
        kind = TokenKind::Star;
        break;
    case L'/':
        kind = TokenKind::Slash;
        break;
    case L'\\':
        kind = TokenKind::Backslash;
        break;
    case L'^':
        kind = TokenKind::Caret;
        break;
    case L'&':
        kind = TokenKind::Ampersand;
        break;
    // The comparisons may be spelt either way round: => is >=, =< is <=, >< is <>.
    case L'=':
        kind = next == L'>'   ? TokenKind::GreaterEqual
               : next == L'<' ? TokenKind::LessEqual
                              : TokenKind::Equal;
        length = kind == TokenKind::Equal ? 1 : 2;
        break;
    case L'<':
        kind = next == L'>'   ? TokenKind::NotEqual
               : next == L'=' ? TokenKind::LessEqual
                              : TokenKind::Less;
        length = kind == TokenKind::Less ? 1 : 2;
        break;
    case L'>':
        kind = next == L'='   ? TokenKind::GreaterEqual
               : next == L'<' ? TokenKind::NotEqual
                              : TokenKind::Greater;
        length = kind == TokenKind::Greater ? 1 : 2;
        break;
    default:
        return false;
    }
    for (int i = 0; i < length; ++i)
        Advance();
    token.kind = kind;
    return true;
}

} // namespace vbs
