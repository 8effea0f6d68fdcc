#pragma once
// XLib ("lib"): the root object of a screen file. It is the screen's naming and focus
// boundary and publishes the screen's interface to whoever opened or loaded it: parameters,
// methods, and the events it may raise to its loader.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/lib_method.h"
#include "core/tab_stop.h"
#include "core/xdo.h"

class XLibParam {
public:
    int SetElement(XElement* e);

    std::wstring name;
    std::wstring objectName; // "Object"
    std::wstring objectItem; // "Item"
    std::wstring value;
    bool save = false;
};

class XLib : public XDO {
    ORVO_DISPATCH_MAP()

public:
    XLib();
    ORVO_KEY(L"lib")

    int SetElement(XElement* e) override;
    int SetMethod(const wchar_t* name, XElement* e) override;
    int RunObjectEvent(int n) override;
    void SaveObject(XElement* settings) override;
    XElement* GetSettingsElement(int create) override;

    int SetParamValue(const wchar_t* name, const wchar_t* value);
    std::wstring GetParamValue(const wchar_t* name);
    int CompareParamValue(const wchar_t* name, const wchar_t* value);
    int NotifyEvent(const wchar_t* name, const wchar_t* items);
    int GetLoadingTick() const { return static_cast<int>(m_loadingTick); }

    // The method of that name (without case), or null.
    XLibMethod* GetMethod(const std::wstring& name) const;
    // 1 when the method exists and ran.
    int RunMethod(const std::wstring& name, XElement* params, orvo::DispVariant* result);

    bool GetParam(const std::wstring& name, std::wstring& value) const;
    // The library's own parameter, else the nearest loader or library above that has one.
    bool GetUpValue(const std::wstring& name, std::wstring& value);
    // The parameter bound to the object's name as a whole ("Object" without "Item"), or to
    // one item of it; both without case.
    XLibParam* GetParamByObj(XDO* object);
    XLibParam* GetParamByMethod(XDO* object, const std::wstring& item);
    bool FindNotify(const std::wstring& name) const;
    // Forwards the event now running to the loader when its name is declared.
    int RelayEvent();
    const std::vector<std::unique_ptr<XLibParam>>& GetParams() const { return m_params; }
    bool IsDragBlock() const { return m_dragBlock; }

    // Focus travel over the declared tab stops, in declaration order.
    int InitFocus();
    // A control of this screen took the focus; 1 when it is one of the tab stops.
    int NotifySetFocus(XDO* object);
    // Tab (Shift+Tab backwards), Enter and Space; 1 when the key was handled.
    int FocusKeyProc(unsigned key);
    int TabNavi(bool forward);
    // The current tab stop takes the focus again (when the screen's frame is activated).
    int RestoreFocus();
    // The control of the current tab stop, or null.
    XDO* CurrentFocus() const;
    // The first focusable tab stop marked "DefaultButton", or null.
    CTabStop* DefaultButton() const;
    // The tab stops whose control can take the focus now.
    void GatherTabStop(std::vector<CTabStop*>& stops) const;
    static bool CanFocus(XDO* control);
    const std::vector<std::unique_ptr<CTabStop>>& GetTabStops() const { return m_tabStops; }
    bool IsDropBlock() const { return m_dropBlock; }

private:
    XLibParam* FindParam(std::wstring_view name) const;
    XDO* Loader() const;
    void GiveFocus(CTabStop* stop);
    void SimulateMouseClick(XDO* control);

    std::vector<std::unique_ptr<XLibParam>> m_params;
    std::vector<std::wstring> m_notifyNames; // lower case
    std::vector<std::unique_ptr<XLibMethod>> m_methods;
    std::vector<std::unique_ptr<CTabStop>> m_tabStops;
    CTabStop* m_currentTabStop = nullptr;
    bool m_dragBlock = false;
    bool m_dropBlock = false;
    std::int64_t m_loadingTick = 0;
    std::unique_ptr<XElement> m_settings;
};
