#include "data/tr.h"

#include <cstdint>
#include <iterator>
#include <string_view>

#include "core/notice_messages.h"
#include "data/contracts.h"
#include "data/meta_io.h"
#include "data/struct.h"
#include "platform/base/format.h"
#include "platform/base/nocase.h"

namespace {
[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XTR>();

constexpr const wchar_t* kTypeKeywords[] = {L"IQR", L"OMS", L"VCS", L"IQS"};

// Present and not empty.
bool ReadText(XElement* e, std::wstring_view key, std::wstring& out) {
    return e->GetValue(key, out) && !out.empty();
}
} // namespace

XTR::XTR() = default;

XTR::XTR(const XTR& source)
    : XDO(), m_id(source.m_id), m_text(source.m_text), m_realTime(source.m_realTime) {}

ORVO_DISPATCH(XTR,
              XDO,
              ORVO_METHOD(HasSwitch),
              ORVO_METHOD(GetByIDDown),
              ORVO_PROVIDE(orvo::contract::SetInputStruct, SetInputStruct),
              ORVO_PROVIDE(orvo::contract::SetOutputStruct, SetOutputStruct))

const wchar_t* XTR::TypeKeyword(Type type) {
    const auto index = static_cast<std::size_t>(type);
    return index < std::size(kTypeKeywords) ? kTypeKeywords[index] : kTypeKeywords[IQR];
}

int XTR::SetElement(XElement* e) {
    if (!XDO::SetElement(e))
        return 0;
    if (!e || !ReadText(e, L"id", m_id)) {
        // The builder stops at a failed element, so its later siblings are lost as well:
        // worth saying, since nothing else would tell the author why lookups find nothing.
        std::wstring text;
        if (e && e->GetValue(L"text", text) && !text.empty())
            text = L" \"" + text + L"\"";
        ConfirmMsg(plat::Format(L"Transaction%s has no id: it and the transactions after it at "
                                L"its level are not read.",
                                text),
                   0,
                   0);
        return 0;
    }
    e->GetValue(L"text", m_text);
    e->GetValue(L"service", m_service);
    e->GetValue(L"encode", m_encode);
    int lazyTime = 0;
    if (e->GetValue(L"LazyTime", lazyTime)) {
        m_lazyTime = static_cast<std::uint32_t>(lazyTime);
        m_lazyProc = 1;
    }
    e->GetBool(L"Lazy", m_lazyProc);
    e->GetBool(L"Realtime", m_realTime);
    e->GetBool(L"Repeat", m_repeat);
    std::wstring type;
    if (e->GetValue(L"type", type)) {
        for (std::size_t i = 0; i < std::size(kTypeKeywords); ++i) {
            if (plat::EqualsNoCase(type, kTypeKeywords[i]))
                m_type = static_cast<Type>(i);
        }
    }
    return 1;
}

int XTR::SetMethod(const wchar_t* name, XElement* e) {
    if (!plat::EqualsNoCase(name ? name : L"", L"switch"))
        return XDO::SetMethod(name, e);
    auto entry = std::make_unique<Switch>();
    // Half a switch could only ever select nothing or the wrong number: drop it quietly.
    if (!e || !ReadText(e, L"Item", entry->Item) || !ReadText(e, L"Value", entry->Value) ||
        !ReadText(e, L"Id", entry->Id))
        return 1;
    if (e->GetValue(L"LazyTime", entry->LazyTime))
        entry->Lazy = entry->ApplyLazy = entry->ApplyTime = 1;
    if (e->GetBool(L"Lazy", entry->Lazy))
        entry->ApplyLazy = 1;
    e->GetBool(L"ApplyLazy", entry->ApplyLazy);
    e->GetBool(L"ApplyTime", entry->ApplyTime);
    m_switches.push_back(std::move(entry));
    return 1;
}

int XTR::AfterChildElement() {
    if (!XDO::AfterChildElement())
        return 0;
    // Every child is a structure container or a nested transaction; nested ones check their
    // own children when they are complete.
    for (XDO* c = child(); c; c = c->next()) {
        if (dynamic_cast<XTR*>(c))
            continue;
        if (!CheckType(c))
            return 0;
        auto* container = dynamic_cast<XMetaIO*>(c);
        if (!container || !container->ValidateChain(c->child()))
            return 0;
    }
    return 1;
}

bool XTR::Answers(std::wstring_view id) const {
    if (plat::EqualsNoCase(m_id, id))
        return true;
    for (const auto& s : m_switches) {
        if (plat::EqualsNoCase(s->Id, id))
            return true;
    }
    return false;
}

const XTR::Switch* XTR::GetSwitch(XElement* element) const {
    if (!element)
        return nullptr;
    std::wstring value;
    for (const auto& s : m_switches) {
        if (element->GetValue(s->Item, value) && plat::EqualsNoCase(value, s->Value))
            return s.get();
    }
    return nullptr;
}

XTR* XTR::WalkDown(XDO* first, const std::function<bool(XTR&)>& visit) {
    // Pre-order with an explicit stack: transaction files hold long sibling chains.
    std::vector<XDO*> pending;
    if (first)
        pending.push_back(first);
    while (!pending.empty()) {
        XDO* node = pending.back();
        pending.pop_back();
        if (node->next())
            pending.push_back(node->next());
        auto* tr = dynamic_cast<XTR*>(node);
        if (!tr)
            continue;
        if (visit(*tr))
            return tr;
        if (tr->child())
            pending.push_back(tr->child());
    }
    return nullptr;
}

XTR* XTR::GetByIDDown(const wchar_t* id) {
    // A transaction that failed for want of an id must never answer the empty one.
    if (!id || !*id)
        return nullptr;
    const std::wstring_view wanted(id);
    return WalkDown(this, [wanted](XTR& tr) { return tr.Answers(wanted); });
}

bool XTR::CheckType(XDO* object) {
    if (orvo::KindOf<XInput>(object) || orvo::KindOf<XOutput>(object))
        return true;
    ConfirmMsg(plat::Format(L"%s must input or output", object ? object->GetIXOKey() : L""), 0, 0);
    return false;
}

XStruct* XTR::GetInputStruct() const {
    return dynamic_cast<XStruct*>(m_input.Get());
}

XStruct* XTR::GetOutputStruct() const {
    return dynamic_cast<XStruct*>(m_output.Get());
}

void XTR::SetInputStruct(XStruct* input) {
    m_input = input ? input->WeakRef() : orvo::IXORef();
}

void XTR::SetOutputStruct(XStruct* output) {
    m_output = output ? output->WeakRef() : orvo::IXORef();
}
