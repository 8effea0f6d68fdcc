#pragma once
// XTheme: one theme file in memory: its named colours, named paints and the style of each
// kind of control, the style named "default" serving objects without one of their own.
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "nubra/ixo.h"
#include "platform/base/colorref.h"
#include "ui/ui_paint_base.h"
#include "ui/ui_style.h"

class XTheme : public IXO {
    ORVO_DISPATCH_MAP()

public:
    XTheme();
    ~XTheme() override;
    ORVO_KEY(L"Theme")

    // Reads "ColorDef", "UIPaint" and "UIStyle" from `element`, its children and its following
    // siblings, in document order.
    int SetElement(XElement* element);

    // Without case; null when absent.
    CUIStyle* GetUIStyle(std::wstring_view control) const;
    CUIPaint* GetUIPaint(std::wstring_view name) const;
    CUIStyle* GetDefaultStyle() const { return m_default; }
    // Every style built, in document order, also those a later one of the same name hides.
    std::vector<CUIStyle*> GetStyles() const;
    // A theme colour, else a name of the "Color" service, else a colour text.
    int GetColor(const wchar_t* name, COLORREF* colour) const;
    // The colour under `key` of `element`: 1 when absent (`colour` unchanged) or resolved, 0
    // for a colour that does not resolve.
    int ReadColor(XElement* element, const wchar_t* key, COLORREF& colour) const;
    // The event of the object's style (or the default one) for its state and `mouse`.
    CUIEvent* GetUIEvent(orvo::PaintTarget* object, int mouse) const;
    // The object's style, else the default style, draws `event` or its first event.
    void Draw(CDC* dc, orvo::PaintTarget* object, CUIEvent* event) const;

private:
    void ReadColorDef(XElement* element);
    void ReadUIPaint(XElement* element);
    void ReadUIStyle(XElement* element);

    CUIStyle* m_default = nullptr;
    std::unordered_map<std::wstring, COLORREF> m_colours;
    std::unordered_map<std::wstring, CUIStyle*> m_styles;
    std::unordered_map<std::wstring, CUIPaint*> m_paints;
    // Everything ever built stays until the theme goes: a paint redefined under the same
    // name may still be drawn by primitives that resolved the earlier one.
    std::vector<std::unique_ptr<CUIStyle>> m_ownedStyles;
    std::vector<std::unique_ptr<CUIPaint>> m_ownedPaints;
};
