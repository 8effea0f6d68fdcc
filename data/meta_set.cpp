#include "data/meta_set.h"

#include "core/definition_set.h"
#include "data/contracts.h"
#include "platform/base/nocase.h"

namespace {
XMetaSet* g_set = nullptr;
[[maybe_unused]] const int g_registered = [] {
    g_set = new XMetaSet(); // lives for the process, like every service
    return orvo::RegisterInstance(g_set);
}();
} // namespace

XMetaSet& XMetaSet::Instance() {
    return *g_set;
}

ORVO_DISPATCH(XMetaSet,
              XDO,
              ORVO_METHOD(InitializeIXO),
              ORVO_PROVIDE(orvo::contract::MetaSetGetMetaDataByName, GetMetaDataByName),
              ORVO_PROVIDE(orvo::contract::MetaSetGetMetaDataByID, GetMetaDataByID))

int XMetaSet::InitializeIXO() {
    return orvo::LoadDefinitionSet(this, L"MetaSet");
}

XMetaData* XMetaSet::GetMetaDataByName(const wchar_t* name) {
    XDO* first = child();
    if (!first || !name || !*name)
        return nullptr;
    std::wstring_view wanted(name);
    return static_cast<XMetaData*>(first->find_down([wanted](XDO* node) {
        return dynamic_cast<XMetaData*>(node) && plat::EqualsNoCase(node->GetName(), wanted);
    }));
}

CMetaItem* XMetaSet::GetMetaDataByID(const wchar_t* id) {
    return XMetaData::FindItemDown(child(), id);
}
