#pragma once
// XLoader ("loader"): a place in a page that loads another page file as its child, hands it
// parameters, keeps the gate data meant for it and swaps it for another file on request.
#include <memory>
#include <string>
#include <vector>

#include "core/xdo.h"

class XLoaderParam {
public:
    // Accepted with "Name" and either "Value" or "Link".
    int SetElement(XElement* e);
    // The linked object's data value when a link is given, else the stored value.
    bool GetValue(XDO* loader, std::wstring& value) const;
    bool SetValue(XDO* loader, const std::wstring& value);

    const std::wstring& GetName() const { return m_name; }
    bool IsReadOnly() const { return m_readOnly; }

private:
    std::wstring m_name; // lower case
    bool m_readOnly = false;
    std::wstring m_value;
    std::wstring m_link;
};

class XLoaderGateItemSave {
public:
    int SetElement(XElement* e);
    bool IsMatching(const XElement* gateElement) const;
    // A value written as "Data(...)" becomes that object's data.
    void LinkObject(XDO* loader);
    bool CanSave() const { return m_save; }

private:
    int m_kind = 0; // 0 any, 1 gate name, 2 gate item, 3 both
    std::wstring m_gateName;
    std::wstring m_gateItem;
    std::wstring m_value;
    bool m_hasValue = false;
    bool m_save = false;
};

class XLoader : public XDO {
    ORVO_DISPATCH_MAP()

public:
    struct Switch {
        std::wstring item;
        std::wstring value;
        std::wstring file;
        std::wstring path;
        std::wstring section;
    };

    XLoader();
    ~XLoader() override;
    ORVO_KEY(L"loader")

    int SetElement(XElement* e) override;
    int SetMethod(const wchar_t* name, XElement* e) override;
    int AfterChildElement() override;
    int RunObjectEvent(int n) override;
    void LoadObject(XElement* settings) override;
    void SaveObject(XElement* settings) override;

    int IsLoaded() { return child() ? 1 : 0; }
    int Load();
    void Unload();
    // Runs a library method of the loaded page; empty until pages publish methods.
    orvo::DispVariant RunMethod(const wchar_t* name, const wchar_t* parameters);

    bool GetParam(const std::wstring& name, std::wstring& value);
    bool SetParam(const std::wstring& name, const std::wstring& value);
    int DoSwitch(XElement* e);
    int CanSave(const XElement* gateElement) const;
    void SetGateClose(int close) { m_gateClose = close; }
    // A closed gate keeps gather walks out of the loaded page.
    bool IsGateClosed() const { return m_gateClose != 0; }
    bool IsDragBlock() const { return m_dragBlock; }
    bool IsDropBlock() const { return m_dropBlock; }
    // Gates live above the core: the layer that has them installs the replay of kept gate
    // data into a newly loaded page. Without it no data is replayed.
    using PageTrigger = int (*)(XDO* page, XElement* saved);
    static void SetPageTrigger(PageTrigger trigger) { s_pageTrigger = trigger; }
    void LinkObject();
    const XElement* GetSavedGateElement() const { return m_savedGate.get(); }

private:
    bool m_dragBlock = false;
    bool m_dropBlock = false;
    std::vector<std::unique_ptr<XLoaderParam>> m_params;
    std::vector<std::unique_ptr<XLoaderGateItemSave>> m_gateRules;
    std::wstring m_file;
    std::wstring m_path;
    std::wstring m_section;
    bool m_autoLoad = true;
    bool m_autoTrigger = true;
    int m_gateClose = 0;
    bool m_gateItemMerge = true;
    std::unique_ptr<XElement> m_savedGate;
    std::vector<Switch> m_switches;
    static inline PageTrigger s_pageTrigger = nullptr;
};
