#include "nubra/tok.h"

#include "platform/base/lenient.h"

CTok::CTok(std::wstring_view text, std::wstring_view seps) : m_text(text), m_seps(seps) {}

bool CTok::GetNext(std::wstring& out) {
    if (!HasMore()) {
        return false;
    }
    const std::size_t end = std::wstring_view(m_text).find_first_of(m_seps, m_pos);
    if (end == std::wstring::npos) {
        out.assign(m_text, m_pos);
        m_pos = m_text.size();
    } else {
        out.assign(m_text, m_pos, end - m_pos);
        m_pos = end + 1;
    }
    return true;
}

bool CTok::GetNext(int& out) {
    std::wstring token;
    if (!GetNext(token)) {
        return false;
    }
    out = plat::_wtoi(std::wstring_view(token));
    return true;
}

std::wstring CTok::GetTail() const {
    return m_text.substr(m_pos);
}

void CTok::SetSep(std::wstring_view seps) {
    m_seps = seps;
}

CNameTok::CNameTok(std::wstring_view name) : m_tok(name, L".") {}

bool CNameTok::GetNext(std::wstring& segment) {
    return m_tok.GetNext(segment);
}

bool CNameTok::SplitName(std::wstring_view name, std::wstring& head, std::wstring& tail) {
    const std::size_t dot = name.find(L'.');
    if (dot == std::wstring_view::npos) {
        head = name;
        tail.clear();
        return false;
    }
    head = name.substr(0, dot);
    tail = name.substr(dot + 1);
    return true;
}
