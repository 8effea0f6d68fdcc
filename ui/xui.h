#pragma once
// XUI: the base of every visual object. To its layout rectangle it adds state flags (hidden,
// selected, disabled, focusable, painted by user state), a mouse state, a paint style from
// the current theme, a binding to one field of an IO data object, its part in the paint and
// hit-test walks of the window it paints into, the focus, and the script interface of all
// of these. It has no window of its own: it paints into the window of its nearest window
// host (style 0x80) and asks that host (orvo::PaintHost) to repaint it when its look changes.
//
// Files: xui.cpp (element, creation, data binding, state, focus, settings, script),
// xui_focus.cpp (tab order), xui_paint.cpp (repaint requests and the paint walk), xui_hit_test.cpp,
// xui_park.cpp.
//
// Hiding an object that holds windows of its own descendants parks those windows in a hidden
// holder window (an XWnd, the park) until it is shown again (xui_park.cpp).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/focus_hooks.h"
#include "data/meta_io_data.h"
#include "nubra/disp_variant.h"
#include "ui/paint_target.h"
#include "ui/xrect.h"

class CDC;
class CResImg;
class CUIEvent;
class CUIStyle;
class XTheme;

class XUI : public XRect, public orvo::PaintTarget, public orvo::FocusHooks {
    ORVO_DISPATCH_MAP()

public:
    // State flag bits and their keywords in "flag".
    enum Flags : unsigned {
        UI_NOTIFYMOUSE = 0x001, // takes part in hit testing
        UI_HIDE = 0x002,
        UI_SELECT = 0x004,
        UI_CANFOCUS = 0x008,
        UI_DISABLE = 0x010, // no keyword: "ENABLE" false
        UI_USERSTATE = 0x020,
        UI_UIPAINT = 0x040,
        UI_ANIMATION = 0x080,
        UI_AUTOSELECT = 0x100, // a click toggles "Select"
    };
    using PaintEndCallback = void (*)(CDC*, XUI*);

    XUI();
    ORVO_KEY(L"XUI")

    // ---- life cycle ------------------------------------------------------------------------
    int SetElement(XElement* e) override;
    // "UIStyle": a style of this object's own, built against the current theme.
    int SetMethod(const wchar_t* name, XElement* e) override;
    // Applies "Hide" and binds the data field.
    int CreateInstance() override;
    int RunObjectEvent(int id) override;
    void LoadObject(XElement* settings) override;
    void SaveObject(XElement* settings) override;
    void SetData(const wchar_t* value) override;
    // "select" and "show" of this object itself; the rest as XDO answers.
    int GetPropW(const wchar_t* object, const wchar_t* property, std::wstring& out) override;
    int SetFocus() override;
    // In a screen's tab order (xui_focus.cpp).
    bool CanTakeFocus() const override;
    void TakeFocus() override;
    void SimulateClick() override;
    void JoinTabOrder() override;
    void OnNotifierChanged(XDO* notifier, int notifyId, int a, int b) override;

