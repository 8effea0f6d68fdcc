#include "shell/user_call.h"

#include "core/notice_messages.h"
#include "platform/base/lenient.h"

namespace orvo {

UserCall::UserCall(const wchar_t* function, XDO* caller, const wchar_t* parameter)
    : m_function(function), m_caller(caller), m_parameters(parameter) {}

bool UserCall::Check(std::size_t needed, std::wstring_view form) const {
    std::wstring why;
    // Liveness first: nothing else may touch a caller that is not an object any more.
    if (!m_caller || !IsLiveXdo(m_caller))
        why = L"the calling object is gone";
    else if (!m_parameters.IsBalanced())
        why = L"parentheses or quotes do not close";
    else if (m_parameters.Count() < needed)
        why = L"expected " + std::wstring(form);
    else
        return true;
    Refuse(why);
    return false;
}

int UserCall::Refuse(std::wstring_view reason) const {
    std::wstring text(m_function);
    text += L" : ";
    text += reason;
    text += L"\nUser.Run(orvo, ";
    text += m_function;
    text += L", ";
    text += m_parameters.Text();
    text += L")";
    ConfirmMsg(text, 0, 0);
    return 0;
}

XDO* UserCall::Target(std::size_t index) const {
    const std::wstring& name = At(index);
    XDO* found = name.empty() ? nullptr : FindLink(m_caller, name);
    if (!found)
        Refuse(L"no object " + name);
    return found;
}

bool UserCall::Integer(std::size_t index, int& out) const {
    const std::wstring& text = At(index);
    const std::size_t digits = !text.empty() && (text[0] == L'-' || text[0] == L'+') ? 1 : 0;
    if (text.size() == digits || text.size() > digits + 9 ||
        text.find_first_not_of(L"0123456789", digits) != std::wstring::npos) {
        Refuse(L"\"" + text + L"\" is not a whole number");
        return false;
    }
    out = plat::_wtoi(text);
    return true;
}

bool UserCall::Value(std::size_t index, std::wstring& out) const {
    if (m_parameters.ValueAt(index, out, m_caller))
        return true;
    Refuse(L"no object for " + At(index));
    return false;
}

bool UserCall::Items(std::size_t first, XElement& out, bool resolveData) const {
    std::wstring why;
    if (m_parameters.ItemsFrom(first, out, why, resolveData ? m_caller : nullptr))
        return true;
    Refuse(why);
    return false;
}

} // namespace orvo
