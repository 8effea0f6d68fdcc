#include "core/lib_method.h"

#include "core/contracts.h"
#include "core/notice_messages.h"
#include "core/xdo.h"
#include "nubra/call_site.h"
#include "nubra/tok.h"
#include "nubra/trim_blanks.h"
#include "platform/base/codepage.h"
#include "platform/base/format.h"
#include "platform/base/nocase.h"

namespace {

// Makes `value` the current method element while it lives.
class CurrentMethodElement {
public:
    explicit CurrentMethodElement(XElement* value) : m_saved(XDO::s_pMethodElement) {
        XDO::s_pMethodElement = value;
    }
    ~CurrentMethodElement() { XDO::s_pMethodElement = m_saved; }
    CurrentMethodElement(const CurrentMethodElement&) = delete;
    CurrentMethodElement& operator=(const CurrentMethodElement&) = delete;

private:
    XElement* m_saved;
};

} // namespace

int XLibMethod::SetElement(XElement* e) {
    if (!e)
        return 0;
    e->GetValue(L"Name", m_name);
    m_name = plat::ToLower(m_name);
    if (m_name.empty()) {
        ConfirmMsg(L"<lib.method> name이 지정되지 않았습니다.", 0, 0);
        return 0;
    }
    std::wstring text;
    e->GetValue(L"Method", text);
    // Kind, object or library, function; whatever follows is the default parameters.
    std::wstring parts[3];
    std::size_t at = 0;
    for (auto& part : parts) {
        const std::size_t comma = text.find(L',', at);
        part = std::wstring(orvo::TrimBlanks(std::wstring_view(text).substr(
            at, comma == std::wstring::npos ? std::wstring::npos : comma - at)));
        at = comma == std::wstring::npos ? text.size() : comma + 1;
    }
    if (plat::EqualsNoCase(parts[0], L"Script")) {
        m_kind = KIND_SCRIPT;
        m_scriptName = parts[1];
    } else if (plat::EqualsNoCase(parts[0], L"User")) {
        m_kind = KIND_USER;
        m_library = parts[1];
    } else {
        return 0;
    }
    m_function = parts[2];
    m_defaults = std::make_unique<XElement>(L"method", nullptr);
    if (at < text.size())
        m_defaults->MakeValue(orvo::TrimBlanks(std::wstring_view(text).substr(at)));
    return 1;
}

void XLibMethod::LinkObject(XDO* lib) {
    if (m_kind != KIND_SCRIPT || !lib)
        return;
    XDO* found = lib->GetObjByNameDown(m_scriptName.c_str());
    if (!found || !plat::EqualsNoCase(found->GetIXOKey(), L"Script")) {
        ConfirmMsg(plat::Format(L"Script object %s not found.\n<lib.method>", m_scriptName), 0, 0);
        return;
    }
    m_script = found->WeakRef();
}

int XLibMethod::Run(XDO* caller, XElement* params, orvo::DispVariant* result) {
    // The caller's parameters over the defaults, under the caller's tag.
    XElement element(params ? params->GetTagName() : std::wstring(L"method"), nullptr);
    if (m_defaults)
        element.Merge(m_defaults.get());
    if (params)
        element.Merge(params);
    CurrentMethodElement current(&element);
    if (m_kind == KIND_USER) {
        // The author is told this kind is not supported yet, and it runs all the same.
        ConfirmMsg(L"lib.method 를 C 함수로 정의하는 것은 아직 지원 안합니다.", 0, 0);
        if (!m_loadTried) {
            m_loadTried = true;
            m_module = plat::Module::Open(m_library);
            if (m_module)
                m_userFunction = reinterpret_cast<UserFunction>(
                    m_module.Symbol(plat::ToAnsi(m_function).c_str()));
        }
        const int value = m_userFunction ? m_userFunction(caller, &element) : 0;
        if (result)
            *result = orvo::DispVariant(static_cast<std::int32_t>(value));
        return value;
    }
    static orvo::ContractMethod<orvo::contract::ScriptRunFunctionRet> s_run;
    auto* script = static_cast<XDO*>(m_script.Get());
    auto run = s_run.Get(script);
    if (!run)
        return 0;
    orvo::DispVariant value;
    const int ran = run(m_function.c_str(), caller, value);
    if (result)
        *result = std::move(value);
    return ran;
}
