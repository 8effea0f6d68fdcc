#include "core/lib.h"

#include "core/loader.h"
#include "core/loading_stamp.h"
#include "platform/base/nocase.h"

using namespace std::string_view_literals;

namespace {
[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XLib>();
} // namespace

int XLibParam::SetElement(XElement* e) {
    if (!e || !e->GetValue(L"Name", name) || name.empty())
        return 0;
    e->GetValue(L"Object", objectName);
    e->GetValue(L"Item", objectItem);
    e->GetValue(L"Value", value);
    e->GetBool(L"Save", save);
    return 1;
}

ORVO_DISPATCH(XLib,
              XDO,
              ORVO_METHOD(SetParamValue),
              ORVO_METHOD(GetParamValue),
              ORVO_METHOD(CompareParamValue),
              ORVO_METHOD(NotifyEvent),
              ORVO_METHOD(GetLoadingTick),
              ORVO_METHOD(InitFocus),
              ORVO_METHOD(NotifySetFocus),
              ORVO_METHOD(FocusKeyProc),
              ORVO_METHOD(TabNavi),
              ORVO_METHOD_AS(RestoreFocus, GiveFocus))

XLib::XLib() {
    m_nStyle |= XDO_STYLE_SCREEN;
}

XDO* XLib::Loader() const {
    XDO* p = parent();
    return p && (p->GetObjectStyle() & XDO_STYLE_LOADER) ? p : nullptr;
}

int XLib::SetElement(XElement* e) {
    if (!XDO::SetElement(e))
        return 0;
    m_loadingTick = orvo::LoadingStamp();
    if (!e)
        return 1;
    e->GetBool(L"DragBlock"sv, m_dragBlock);
    e->GetBool(L"DropBlock"sv, m_dropBlock);
    // Parameters exist before the children are built; a loader's parameter of the same name
    // gives the starting value.
    // A page of many objects under one library is not read twice for none.
    if (!e->GetFirstChild() || !e->MayHoldParamDeclarations())
        return 1;
    auto* loader = dynamic_cast<XLoader*>(Loader());
    for (XElement* c = e->GetFirstChild(); c; c = c->GetNextSibling()) {
        if (!c->IsParamDeclaration())
            continue;
        auto param = std::make_unique<XLibParam>();
        if (!param->SetElement(c))
            continue;
        if (loader)
            loader->GetParam(param->name, param->value);
        m_params.push_back(std::move(param));
    }
    return 1;
}

int XLib::SetMethod(const wchar_t* name, XElement* e) {
    std::wstring_view method(name ? name : L"");
    if (plat::EqualsNoCase(method, L"param"))
        return 1; // read with the element
    if (plat::EqualsNoCase(method, L"Method")) {
        auto declared = std::make_unique<XLibMethod>();
        if (declared->SetElement(e)) {
            m_methods.push_back(std::move(declared));
            LinkAfterCreate();
        }
        return 1;
    }
    if (plat::EqualsNoCase(method, L"NotifyEvent")) {
        std::wstring event;
        if (e && e->GetValue(L"Name", event) && !event.empty())
            m_notifyNames.push_back(plat::ToLower(event));
        return 1;
    }
    if (plat::EqualsNoCase(method, L"TabStop")) {
        auto stop = std::make_unique<CTabStop>();
        if (stop->SetElement(e)) {
            m_tabStops.push_back(std::move(stop));
            LinkAfterCreate();
        }
        return 1;
    }
    return XDO::SetMethod(name, e);
}

int XLib::RunObjectEvent(int n) {
    const int result = XDO::RunObjectEvent(n);
    // Script methods find their script once every object of the screen exists.
    if (n == EVT_AFTERCREATE && LinksAfterCreate()) {
        for (const auto& m : m_methods)
            m->LinkObject(this);
        for (const auto& stop : m_tabStops)
            stop->LinkObject(this);
    }
    return result;
}

XLibMethod* XLib::GetMethod(const std::wstring& name) const {
    if (name.empty())
        return nullptr;
    for (const auto& m : m_methods) {
        if (plat::EqualsNoCase(m->Name(), name))
            return m.get();
    }
    return nullptr;
}

int XLib::RunMethod(const std::wstring& name, XElement* params, orvo::DispVariant* result) {
    XLibMethod* method = GetMethod(name);
    return method ? method->Run(this, params, result) : 0;
}

XLibParam* XLib::FindParam(std::wstring_view name) const {
    for (const auto& p : m_params) {
        if (plat::EqualsNoCase(p->name, name))
            return p.get();
    }
    return nullptr;
}

bool XLib::GetParam(const std::wstring& name, std::wstring& value) const {
    if (XLibParam* p = FindParam(name)) {
        value = p->value;
        return true;
    }
    return false;
}

int XLib::SetParamValue(const wchar_t* name, const wchar_t* value) {
    XLibParam* p = FindParam(name ? name : L"");
    if (!p)
        return 0;
    p->value = value ? value : L"";
    return 1;
}

std::wstring XLib::GetParamValue(const wchar_t* name) {
    XLibParam* p = FindParam(name ? name : L"");
    return p ? p->value : std::wstring();
}

int XLib::CompareParamValue(const wchar_t* name, const wchar_t* value) {
    return plat::EqualsNoCase(GetParamValue(name), value ? value : L"") ? 1 : 0;
}

bool XLib::GetUpValue(const std::wstring& name, std::wstring& value) {
    if (GetParam(name, value))
        return true;
    for (XDO* up = parent(); up; up = up->parent()) {
        if (auto* loader = dynamic_cast<XLoader*>(up);
            loader && (up->GetObjectStyle() & XDO_STYLE_LOADER)) {
            if (loader->GetParam(name, value))
                return true;
        } else if (auto* lib = dynamic_cast<XLib*>(up);
                   lib && (up->GetObjectStyle() & XDO_STYLE_SCREEN)) {
            if (lib->GetParam(name, value))
                return true;
        }
    }
    return false;
}

XLibParam* XLib::GetParamByObj(XDO* object) {
    if (!object)
        return nullptr;
    for (const auto& p : m_params) {
        if (plat::EqualsNoCase(p->objectName, object->GetName()) && p->objectItem.empty())
            return p.get();
    }
    return nullptr;
}

XLibParam* XLib::GetParamByMethod(XDO* object, const std::wstring& item) {
    if (!object || item.empty())
        return nullptr;
    for (const auto& p : m_params) {
        if (plat::EqualsNoCase(p->objectName, object->GetName()) &&
            plat::EqualsNoCase(p->objectItem, item))
            return p.get();
    }
    return nullptr;
}

bool XLib::FindNotify(const std::wstring& name) const {
    for (const std::wstring& n : m_notifyNames) {
        if (plat::EqualsNoCase(n, name))
            return true;
    }
    return false;
}

int XLib::NotifyEvent(const wchar_t* name, const wchar_t* items) {
    XDO* loader = Loader();
    if (!loader)
        return 0;
    std::wstring event = FindData(this, name ? name : L"");
    std::wstring values = FindData(this, items ? items : L"");
    if (!FindNotify(event))
        return 0;
    XElement element(event.c_str());
    element.MakeValue(values);
    loader->SendEvent(&element, this);
    return 1;
}

int XLib::RelayEvent() {
    XDO* loader = Loader();
    if (!loader || !s_pEvtElement || !FindNotify(s_pEvtElement->GetTagName()))
        return 0;
    loader->SendEvent(s_pEvtElement, this);
    return 1;
}

void XLib::SaveObject(XElement* settings) {
    if (settings) {
        for (const auto& p : m_params) {
            if (!p->name.empty() && p->save)
                settings->SetValue(p->name, p->value);
        }
        if (m_bSave && !m_strName.empty())
            settings->SetValue(m_strName, m_strDataValue);
    }
    _SaveObject(settings);
}

XElement* XLib::GetSettingsElement(int create) {
    if (!m_settings && create)
        m_settings = std::make_unique<XElement>(L"Settings");
    return m_settings.get();
}
