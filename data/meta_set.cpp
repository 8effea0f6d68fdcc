#include "data/meta_set.h"

#include "core/definition_set.h"
#include "platform/base/nocase.h"

namespace {
XMetaSet* g_set = nullptr;
[[maybe_unused]] const int g_registered = [] {
    g_set = new XMetaSet(); // lives for the process, like every service
    return IXO::Register(L"metaset", g_set);
}();
} // namespace

XMetaSet& XMetaSet::Instance() {
    return *g_set;
}

const orvo::DispatchMap& XMetaSet::ClassDispatch() {
    static const orvo::DispatchMap map(
        &XDO::ClassDispatch(), {
                                   orvo::Method<&XMetaSet::InitializeIXO>(L"InitializeIXO"),
                                   orvo::Method<&XMetaSet::GetMetaDataByName>(L"GetMetaDataByName"),
                                   orvo::Method<&XMetaSet::GetMetaDataByID>(L"GetMetaDataByID"),
                               });
    return map;
}

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