    // ---- painting ----------------------------------------------------------------------------
    // Paints this object and its subtree in the current language's font.
    virtual void OnPaint(CDC* dc);
    virtual void OnPaintStart(CDC*) {}
    // Calls the paint-end callback.
    virtual void OnPaintEnd(CDC* dc);
    virtual void OnPaintAfterChild(CDC*) {}
    virtual void OnPaintAfterNext(CDC*) {}
    // Paints `node` and its following siblings with their subtrees; children over parents,
    // later siblings over earlier ones. Windows and hidden objects are left out.
    virtual void Paint(CDC* dc, XDO* node);
    // This object alone, through the theme.
    virtual void Draw(CDC* dc);
    // The object under `pt` (client coordinates of the window) in this subtree: the topmost
    // painted one that takes the mouse, or null.
    virtual XUI* GetXUIFromPoint(CPoint pt);
    // The same among the descendants alone.
    virtual XUI* GetDescendantFromPoint(CPoint pt);
    // A descendant reports a mouse event.
    virtual int NotifyEvent(int event, XUI* from);
    // The mouse state; with `notify`, a click toggles an "AutoSelect" object, the nearest
    // visual ancestor hears of it and the object's mouse handlers for the code run.
    virtual void SetEvent(int event, int notify);
    virtual CSize GetContentSize() { return CSize(0, 0); }
    // A named part of a composite object.
    virtual XUI* GetSubUI(const wchar_t*) { return nullptr; }
    // GetSubUI for callers below the UI layer (formulas), by name.
    XDO* GetSubObject(const wchar_t* name) { return GetSubUI(name); }
    virtual void SetFlag(unsigned set, unsigned clear);
    // Shows or hides the object's own window; another object's descendant windows are parked
    // while it is hidden. `create` is set when called from CreateInstance.
    virtual int SetUIShow(int show, int create);
    // An ancestor inside the same window host was shown or hidden; objects that keep a
    // native window of their own (not a window host) follow it here.
    virtual void OnAncestorShown() {}
    // A disabled object leaves hit testing, an enabled one takes part again.
    virtual void SetUIDisable();
    // A hook after a mouse state change for derived classes.
    virtual void AfterSetEvent(int, void*) {}
    virtual void SetOnPaintEnd(PaintEndCallback callback) { m_onPaintEnd = callback; }
    virtual void RepaintVB() { Repaint(nullptr); }

    // ---- state -------------------------------------------------------------------------------
    // Returns the previous user state; `active` turns painting by user state on or off.
    int SetUserState(int state, int active);
    unsigned GetFlag() const { return m_nFlags; }
    int GetMouseState() const { return m_nMouseState; }
    // Where the window host saw the last press on this object, and the cursor while it hovers
    // or is dragged.
    CPoint GetPressPoint() const { return m_ptPress; }
    void SetPressPoint(CPoint pt) { m_ptPress = pt; }
    CPoint GetCurrentPoint() const { return m_ptCurrent; }
    void SetCurrentPoint(CPoint pt) { m_ptCurrent = pt; }
    bool IsShow() const { return (m_nFlags & UI_HIDE) == 0; }
    bool GetShow() const { return IsShow(); }
    void SetShow(bool show);
    bool GetSelect() const { return (m_nFlags & UI_SELECT) != 0; }
    void SetSelect(bool select);
    bool GetEnable() const { return (m_nFlags & UI_DISABLE) == 0; }
    bool IsEnabled() const { return GetEnable(); }
    void SetEnable(bool enable);
    int GetUserStateVB() const { return m_nUserState; }
    void SetUserStateVB(int state) { SetUserState(state, 1); }
    bool HasContextMenu() const { return m_bContextMenu != 0; }
    int GetUpdateCount() const { return m_nUpdate; }
    void SetUpdateCount(int count) { m_nUpdate = count; }
    const std::vector<CResImg*>& GetImageList() const { return m_images; }
    CUIStyle* GetStyle() const { return m_pStyle; }
    CUIEvent* GetPaintEvent() const { return m_pEvent; }
    // The content size as (cx, cy), for scripts.
    orvo::DispArray GetContentSizeVB();

    // ---- repaint -------------------------------------------------------------------------------
    // Asks the nearest window host to repaint `rect`, or this object's rectangle for null.
    void Repaint(const CRect* rect);

    // ---- data ----------------------------------------------------------------------------------
    // The IO data object this object is bound to by "Data"; null once it is gone.
    XMetaIOData* GetDataSource() const;
    // The bound one, else the one current when this object was created; null when none.
    XMetaIOData* FindDataSource() const;
    XMetaIOData* GetDataSourceVB() const { return GetDataSource(); }
    int GetDataField() const { return m_nFieldID; }
    void SetDataField(int id) { m_nFieldID = id; }
    std::wstring GetDataFieldStr() const { return m_strField; }
    void SetDataFieldStr(const std::wstring& name) { ChangeDataField(name.c_str()); }
    // Binds the field `name`; its index, -1 when the data source does not know it.
    int ChangeDataField(const wchar_t* name);
    // Takes `source` as the data source inherited from a container and binds the field name
    // against it; an object with a source of its own keeps that. A grid hands its source to
    // the cells it paints row by row.
    void InheritDataSource(XMetaIOData* source);
    int GetFieldType() const { return m_nFieldType; }

