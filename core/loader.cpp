#include "core/loader.h"

#include "core/contracts.h"
#include "core/lib.h"
#include "core/notice_messages.h"
#include "nubra/call_site.h"
#include "platform/base/format.h"
#include "platform/base/nocase.h"
#include "platform/base/path.h"

namespace {
[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XLoader>();
} // namespace

// ---- parameters ---------------------------------------------------------------------------

int XLoaderParam::SetElement(XElement* e) {
    if (!e || !e->GetValue(L"Name", m_name))
        return 0;
    plat::MakeLower(m_name);
    e->GetBool(L"ReadOnly", m_readOnly);
    const bool hasValue = e->GetValue(L"Value", m_value) != 0;
    const bool hasLink = e->GetValue(L"Link", m_link) != 0;
    return !m_name.empty() && (hasValue || hasLink) ? 1 : 0;
}

bool XLoaderParam::GetValue(XDO* loader, std::wstring& value) const {
    if (!m_link.empty()) {
        if (XDO* linked = loader ? loader->GetNearObjByName(m_link.c_str()) : nullptr) {
            linked->GetData(&value);
            return true;
        }
        ConfirmMsg(plat::Format(L"loader.param name=\"%s\" not found.\n", m_name), 0, 0);
    }
    value = m_value;
    return true;
}

bool XLoaderParam::SetValue(XDO* loader, const std::wstring& value) {
    if (m_readOnly)
        return false;
    if (!m_link.empty()) {
        if (XDO* linked = loader ? loader->GetNearObjByName(m_link.c_str()) : nullptr) {
            linked->SetData(value.c_str());
            return true;
        }
    }
    m_value = value;
    return true;
}

// ---- gate item rules ----------------------------------------------------------------------

int XLoaderGateItemSave::SetElement(XElement* e) {
    if (!e)
        return 0;
    const bool hasName = e->GetValue(L"GateName", m_gateName) != 0;
    const bool hasItem = e->GetValue(L"GateItem", m_gateItem) != 0;
    m_kind = hasName && hasItem ? 3 : hasName ? 1 : hasItem ? 2 : 0;
    if (hasItem)
        m_hasValue = e->GetValue(L"Value", m_value) != 0;
    if (!e->GetBool(L"Save", m_save)) {
        ConfirmMsg(plat::Format(L"<loader.GateItemSave gatename=\"%s\" gateitem=\"%s\"> 에 Save "
                                L"여부가 지정되지 않았습니다.",
                                m_gateName,
                                m_gateItem),
                   0,
                   0);
        return 0;
    }
    return 1;
}

bool XLoaderGateItemSave::IsMatching(const XElement* gate) const {
    if (!gate)
        return m_kind == 0;
    const bool nameOk = plat::EqualsNoCase(gate->GetTagName(), m_gateName);
    auto itemOk = [&] {
        // Attribute keys are stored lower case; the rule's item is looked up as written.
        const CMapStringToString* attrs = gate->GetAttributes();
        if (!attrs)
            return false;
        for (const auto& [key, value] : *attrs) {
            if (key == m_gateItem)
                return !m_hasValue || value == m_value;
        }
        return false;
    };
    switch (m_kind) {
    case 0:
        return true;
    case 1:
        return nameOk;
    case 2:
        return itemOk();
    default:
        return nameOk && itemOk();
    }
}

void XLoaderGateItemSave::LinkObject(XDO* loader) {
    if (m_hasValue)
        m_value = FindData(loader, m_value);
}

// ---- the loader ---------------------------------------------------------------------------

ORVO_DISPATCH(XLoader,
              XDO,
              ORVO_METHOD(IsLoaded),
              ORVO_METHOD(Load),
              ORVO_METHOD(Unload),
              ORVO_METHOD(RunMethod))

XLoader::XLoader() {
    m_nStyle |= XDO_STYLE_LOADER;
}

XLoader::~XLoader() = default;

int XLoader::SetElement(XElement* e) {
    if (!XDO::SetElement(e) || !e)
        return 0;
    e->GetBool(L"DragBlock", m_dragBlock);
    e->GetBool(L"DropBlock", m_dropBlock);
    if (!e->GetValue(L"file", m_file) || !e->GetValue(L"path", m_path))
        return 0;
    e->GetValue(L"Section", m_section);
    e->GetBool(L"AutoLoad", m_autoLoad);
    e->GetBool(L"AutoTrigger", m_autoTrigger);
    e->GetBool(L"GateItemMerge", m_gateItemMerge);
    return 1;
}

int XLoader::SetMethod(const wchar_t* name, XElement* e) {
    std::wstring_view method(name ? name : L"");
    if (plat::EqualsNoCase(method, L"param")) {
        auto param = std::make_unique<XLoaderParam>();
        if (param->SetElement(e))
            m_params.push_back(std::move(param));
        return 1;
    }
    if (plat::EqualsNoCase(method, L"GateItemSave")) {
        auto rule = std::make_unique<XLoaderGateItemSave>();
        if (rule->SetElement(e))
            m_gateRules.push_back(std::move(rule));
        return 1;
    }
    if (plat::EqualsNoCase(method, L"switch")) {
        Switch s;
        if (e) {
            e->GetValue(L"Item", s.item);
            e->GetValue(L"Value", s.value);
            e->GetValue(L"File", s.file);
            e->GetValue(L"Path", s.path);
            e->GetValue(L"Section", s.section);
        }
        m_switches.push_back(std::move(s));
        return 1;
    }
    return XDO::SetMethod(name, e);
}

int XLoader::AfterChildElement() {
    if (child())
        ConfirmMsg(L"<loader> 의 child node 가 존재해서는 안됩니다.", 0, 0);
    return 1;
}

void XLoader::LinkObject() {
    for (auto& rule : m_gateRules)
        rule->LinkObject(this);
}

int XLoader::RunObjectEvent(int n) {
    switch (n) {
    case EVT_AFTERCREATE:
        LinkObject();
        if (m_autoLoad)
            Load();
        listener<XDO>::Register();
        break;
    case EVT_CHILDADDED: // a page loaded after the start gets the gate data kept for it
        if (m_autoTrigger && m_nCreateState >= 4 && m_savedGate && s_pageTrigger && child())
            s_pageTrigger(child(), m_savedGate.get());
        break;
    case 15: // GateAfterInput: keep the gate data for the page
        if (s_pGateElement && CanSave(s_pGateElement)) {
            if (m_gateItemMerge) {
                if (!m_savedGate)
                    m_savedGate = std::make_unique<XElement>(s_pGateElement->GetTagName(), nullptr);
                m_savedGate->Merge(s_pGateElement);
            } else {
                m_savedGate = std::make_unique<XElement>(s_pGateElement->GetTagName(), nullptr);
                m_savedGate->Merge(s_pGateElement);
                if (m_savedGate->GetSize() == 0)
                    m_savedGate.reset();
            }
        }
        break;
    case EVT_INITIALIZE:
        m_nCreateState = 3;
        break;
    case EVT_RUN:
        m_nCreateState = 4;
        break;
    default:
        break;
    }
    XEvent* handler = GetEventSlot(n);
    return handler ? handler->Run(this) : 1;
}

int XLoader::Load() {
    static orvo::ContractCall<orvo::contract::ProjectGetPath> s_getPath;
    if (child())
        return 0;
    std::wstring folder;
    auto getPath = s_getPath.Get();
    if (!getPath || !getPath(m_path.c_str(), &folder)) {
        ConfirmMsg(plat::Format(L"<loader file=\"%s\" path=\"%s\"> did not load: the path alias "
                                L"\"%s\" is not declared",
                                m_file,
                                m_path,
                                m_path),
                   0,
                   0);
        return 0;
    }
    std::wstring full = plat::JoinPath(folder, m_file);
    static orvo::ContractCall<orvo::contract::ScrManOpenPage> s_openPage;
    auto openPage = s_openPage.Get();
    return openPage && openPage(full.c_str(), this, nullptr) ? 1 : 0;
}

void XLoader::Unload() {
    XDO* page = child();
    if (!page)
        return;
    XDO* top = GetTopParent();
    // A focus inside the page goes back to the enclosing window host, or nowhere.
    if (XDO* focus = top->GetFocusRecord();
        focus && page->FindObjectInTree(focus, 0) && IsLiveXdo(focus)) {
        XDO* host = GetXDO(XDO_STYLE_WINDOWHOST, 0);
        top->SetFocusRecord(host);
    }
    page->LinkCut(1, nullptr);
}

orvo::DispVariant XLoader::RunMethod(const wchar_t* name, const wchar_t* parameters) {
    auto* lib = dynamic_cast<XLib*>(child());
    if (!lib || !orvo::HasStyle(lib, XDO_STYLE_SCREEN) || !name)
        return {};
    XElement params(L"param", nullptr);
    params.MakeValue(parameters ? parameters : L"");
    orvo::DispVariant result;
    if (XLibMethod* method = lib->GetMethod(name))
        method->Run(this, &params, &result);
    return result;
}

bool XLoader::GetParam(const std::wstring& name, std::wstring& value) {
    for (const auto& p : m_params) {
        if (plat::EqualsNoCase(p->GetName(), name))
            return p->GetValue(this, value);
    }
    return false;
}

bool XLoader::SetParam(const std::wstring& name, const std::wstring& value) {
    for (const auto& p : m_params) {
        if (plat::EqualsNoCase(p->GetName(), name))
            return p->SetValue(this, value);
    }
    return false;
}

int XLoader::DoSwitch(XElement* e) {
    if (!e)
        return 0;
    for (const Switch& s : m_switches) {
        std::wstring value;
        if (!e->GetValue(s.item, value) || !plat::EqualsNoCase(value, s.value))
            continue;
        if (plat::EqualsNoCase(s.file, m_file) && plat::EqualsNoCase(s.path, m_path))
            continue;
        m_file = s.file;
        m_path = s.path;
        m_section = s.section;
        if (child()) {
            Unload();
            Load();
            return 1;
        }
    }
    return 0;
}

int XLoader::CanSave(const XElement* gateElement) const {
    for (const auto& rule : m_gateRules) {
        if (rule->IsMatching(gateElement))
            return rule->CanSave() ? 1 : 0;
    }
    return 1;
}

void XLoader::LoadObject(XElement* settings) {
    if (m_section.empty() || !settings) {
        XDO::LoadObject(settings);
        return;
    }
    if (XElement* section = settings->FindChild(m_section)) {
        for (XDO* c = child(); c; c = c->next())
            c->LoadObject(section);
    }
}

void XLoader::SaveObject(XElement* settings) {
    if (m_section.empty() || !settings) {
        XDO::SaveObject(settings);
        return;
    }
    XElement* section = settings->FindChild(m_section);
    if (!section) {
        section = new XElement(m_section.c_str());
        settings->AppendChild(section);
    }
    for (XDO* c = child(); c; c = c->next())
        c->SaveObject(section);
}
