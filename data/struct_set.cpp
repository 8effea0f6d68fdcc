#include "data/struct_set.h"

#include "core/definition_set.h"
#include "data/contracts.h"
#include "platform/base/nocase.h"

namespace {
XStructSet* g_set = nullptr;
[[maybe_unused]] const int g_registered = [] {
    g_set = new XStructSet(); // lives for the process, like every service
    return orvo::RegisterInstance(g_set);
}();
} // namespace

XStructSet& XStructSet::Instance() {
    return *g_set;
}

ORVO_DISPATCH(XStructSet,
              XDO,
              ORVO_METHOD(InitializeIXO),
              ORVO_PROVIDE(orvo::contract::StructureSetGetStructByName, GetStructByName))

int XStructSet::InitializeIXO() {
    return orvo::LoadDefinitionSet(this, L"StructureSet");
}

XStruct* XStructSet::GetStructByName(const wchar_t* name) {
    std::wstring_view wanted(name ? name : L"");
    for (XDO* c = child(); c; c = c->next()) {
        if (auto* structure = orvo::KindOf<XStruct>(c);
            structure && plat::EqualsNoCase(c->GetName(), wanted))
            return structure;
    }
    return nullptr;
}
