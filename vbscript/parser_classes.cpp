#include "vbscript/token_parser.h"

namespace vbs::parsing {

Stmt* TokenParser::ParseClass(const Token& start) {
    Advance();
    auto* cls = Make<ClassStmt>(start);
    cls->name = ExpectName();
    if (!AtStatementEnd())
        Fail(err::kExpectedEndOfStatement);
    Context context;
    context.scope = Scope::Class;
    while (true) {
        while (Is(TokenKind::NewLine) || Is(TokenKind::Colon))
            Advance();
        if (Is(TokenKind::End) || Is(Keyword::End))
            break;
        cls->members.push_back(ParseStatement(context));
        if (!AtStatementEnd() && !AtClosingEnd())
            Fail(err::kExpectedEndOfStatement);
    }
    ExpectEnd(Keyword::Class, err::kExpectedClass);
    return cls;
}

Stmt* TokenParser::ParseClassMember(const Token& start) {
    switch (token_.keyword) {
    case Keyword::Dim:
        Advance();
        return ParseDim(start, Visibility::Default);
    case Keyword::Const:
        Advance();
        return ParseConst(start, Visibility::Default);
    case Keyword::Public:
    case Keyword::Private:
        return ParseDeclaration(start);
    case Keyword::Sub:
    case Keyword::Function:
    case Keyword::Property:
        return ParseProcedure(start, Visibility::Default, false);
    default:
        Fail(err::kExpectedEnd);
    }
}

} // namespace vbs::parsing
