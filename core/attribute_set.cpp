#include "core/attribute_set.h"

#include "core/contracts.h"
#include "core/definition_set.h"
#include "platform/base/nocase.h"

namespace {
XAttributeSet* g_set = nullptr;
[[maybe_unused]] const int g_registered = [] {
    orvo::RegisterFactory<XAttribute>();
    g_set = new XAttributeSet(); // lives for the process, like every service
    return orvo::RegisterInstance(g_set);
}();
} // namespace

int XAttribute::SetElement(XElement* e) {
    if (!XDO::SetElement(e))
        return 0;
    m_bundle.Clear();
    if (const CMapStringToString* attrs = e ? e->GetAttributes() : nullptr) {
        for (const auto& [key, value] : *attrs) {
            if (!plat::EqualsNoCase(key, L"name"))
                m_bundle.Set(plat::ToLower(key), value);
        }
    }
    return 1;
}

XAttributeSet& XAttributeSet::Instance() {
    return *g_set;
}

ORVO_DISPATCH(XAttributeSet,
              XDO,
              ORVO_METHOD(InitializeIXO),
              ORVO_PROVIDE(orvo::contract::AttributeSetGetAttributeByName, GetAttributeByName))

int XAttributeSet::InitializeIXO() {
    return orvo::LoadDefinitionSet(this, L"AttributeSet");
}

IXO* XAttributeSet::GetAttributeByName(const wchar_t* name) {
    std::wstring_view wanted(name ? name : L"");
    for (XDO* c = child(); c; c = c->next()) {
        if (orvo::KindOf<XAttribute>(c) && plat::EqualsNoCase(c->GetName(), wanted))
            return c;
    }
    return nullptr;
}
