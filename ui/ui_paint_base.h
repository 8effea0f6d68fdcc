#pragma once
// CUIPaintBase: an ordered list of paint primitives. Every primitive is one too, so each
// holds the primitives written inside it and draws them after (or around) its own drawing.
// CUIPaint is a named paint of a theme.
#include <memory>
#include <vector>

#include "platform/base/geometry.h"

class CDC;
class CUIEvent;
class XElement;
class XTheme;

namespace orvo {
class PaintTarget;
}

class CUIPaintBase {
public:
    CUIPaintBase() = default;
    virtual ~CUIPaintBase();
    CUIPaintBase(const CUIPaintBase&) = delete;
    CUIPaintBase& operator=(const CUIPaintBase&) = delete;

    // A primitive reads its own attributes here; 0 refuses the element.
    virtual int SetAttribute(XTheme* theme, XElement* element);
    // Child elements named "<anything>.<method>" arrive here with the method name.
    virtual int SetMethod(const wchar_t* name, XTheme* theme, XElement* element);
    // Draws every primitive of the list in order; `rect` may be changed by them (a border
    // that adjusts shrinks it for what follows).
    virtual void Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event);

    // Builds primitives from `first` and its following siblings. Unknown tags are skipped; a
    // primitive that refuses its element fails the whole build (0).
    int SetElement(XTheme* theme, XElement* first);
    bool IsEmpty() const { return m_items.empty(); }
    void Clear() { m_items.clear(); }

private:
    std::vector<std::unique_ptr<CUIPaintBase>> m_items;
};

class CUIPaint {
public:
    int SetElement(XTheme* theme, XElement* firstChild) {
        return m_paint.SetElement(theme, firstChild);
    }
    // Paints drawing paints drawing paints could multiply without end: one outermost paint
    // draws at most kNestedDrawLimit named paints inside it, the rest are left out.
    void Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event);
    static constexpr int kNestedDrawLimit = 10000;

private:
    CUIPaintBase m_paint;
};

// The primitive for a tag, or null for a tag that names none.
std::unique_ptr<CUIPaintBase> CreatePaintPrimitive(const std::wstring& tag);
