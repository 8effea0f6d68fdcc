// Evaluation of compiled formulas: one stack machine, instantiated per precision.
#include <array>
#include <cstdint>

#include "flow/formula.h"
#include "flow/formula_arithmetic.h"
#include "platform/base/format.h"
#include "platform/base/lenient.h"

namespace {

using CToken = CFormula::CToken;

// ---- values in each precision --------------------------------------------------------------
template <class T> T FromVariant(const CVariant& v);
template <> int FromVariant<int>(const CVariant& v) {
    return v.GetInt();
}
template <> std::int64_t FromVariant<std::int64_t>(const CVariant& v) {
    return v.GetInt64();
}
template <> double FromVariant<double>(const CVariant& v) {
    return v.GetDouble();
}
template <> std::wstring FromVariant<std::wstring>(const CVariant& v) {
    std::wstring text;
    v.Get(text);
    return text;
}

// An object's text.
template <class T> T FromText(const std::wstring& text);
template <> int FromText<int>(const std::wstring& text) {
    return plat::_wtoi(text);
}
template <> std::int64_t FromText<std::int64_t>(const std::wstring& text) {
    return plat::_wtoi64(text);
}
template <> double FromText<double>(const std::wstring& text) {
    return plat::_wtof(text);
}
template <> std::wstring FromText<std::wstring>(const std::wstring& text) {
    return text;
}

template <class T> T Zero() {
    return T{};
}
template <> std::wstring Zero<std::wstring>() {
    return L"0";
}

template <class T> bool IsTrue(const T& value) {
    return value != 0;
}
template <> bool IsTrue<std::wstring>(const std::wstring& value) {
    return plat::_wtoi(value) != 0;
}

const CVariant& Register(int number) {
    return number == 0 ? CFormula::m_R0 : number == 1 ? CFormula::m_R1 : CFormula::m_R2;
}

// The value of an operand token; false when it is a field that cannot be read, which is
// then left out of the stack. `cell` is scratch, reused so that reading numbers does not
// allocate.
template <class T> bool Load(const CToken& token, XMetaIOData* s, CVariant& cell, T& out) {
    switch (token.kind) {
    case CToken::FIELD:
        if (!s || !s->GetVal(token.currentPath, cell))
            return false;
        out = FromVariant<T>(cell);
        return true;
    case CToken::IO_FIELD: {
        XMetaIOData* io = token.IOData();
        if (!io || !io->GetVal(token.currentPath, cell))
            return false;
        out = FromVariant<T>(cell);
        return true;
    }
    case CToken::CONSTANT:
        out = FromVariant<T>(token.constant);
        return true;
    case CToken::REGISTER:
        out = FromVariant<T>(Register(token.registerNumber));
        return true;
    case CToken::OBJECT: {
        XDO* object = token.Object();
        if (!object) {
            out = Zero<T>();
            return true;
        }
        std::wstring text;
        object->GetData(&text);
        out = FromText<T>(text);
        return true;
    }
    case CToken::OPERATOR:
        break;
    }
    return false;
}

// Runs the tokens; true with the one value left on the stack.
template <class T>
bool Run(const std::vector<std::unique_ptr<CToken>>& tokens, XMetaIOData* s, T& result) {
    std::array<T, CFormula::MAX_STACK> stack{};
    std::size_t depth = 0;
    CVariant cell;
    for (const auto& token : tokens) {
        if (token->kind != CToken::OPERATOR) {
            if (depth == stack.size())
                return false;
            if (Load(*token, s, cell, stack[depth]))
                ++depth;
            continue;
        }
        if (token->operatorCode == orvo::OP_CHOICE) {
            if (depth < 3)
                return false;
            T& choice = stack[depth - 3];
            choice = IsTrue(choice) ? std::move(stack[depth - 2]) : std::move(stack[depth - 1]);
            depth -= 2;
            continue;
        }
        if (depth < 2)
            return false;
        T value{};
        if (!orvo::ApplyOperator(token->operatorCode, stack[depth - 2], stack[depth - 1], value))
            return false;
        stack[depth - 2] = std::move(value);
        --depth;
    }
    if (depth != 1)
        return false;
    result = std::move(stack[0]);
    return true;
}

} // namespace

void CFormula::ShiftRegisters() {
    m_R2 = m_R1;
    m_R1 = m_R0;
}

int CFormula::EvaluateInt(XMetaIOData* s) {
    int result = 0;
    if (!Run(m_tokens, s, result))
        return 0;
    ShiftRegisters();
    m_R0.SetInt(result);
    return 1;
}

int CFormula::EvaluateInt64(XMetaIOData* s) {
    std::int64_t result = 0;
    if (!Run(m_tokens, s, result))
        return 0;
    ShiftRegisters();
    m_R0.SetInt64(result);
    return 1;
}

int CFormula::EvaluateDouble(XMetaIOData* s) {
    double result = 0;
    if (!Run(m_tokens, s, result))
        return 0;
    ShiftRegisters();
    m_R0.SetDouble(result);
    return 1;
}

int CFormula::EvaluateStr(XMetaIOData* s) {
    std::wstring result;
    if (!Run(m_tokens, s, result))
        return 0;
    ShiftRegisters();
    m_R0.SetString(result);
    return 1;
}

int CFormula::Evaluate(XMetaIOData* s, CVariant& out) {
    int ok = 0;
    switch (m_precision) {
    case PRECISION_INT:
        ok = EvaluateInt(s);
        break;
    case PRECISION_INT64:
        ok = EvaluateInt64(s);
        break;
    case PRECISION_DOUBLE:
        ok = EvaluateDouble(s);
        break;
    case PRECISION_STRING:
        ok = EvaluateStr(s);
        break;
    }
    if (ok)
        out = m_R0;
    return ok;
}

int CFormula::Evaluate(XMetaIOData* s, std::wstring& out) {
    CVariant result;
    if (!Evaluate(s, result))
        return 0;
    switch (m_precision) {
    case PRECISION_INT:
        out = plat::FormatInt(result.GetInt());
        break;
    case PRECISION_INT64:
        out = plat::FormatInt64(result.GetInt64());
        break;
    case PRECISION_DOUBLE:
        out = plat::FormatDouble(result.GetDouble());
        break;
    case PRECISION_STRING:
        out.clear();
        result.Get(out);
        break;
    }
    return 1;
}

int CFormula::EvaluateNE(XMetaIOData* s, std::wstring& out) {
    if (Evaluate(s, out))
        return 1;
    ShiftRegisters();
    switch (m_precision) {
    case PRECISION_INT:
        out = plat::FormatInt(0);
        m_R0.SetInt(0);
        break;
    case PRECISION_INT64:
        out = plat::FormatInt64(0);
        m_R0.SetInt64(0);
        break;
    case PRECISION_DOUBLE:
    case PRECISION_STRING:
        out = plat::FormatDouble(0.0);
        m_R0.SetDouble(0.0);
        break;
    }
    return 1;
}
