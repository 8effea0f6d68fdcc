#include "flow/formula_arithmetic.h"

#include "platform/base/format.h"
#include "platform/base/lenient.h"
#include "platform/base/nocase.h"

namespace orvo {

bool ApplyOperator(int op, double a, double b, double& out) {
    switch (op) {
    case OP_ADD:
        out = a + b;
        return true;
    case OP_SUB:
        out = a - b;
        return true;
    case OP_MUL:
        out = a * b;
        return true;
    case OP_DIV:
        if (b == 0)
            return false;
        out = a / b;
        return true;
    case OP_MOD: {
        int remainder = 0;
        if (!ApplyOperator(OP_MOD, TruncateTo<int>(a), TruncateTo<int>(b), remainder))
            return false;
        out = remainder;
        return true;
    }
    case OP_POW:
        out = std::pow(a, b);
        return true;
    case OP_EQ:
        out = a == b ? 1.0 : 0.0;
        return true;
    case OP_NE:
        out = a != b ? 1.0 : 0.0;
        return true;
    case OP_GT:
        out = a > b ? 1.0 : 0.0;
        return true;
    case OP_LT:
        out = a < b ? 1.0 : 0.0;
        return true;
    case OP_GE:
        out = a >= b ? 1.0 : 0.0;
        return true;
    case OP_LE:
        out = a <= b ? 1.0 : 0.0;
        return true;
    case OP_AND:
        out = a != 0 && b != 0 ? 1.0 : 0.0;
        return true;
    case OP_OR:
        out = a != 0 || b != 0 ? 1.0 : 0.0;
        return true;
    default:
        return false;
    }
}

bool ApplyOperator(int op, const std::wstring& a, const std::wstring& b, std::wstring& out) {
    switch (op) {
    case OP_ADD:
        out = a + b;
        return true;
    case OP_EQ:
        out = plat::EqualsNoCase(a, b) ? L"1" : L"0";
        return true;
    case OP_NE:
        out = plat::EqualsNoCase(a, b) ? L"0" : L"1";
        return true;
    default: {
        int result = 0;
        if (!ApplyOperator(op, plat::_wtoi(a), plat::_wtoi(b), result))
            return false;
        out = plat::FormatInt(result);
        return true;
    }
    }
}

} // namespace orvo
