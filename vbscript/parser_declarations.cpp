#include "vbscript/token_parser.h"

namespace vbs::parsing {

Stmt* TokenParser::ParseDeclaration(const Token& start) {
    const Visibility visibility = Is(Keyword::Public) ? Visibility::Public : Visibility::Private;
    Advance();
    bool isDefault = false;
    if (Is(Keyword::Default)) {
        if (visibility != Visibility::Public)
            Fail(err::kDefaultOnlyPublic);
        Advance();
        isDefault = true;
    }
    if (Is(Keyword::Sub) || Is(Keyword::Function) || Is(Keyword::Property))
        return ParseProcedure(start, visibility, isDefault);
    if (isDefault)
        Fail(err::kExpectedFunction);
    if (Accept(Keyword::Const))
        return ParseConst(start, visibility);
    return ParseDim(start, visibility);
}

Stmt* TokenParser::ParseDim(const Token& start, Visibility visibility) {
    auto* dim = Make<DimStmt>(start);
    dim->visibility = visibility;
    do {
        VarDecl var;
        var.line = token_.line;
        var.column = token_.column;
        var.name = ExpectName();
        if (Is(TokenKind::LParen)) {
            Advance();
            var.isArray = true;
            if (!Is(TokenKind::RParen)) {
                do
                    var.upperBounds.push_back(ParseIntegerConstant());
                while (AcceptComma());
            }
            Expect(TokenKind::RParen, err::kExpectedRParen);
        }
        dim->vars.push_back(std::move(var));
    } while (AcceptComma());
    return dim;
}

Expr* TokenParser::ParseIntegerConstant() {
    if (!Is(TokenKind::Integer))
        Fail(err::kExpectedInteger);
    return ParseLiteral();
}

bool TokenParser::AcceptComma() {
    if (!Is(TokenKind::Comma))
        return false;
    Advance();
    return true;
}

Stmt* TokenParser::ParseReDim(const Token& start) {
    Advance();
    auto* redim = Make<ReDimStmt>(start);
    redim->preserve = Accept(Keyword::Preserve);
    do {
        VarDecl var;
        var.line = token_.line;
        var.column = token_.column;
        var.name = ExpectName();
        var.isArray = true;
        Expect(TokenKind::LParen, err::kExpectedLParen);
        do
            var.upperBounds.push_back(ParseExpression());
        while (AcceptComma());
        Expect(TokenKind::RParen, err::kExpectedRParen);
        redim->vars.push_back(std::move(var));
    } while (AcceptComma());
    return redim;
}

Stmt* TokenParser::ParseConst(const Token& start, Visibility visibility) {
    auto* constant = Make<ConstStmt>(start);
    constant->visibility = visibility;
    do {
        ConstDecl decl;
        decl.name = ExpectName();
        Expect(TokenKind::Equal, err::kExpectedEqual);
        decl.value = ParseSignedLiteral();
        constant->consts.push_back(std::move(decl));
    } while (AcceptComma());
    return constant;
}

Expr* TokenParser::ParseSignedLiteral() {
    Nesting nesting(*this);
    if (Is(TokenKind::Minus) || Is(TokenKind::Plus)) {
        auto* sign = Make<UnaryExpr>(token_);
        sign->op = Is(TokenKind::Minus) ? UnaryOp::Negate : UnaryOp::Plus;
        Advance();
        sign->operand = ParseSignedLiteral();
        return sign;
    }
    switch (token_.kind) {
    case TokenKind::Integer:
    case TokenKind::Double:
    case TokenKind::String:
    case TokenKind::Date:
        return ParseLiteral();
    case TokenKind::Word:
        if (IsLiteralKeyword())
            return ParseLiteral();
        [[fallthrough]];
    default:
        Fail(err::kExpectedLiteral);
    }
}

Stmt* TokenParser::ParseErase(const Token& start) {
    Advance();
    auto* erase = Make<EraseStmt>(start);
    do
        erase->names.push_back(ExpectName());
    while (AcceptComma());
    return erase;
}

Stmt* TokenParser::ParseProcedure(const Token& start, Visibility visibility, bool isDefault) {
    auto* proc = Make<ProcedureStmt>(start);
    proc->visibility = visibility;
    proc->isDefault = isDefault;
    Keyword closing = token_.keyword;
    int missingClosing = err::kExpectedSub;
    if (Accept(Keyword::Sub)) {
        proc->procKind = ProcedureKind::Sub;
    } else if (Accept(Keyword::Function)) {
        proc->procKind = ProcedureKind::Function;
        missingClosing = err::kExpectedFunction;
    } else {
        Advance(); // Property
        missingClosing = err::kExpectedProperty;
        if (Accept(Keyword::Get))
            proc->procKind = ProcedureKind::PropertyGet;
        else if (Accept(Keyword::Let))
            proc->procKind = ProcedureKind::PropertyLet;
        else if (Accept(Keyword::Set))
            proc->procKind = ProcedureKind::PropertySet;
        else
            Fail(err::kExpectedLetSetGet);
    }
    proc->name = ExpectName();
    if (Is(TokenKind::LParen)) {
        Advance();
        if (!Is(TokenKind::RParen)) {
            do
                proc->params.push_back(ParseParam());
            while (AcceptComma());
        }
        Expect(TokenKind::RParen, err::kExpectedRParen);
    }
    if ((proc->procKind == ProcedureKind::PropertyLet ||
         proc->procKind == ProcedureKind::PropertySet) &&
        proc->params.empty())
        Fail(err::kPropertySetOrLetNeedsArgument);
    if (!AtStatementEnd())
        Fail(err::kExpectedEndOfStatement);
    const bool wasInProcedure = std::exchange(inProcedure_, true);
    const ProcedureKind wasKind = std::exchange(procedure_, proc->procKind);
    Context context;
    context.scope = Scope::Procedure;
    context.nested = true;
    proc->body = ParseBlock(context);
    inProcedure_ = wasInProcedure;
    procedure_ = wasKind;
    ExpectEnd(closing, missingClosing);
    return proc;
}

Param TokenParser::ParseParam() {
    Param param;
    if (Accept(Keyword::ByVal))
        param.byRef = false;
    else
        Accept(Keyword::ByRef);
    param.name = ExpectName();
    if (Is(TokenKind::LParen)) {
        Advance();
        Expect(TokenKind::RParen, err::kExpectedRParen);
        param.isArray = true;
    }
    return param;
}

} // namespace vbs::parsing
