#include "shell/user_parameters.h"

#include "core/element.h"
#include "core/xdo.h"
#include "nubra/trim_blanks.h"
#include "platform/base/nocase.h"

namespace orvo {

namespace {

const std::wstring kEmpty;

// A value written in double quotes keeps its commas and blanks; the quotes go.
std::wstring_view Unquote(std::wstring_view value) {
    if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"')
        return value.substr(1, value.size() - 2);
    return value;
}

// A value "Data(name)" becomes the data of the object named; other values stay as written.
// False when the object does not exist, so that a wrong name is not sent on as text.
bool ResolveData(XDO* from, std::wstring& value) {
    constexpr std::wstring_view kHead = L"Data(";
    if (!plat::StartsWithNoCase(value, kHead) || value.back() != L')')
        return true;
    const std::wstring inner(
        TrimBlanks(std::wstring_view(value).substr(kHead.size(), value.size() - kHead.size() - 1)));
    XDO* found = from && IsLiveXdo(from) && !inner.empty() ? FindLink(from, inner) : nullptr;
    if (!found)
        return false;
    value.clear();
    found->GetData(&value);
    return true;
}

} // namespace

UserParameters::UserParameters(const wchar_t* text) : m_text(text ? text : L"") {
    if (TrimBlanks(m_text).empty())
        return;
    // One pass: depth counts open parentheses outside quotes; a "," at depth 0 outside quotes
    // ends a piece. A ")" with nothing open is as unbalanced as a "(" never closed.
    int depth = 0;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < m_text.size(); ++i) {
        const wchar_t c = m_text[i];
        if (c == L'"') {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == L'(') {
            ++depth;
        } else if (c == L')') {
            if (--depth < 0)
                m_balanced = false;
        } else if (c == L',' && depth == 0) {
            m_pieces.emplace_back(TrimBlanks(std::wstring_view(m_text).substr(start, i - start)));
            start = i + 1;
        }
    }
    m_pieces.emplace_back(TrimBlanks(std::wstring_view(m_text).substr(start)));
    if (depth != 0 || quoted)
        m_balanced = false;
}

const std::wstring& UserParameters::At(std::size_t index) const {
    return index < m_pieces.size() ? m_pieces[index] : kEmpty;
}

bool UserParameters::ItemsFrom(std::size_t first,
                               XElement& out,
                               std::wstring& why,
                               XDO* resolveFrom) const {
    std::vector<std::pair<std::wstring, std::wstring>> items;
    for (std::size_t i = first; i < m_pieces.size(); ++i) {
        const std::wstring& piece = m_pieces[i];
        const std::size_t equals = piece.find(L'=');
        std::wstring key(TrimBlanks(std::wstring_view(piece).substr(0, equals)));
        if (equals == std::wstring::npos || key.empty()) {
            why = L"item \"" + piece + L"\" is not key=value";
            return false;
        }
        std::wstring value(Unquote(TrimBlanks(std::wstring_view(piece).substr(equals + 1))));
        if (resolveFrom && !ResolveData(resolveFrom, value)) {
            why = L"no object for " + value;
            return false;
        }
        items.emplace_back(std::move(key), std::move(value));
    }
    for (const auto& [key, value] : items)
        out.SetValue(key, value);
    return true;
}

bool UserParameters::ValueAt(std::size_t index, std::wstring& out, XDO* resolveFrom) const {
    out.assign(Unquote(At(index)));
    return !resolveFrom || ResolveData(resolveFrom, out);
}

} // namespace orvo
