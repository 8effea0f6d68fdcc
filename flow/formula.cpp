#include "flow/formula.h"

#include <climits>

#include "core/contracts.h"
#include "core/notice_messages.h"
#include "flow/formula_operator.h"
#include "flow/infix_to_postfix.h"
#include "nubra/tok.h"
#include "platform/base/lenient.h"

CVariant CFormula::m_R0;
CVariant CFormula::m_R1;
CVariant CFormula::m_R2;

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

std::vector<std::wstring> SplitAtBlanks(const std::wstring& text) {
    std::vector<std::wstring> items;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !IsBlank(text[i]))
            ++i;
        if (i > start)
            items.emplace_back(text, start, i - start);
    }
    return items;
}

// Only digit texts are constants, so that a word is always a field or an object.
bool IsNumberText(const std::wstring& text) {
    for (wchar_t c : text) {
        if ((c < L'0' || c > L'9') && c != L'.')
            return false;
    }
    return true;
}

int RegisterNumber(const std::wstring& text) {
    if (text == L"_R0")
        return 0;
    if (text == L"_R1")
        return 1;
    if (text == L"_R2")
        return 2;
    return -1;
}

// The name inside "[" name "]", or false for any other sub-name.
bool BracketedName(const std::wstring& sub, std::wstring& name) {
    if (sub.size() < 2 || sub.front() != L'[' || sub.back() != L']')
        return false;
    name = sub.substr(1, sub.size() - 2);
    return true;
}

// A row offset added to a compiled row; a sum beyond int reads no row rather than wrapping.
int OffsetRow(int compiled, int offset) {
    const long long row = static_cast<long long>(compiled) + offset;
    return row > INT_MAX ? INT_MAX : static_cast<int>(row);
}

} // namespace

CFormula::CFormula() = default;
CFormula::~CFormula() = default;

int CFormula::SetFormula(XMetaIOData* s, const std::wstring& infix) {
    std::wstring postfix;
    if (!orvo::InfixToPostfix(infix, postfix) || !SetPostfix(s, postfix)) {
        ConfirmMsg(L"Formula Parse Error : " + infix, 0, 0);
        return 0;
    }
    return 1;
}

int CFormula::SetPostfix(XMetaIOData* s, const std::wstring& postfix) {
    m_tokens.clear();
    const std::vector<std::wstring> items = SplitAtBlanks(postfix);
    if (items.size() > MAX_ENTRIES)
        return 0;
    m_tokens.reserve(items.size());
    for (const std::wstring& item : items)
        m_tokens.push_back(Compile(s, item));
    return 1;
}

std::unique_ptr<CFormula::CToken> CFormula::Compile(XMetaIOData* s,
                                                    const std::wstring& item) const {
    auto token = std::make_unique<CToken>();
    if (const orvo::FormulaOperator* op = orvo::FindOperator(item)) {
        token->kind = CToken::OPERATOR;
        token->operatorCode = op->code;
    } else if (IsNumberText(item)) {
        token->kind = CToken::CONSTANT;
        token->name = item;
        ConvertConstant(*token);
    } else if (item.front() == L':') {
        token->kind = CToken::OBJECT;
        token->name = item.substr(1);
    } else if (const int n = RegisterNumber(item); n >= 0) {
        token->kind = CToken::REGISTER;
        token->registerNumber = n;
    } else if (s && s->GetRowFieldIndex(item.c_str(), token->compiledPath)) {
        token->kind = CToken::FIELD;
        token->currentPath = token->compiledPath;
    } else {
        token->kind = CToken::OBJECT;
        token->compiledPath.clear();
        token->name = item;
    }
    return token;
}

void CFormula::ConvertConstant(CToken& token) const {
    switch (m_precision) {
    case PRECISION_INT:
        token.constant.SetInt(plat::_wtoi(token.name));
        break;
    case PRECISION_INT64:
        token.constant.SetInt64(plat::_wtoi64(token.name));
        break;
    case PRECISION_DOUBLE:
        token.constant.SetDouble(plat::_wtof(token.name));
        break;
    case PRECISION_STRING:
        token.constant.SetString(token.name);
        break;
    }
}

void CFormula::SetPrecision(PRECISION precision) {
    // Callers pass numbers read from markup; anything unknown keeps the current precision.
    if (precision < PRECISION_INT || precision > PRECISION_STRING)
        return;
    m_precision = precision;
    for (const auto& token : m_tokens) {
        if (token->kind == CToken::CONSTANT)
            ConvertConstant(*token);
    }
}

void CFormula::LinkObject(XDO* owner) {
    static orvo::ContractMethod<orvo::contract::VisualGetSubObject> s_getSubObject;
    for (const auto& token : m_tokens) {
        if (token->kind != CToken::OBJECT)
            continue;
        std::wstring objectName;
        std::wstring subName;
        CNameTok::SplitName(token->name, objectName, subName);
        XDO* found = owner ? owner->GetNearObjByName(objectName.c_str()) : nullptr;
        token->object = {};
        if (!found) {
            ConfirmMsg(L"Unknown Formula Item : " + token->name, 0, 0);
            continue;
        }
        std::wstring partName;
        if (orvo::HasStyle(found, XDO_STYLE_UI) && BracketedName(subName, partName)) {
            auto getSubObject = s_getSubObject.Get(found);
            if (XDO* part = getSubObject ? getSubObject(partName.c_str()) : nullptr) {
                token->object = part->WeakRef();
                continue;
            }
        }
        if (orvo::HasStyle(found, XDO_STYLE_IODATA) && !subName.empty()) {
            XMetaIOData* io = AsMetaIOData(found);
            std::vector<int> path;
            if (io && io->GetRowFieldIndex(subName.c_str(), path)) {
                token->kind = CToken::IO_FIELD;
                token->currentPath = std::move(path);
                token->ioData = io->WeakRef();
                continue;
            }
        }
        token->object = found->WeakRef();
    }
}

void CFormula::ChangeFieldRow(int row, int innerRow, int innerField) {
    for (const auto& token : m_tokens) {
        if (token->kind != CToken::FIELD)
            continue;
        std::vector<int>& path = token->currentPath;
        const std::vector<int>& compiled = token->compiledPath;
        if (row >= 0 && path.size() > 1)
            path[0] = OffsetRow(compiled[0], row);
        if (innerRow >= 0 && innerField >= 0 && path.size() > 3 && path[1] == innerField)
            path[2] = OffsetRow(compiled[2], innerRow);
    }
}
