#include "vbscript/token_parser.h"

namespace vbs::parsing {

int TokenParser::BinaryPrecedence(const Token& token, BinaryOp& op) {
    switch (token.kind) {
    case TokenKind::Caret:
        op = BinaryOp::Power;
        return kPower;
    case TokenKind::Star:
        op = BinaryOp::Multiply;
        return kMultiply;
    case TokenKind::Slash:
        op = BinaryOp::Divide;
        return kMultiply;
    case TokenKind::Backslash:
        op = BinaryOp::IntDivide;
        return kIntDivide;
    case TokenKind::Plus:
        op = BinaryOp::Add;
        return kAdd;
    case TokenKind::Minus:
        op = BinaryOp::Subtract;
        return kAdd;
    case TokenKind::Ampersand:
        op = BinaryOp::Concat;
        return kConcat;
    case TokenKind::Equal:
        op = BinaryOp::Equal;
        return kCompare;
    case TokenKind::NotEqual:
        op = BinaryOp::NotEqual;
        return kCompare;
    case TokenKind::Less:
        op = BinaryOp::Less;
        return kCompare;
    case TokenKind::Greater:
        op = BinaryOp::Greater;
        return kCompare;
    case TokenKind::LessEqual:
        op = BinaryOp::LessEqual;
        return kCompare;
    case TokenKind::GreaterEqual:
        op = BinaryOp::GreaterEqual;
        return kCompare;
    case TokenKind::Word:
        break;
    default:
        return 0;
    }
    switch (token.keyword) {
    case Keyword::Mod:
        op = BinaryOp::Mod;
        return kMod;
    case Keyword::Is:
        op = BinaryOp::Is;
        return kCompare;
    case Keyword::And:
        op = BinaryOp::And;
        return kAnd;
    case Keyword::Or:
        op = BinaryOp::Or;
        return kOr;
    case Keyword::Xor:
        op = BinaryOp::Xor;
        return kXor;
    case Keyword::Eqv:
        op = BinaryOp::Eqv;
        return kEqv;
    case Keyword::Imp:
        op = BinaryOp::Imp;
        return kImp;
    default:
        return 0;
    }
}

Expr* TokenParser::ContinueBinary(Expr* left, int minPrecedence) {
    Nesting nesting(*this);
    BinaryOp op{};
    for (int precedence = BinaryPrecedence(token_, op);
         precedence != 0 && precedence >= minPrecedence;
         precedence = BinaryPrecedence(token_, op)) {
        auto* binary = Make<BinaryExpr>(token_);
        binary->op = op;
        Advance();
        binary->left = left;
        binary->right = ParseBinary(precedence + 1);
        left = binary;
        nesting.Add();
    }
    return left;
}

Expr* TokenParser::ParseUnary() {
    UnaryOp op;
    int precedence;
    if (Is(TokenKind::Minus)) {
        op = UnaryOp::Negate;
        precedence = kNegate;
    } else if (Is(TokenKind::Plus)) {
        op = UnaryOp::Plus;
        precedence = kNegate;
    } else if (Is(Keyword::Not)) {
        op = UnaryOp::Not;
        precedence = kNot;
    } else {
        return ParsePostfix();
    }
    Nesting nesting(*this);
    auto* unary = Make<UnaryExpr>(token_);
    unary->op = op;
    Advance();
    unary->operand = ParseBinary(precedence);
    return unary;
}

Expr* TokenParser::ContinuePostfix(Expr* expr) {
    Nesting nesting(*this);
    while (true) {
        if (Is(TokenKind::Dot)) {
            const Token dot = token_;
            Advance();
            expr = MakeMember(dot, expr);
        } else if (Is(TokenKind::LParen)) {
            auto* call = Make<CallExpr>(token_);
            call->callee = expr;
            call->args = ParseArgumentList();
            expr = call;
        } else {
            return expr;
        }
        nesting.Add();
    }
}

Expr* TokenParser::MakeMember(const Token& dot, Expr* object) {
    if (!Is(TokenKind::Word))
        Fail(err::kExpectedIdentifier);
    auto* member = Make<MemberExpr>(dot);
    member->object = object;
    member->name = std::move(token_.text);
    Advance();
    return member;
}

std::vector<Expr*> TokenParser::ParseArgumentList() {
    Nesting nesting(*this);
    Advance();
    std::vector<Expr*> args;
    if (Is(TokenKind::RParen)) {
        Advance();
        return args;
    }
    do {
        if (Is(TokenKind::Comma) || Is(TokenKind::RParen))
            args.push_back(nullptr);
        else
            args.push_back(ParseExpression());
    } while (AcceptComma());
    Expect(TokenKind::RParen, err::kExpectedRParen);
    return args;
}

bool TokenParser::IsLiteralKeyword() const {
    return Is(Keyword::True) || Is(Keyword::False) || Is(Keyword::Nothing) || Is(Keyword::Empty) ||
           Is(Keyword::Null);
}

Expr* TokenParser::ParseLiteral() {
    auto* literal = Make<LiteralExpr>(token_);
    switch (token_.kind) {
    case TokenKind::Integer:
        literal->literal = LiteralKind::Integer;
        literal->integer = token_.integer;
        literal->longSuffix = token_.longSuffix;
        literal->form = token_.radix == IntegerRadix::Hex     ? IntegerForm::Hex
                        : token_.radix == IntegerRadix::Octal ? IntegerForm::Octal
                                                              : IntegerForm::Decimal;
        break;
    case TokenKind::Double:
        literal->literal = LiteralKind::Double;
        literal->number = token_.number;
        break;
    case TokenKind::String:
        literal->literal = LiteralKind::String;
        literal->text = std::move(token_.text);
        break;
    case TokenKind::Date:
        literal->literal = LiteralKind::Date;
        literal->text = std::move(token_.text);
        break;
    default:
        switch (token_.keyword) {
        case Keyword::True:
            literal->literal = LiteralKind::True;
            break;
        case Keyword::False:
            literal->literal = LiteralKind::False;
            break;
        case Keyword::Nothing:
            literal->literal = LiteralKind::Nothing;
            break;
        case Keyword::Null:
            literal->literal = LiteralKind::Null;
            break;
        default:
            literal->literal = LiteralKind::Empty;
            break;
        }
    }
    Advance();
    return literal;
}

Expr* TokenParser::ParsePrimary() {
    switch (token_.kind) {
    case TokenKind::Integer:
    case TokenKind::Double:
    case TokenKind::String:
    case TokenKind::Date:
        return ParseLiteral();
    case TokenKind::LParen: {
        Nesting nesting(*this);
        auto* paren = Make<ParenExpr>(token_);
        Advance();
        paren->inner = ParseExpression();
        Expect(TokenKind::RParen, err::kExpectedRParen);
        return paren;
    }
    case TokenKind::Dot: {
        const Token dot = token_;
        Advance();
        return MakeMember(dot, nullptr);
    }
    case TokenKind::Word:
        if (IsLiteralKeyword())
            return ParseLiteral();
        if (Is(Keyword::New)) {
            auto* created = Make<NewExpr>(token_);
            Advance();
            created->className = ExpectName();
            return created;
        }
        if (AtName()) {
            auto* name = Make<NameExpr>(token_);
            name->name = ExpectName();
            return name;
        }
        [[fallthrough]];
    default:
        Fail(err::kExpectedExpression);
    }
}

} // namespace vbs::parsing
