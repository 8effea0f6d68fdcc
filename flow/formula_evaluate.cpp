// Evaluation of compiled formulas: one stack machine, instantiated per precision.
#include <array>
#include <cstdint>
#include <type_traits>

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

// A numeric cell in the precision, as its variant would convert: only the conversions that
// are plain casts; false leaves the rest to the variant.
bool FromNumber(const XMetaIOData::CellNumber& n, int& out) {
    if (n.type != DT_INT)
        return false;
    out = static_cast<int>(n.whole);
    return true;
}
bool FromNumber(const XMetaIOData::CellNumber& n, std::int64_t& out) {
    if (n.type != DT_INT && n.type != DT_INT64)
        return false;
    out = n.whole;
    return true;
}
bool FromNumber(const XMetaIOData::CellNumber& n, double& out) {
    out = n.type == DT_DOUBLE ? n.real : static_cast<double>(n.whole);
    return true;
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

// The condition of "?"; in string precision the text read as an integer, as "&&" and "||"
// read their operands there.
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
    // Fields are most of the operands: tested before the rest.
    if (token.kind == CToken::FIELD) {
        if (!s)
            return false;
        if constexpr (!std::is_same_v<T, std::wstring>) {
            XMetaIOData::CellNumber number;
            if (s->GetNumber(token.currentPath, number) && FromNumber(number, out))
                return true;
        }
        if (!s->GetVal(token.currentPath, cell))
            return false;
        out = FromVariant<T>(cell);
        return true;
    }
    switch (token.kind) {
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
    case CToken::FIELD:
    case CToken::OPERATOR:
        break;
    }
    return false;
}

// Runs the tokens; true with the one value left on the stack.
template <class T>
bool Run(const std::vector<std::unique_ptr<CToken>>& tokens, XMetaIOData* s, T& result) {
    // Left uninitialised for numbers: only slots below `depth` are read, and clearing 64 of
    // them would cost as much as a short formula.
    std::array<T, CFormula::MAX_STACK> stack;
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
    m_R2 = std::move(m_R1);
    m_R1 = std::move(m_R0);
}

namespace {

void Store(CVariant& to, int value) {
    to.SetInt(value);
}
void Store(CVariant& to, std::int64_t value) {
    to.SetInt64(value);
}
void Store(CVariant& to, double value) {
    to.SetDouble(value);
}
void Store(CVariant& to, const std::wstring& value) {
    to.SetString(value);
}

std::wstring Text(int value) {
    return plat::FormatInt(value);
}
std::wstring Text(std::int64_t value) {
    return plat::FormatInt64(value);
}
std::wstring Text(double value) {
    return plat::FormatDouble(value);
}
std::wstring Text(std::wstring value) {
    return value;
}

} // namespace

template <class T> int CFormula::EvaluateAs(XMetaIOData* s, T& result) {
    if (!Run(m_tokens, s, result))
        return 0;
    ShiftRegisters();
    Store(m_R0, result);
    return 1;
}

int CFormula::EvaluateInt(XMetaIOData* s) {
    int result = 0;
    return EvaluateAs(s, result);
}

int CFormula::EvaluateInt64(XMetaIOData* s) {
    std::int64_t result = 0;
    return EvaluateAs(s, result);
}

int CFormula::EvaluateDouble(XMetaIOData* s) {
    double result = 0;
    return EvaluateAs(s, result);
}

int CFormula::EvaluateStr(XMetaIOData* s) {
    std::wstring result;
    return EvaluateAs(s, result);
}

// Both forms of the result are made from the native value: no copy of m_R0 on the way.
template <class Out> int CFormula::EvaluateInto(XMetaIOData* s, Out& out) {
    auto deliver = [&](auto result) {
        if (!EvaluateAs(s, result))
            return 0;
        if constexpr (std::is_same_v<Out, CVariant>)
            Store(out, result);
        else
            out = Text(std::move(result));
        return 1;
    };
    switch (m_precision) {
    case PRECISION_INT:
        return deliver(0);
    case PRECISION_INT64:
        return deliver(std::int64_t{0});
    case PRECISION_DOUBLE:
        return deliver(0.0);
    case PRECISION_STRING:
        return deliver(std::wstring());
    }
    return 0;
}

int CFormula::Evaluate(XMetaIOData* s, CVariant& out) {
    return EvaluateInto(s, out);
}

int CFormula::Evaluate(XMetaIOData* s, std::wstring& out) {
    return EvaluateInto(s, out);
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
