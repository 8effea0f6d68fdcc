#include "nubra/pen_style.h"

#include "nubra/trim_blanks.h"
#include "platform/base/nocase.h"

namespace {

struct NamedStyle {
    std::wstring_view name;
    int style;
};

constexpr NamedStyle kNamedStyles[] = {
    {L"solid", PS_SOLID},
    {L"dash", PS_DASH},
    {L"dot", PS_DOT},
    {L"dashdot", PS_DASHDOT},
    {L"dashdotdot", PS_DASHDOTDOT},
    {L"null", PS_NULL},
    {L"none", PS_NULL},
    {L"insideframe", PS_INSIDEFRAME},
};

} // namespace

namespace syschar {

bool getPenStyle(int& style, std::wstring_view name) {
    const std::wstring_view text = orvo::TrimBlanks(name);
    if (text.size() == 1 && text[0] >= L'0' && text[0] <= L'0' + PS_INSIDEFRAME) {
        style = text[0] - L'0';
        return true;
    }
    for (const auto& named : kNamedStyles) {
        if (plat::EqualsNoCase(text, named.name)) {
            style = named.style;
            return true;
        }
    }
    return false;
}

} // namespace syschar
