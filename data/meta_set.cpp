#include "data/meta_set.h"

#include "core/scr_man.h"
#include "nubra/call_site.h"
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
    static orvo::ServiceCall<int(const wchar_t*, std::wstring&)> s_getFile(L"Project", L"GetFile");
    // A reload replaces the definitions.
    while (XDO* c = child())
        c->LinkCut(1, nullptr);
    std::wstring file;
    auto getFile = s_getFile.Get();
    if (!getFile || !getFile(L"MetaSet", file))
        return 1;
    XDO* root = XScrMan::Instance().OpenPage(file.c_str(), nullptr, nullptr);
    // A file whose root is not "MetaSet" still gives its objects to the set instead of
    // leaving them unowned and out of reach of every lookup.
    if (root && root != this && !root->parent())
        AddChild(root);
    return 1;
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
