#include "data/struct_set.h"

#include "core/scr_man.h"
#include "nubra/call_site.h"
#include "platform/base/nocase.h"

namespace {
XStructSet* g_set = nullptr;
[[maybe_unused]] const int g_registered = [] {
    g_set = new XStructSet(); // lives for the process, like every service
    return IXO::Register(L"structureset", g_set);
}();
} // namespace

XStructSet& XStructSet::Instance() {
    return *g_set;
}

const orvo::DispatchMap& XStructSet::ClassDispatch() {
    static const orvo::DispatchMap map(
        &XDO::ClassDispatch(), {
                                   orvo::Method<&XStructSet::InitializeIXO>(L"InitializeIXO"),
                                   orvo::Method<&XStructSet::GetStructByName>(L"GetStructByName"),
                               });
    return map;
}

int XStructSet::InitializeIXO() {
    static orvo::ServiceCall<int(const wchar_t*, std::wstring&)> s_getFile(L"Project", L"GetFile");
    // A reload replaces the definitions.
    while (XDO* c = child())
        c->LinkCut(1, nullptr);
    m_nCreateState = 0;
    std::wstring file;
    auto getFile = s_getFile.Get();
    if (!getFile || !getFile(L"StructureSet", file))
        return 1;
    XDO* root = XScrMan::Instance().OpenPage(file.c_str(), nullptr, nullptr);
    // A file whose root is not "StructureSet" still gives its structures to the set rather
    // than leaving them unowned and out of reach.
    if (root && root != this && !root->parent())
        AddChild(root);
    return 1;
}

XStruct* XStructSet::GetStructByName(const wchar_t* name) {
    std::wstring_view wanted(name ? name : L"");
    for (XDO* c = child(); c; c = c->next()) {
        if (plat::EqualsNoCase(c->GetIXOKey(), L"structure") &&
            plat::EqualsNoCase(c->GetName(), wanted))
            return dynamic_cast<XStruct*>(c);
    }
    return nullptr;
}