    // ---- focus
    // -----------------------------------------------------------------------------------
    static XUI* GetFocusedObject() { return s_pFocusedObj; }
    // One source of truth for the theme: "ThemeMan"'s current one.
    static XTheme* CurrentTheme();
    // Moves whenever an object may have been hidden, shown, disabled, enabled or told to take
    // the mouse or not: hit test indexes compare it.
    static std::uint64_t HitFlagsVersion() { return s_hitFlagsVersion; }

    // ---- orvo::PaintTarget -------------------------------------------------------------------
    CRect PaintRect() const override;
    int PaintFlags() const override { return static_cast<int>(m_nFlags); }
    int PaintUserState() const override { return m_nUserState; }
    int UpdateHighlightCount() const override { return m_nUpdate; }
    const CUIStyle* PaintStyle() const override { return m_pStyle; }
    bool HasFocus() const override { return s_pFocusedObj == this; }

protected:
    ~XUI() override;
    void Teardown() override;

    // The style's (or the theme default style's) event for the flags and mouse state.
    void ResolvePaintEvent();

    CPoint m_ptPress;   // where the last button press on this object happened
    CPoint m_ptCurrent; // the last cursor position while hovering or dragging

private:
    // Makes this object's data source current for as long as it lives, so that one without
    // its own sees the one its enclosing object made current.
    class DataSourceScope;

    void ReadFlags(XElement* e);
    void ReadImageList(const std::wstring& names);
    // Joins the selector of that name among the elders.
    void JoinSelector(const std::wstring& name);
    // The object the data field is read from at draw time.
    XMetaIOData* DrawSource(int& row) const;
    void ReleaseHotKey();
    // The park takes this object's place and holds it and its descendant windows, hidden.
    void ParkWindows(int create);
    void UnparkWindows();
    // OnAncestorShown for every visual descendant outside inner window hosts.
    void TellDescendantsShown();

    static XUI* s_pFocusedObj;
    static inline std::uint64_t s_hitFlagsVersion = 0;

    std::unique_ptr<CUIStyle> m_ownedStyle; // from a "UIStyle" child element
    int m_bContextMenu = 0;
    CUIStyle* m_pStyle = nullptr;
    CUIEvent* m_pEvent = nullptr;
    std::vector<CResImg*> m_images; // owned by "ResMan"; null where an image was missing
    std::wstring m_strStyle;
    std::unique_ptr<std::wstring> m_pDataLink; // "Data", until creation binds it
    std::wstring m_strField;
    int m_nMouseState = -1;
    unsigned m_nFlags = UI_NOTIFYMOUSE;
    int m_nUserState = 0;
    int m_nUpdate = 0;
    // Data objects may go before the objects that show them (another screen's, a loader's),
    // so both are held weakly.
    orvo::IXORef m_dataSource;
    orvo::IXORef m_inheritedSource;
    int m_nDataRecord = -1; // the row current when the binding was made
    int m_nFieldID = -1;
    int m_nFieldIDType = 0;
    int m_nFieldType = 0;
    PaintEndCallback m_onPaintEnd = nullptr;
    int m_bSaveSelect = 0;
    int m_hHotKey = 0;
    orvo::IXORef m_park; // the hidden XWnd holding this object while it is parked
    std::wstring m_strHotKey;
};

// The object as a visual object, or null when it is none.
inline XUI* AsVisual(XDO* node) {
    return orvo::HasStyle(node, XDO_STYLE_UI) ? orvo::KindOf<XUI>(node) : nullptr;
}
