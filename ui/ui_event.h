#pragma once
// CUIEvent: one "DrawEvent" of a style: the mouse code, state bits and user state it answers,
// its colour and image lists, an optional "OnPaint" handler in a user library, and its
// primitives.
#include <string>
#include <vector>

#include "platform/base/colorref.h"
#include "platform/base/module.h"
#include "ui/ui_paint_base.h"

class CResImg;

class CUIEvent {
public:
    // Mouse codes of "Trigger".
    enum Trigger : int { TRIGGER_NONE = -1, TRIGGER_OVER = 1, TRIGGER_CLICK = 4 };
    // What an "OnPaint" function is called as, before the primitives draw.
    using Handler = void (*)(CDC* dc, orvo::PaintTarget* object);

    // "Trigger", "State", "OnPaint", "Color", "Image"; the children become the primitives, or none
    // when one of them refuses its element.
    int SetElement(XTheme* theme, XElement* element);

    // Draws over a copy of the object's rectangle: the handler first, then the primitives.
    void Draw(CDC* dc, orvo::PaintTarget* object);
    void Draw(CDC* dc, CRect rect, orvo::PaintTarget* object);
    // Loads the handler's library and function on first use; a missing one makes no call.
    void DrawHandler(CDC* dc, orvo::PaintTarget* object);

    // 0 for an index outside the colour list.
    int GetColor(int index, COLORREF& colour) const;
    int SetColor(int index, COLORREF colour);
    // 0 for an index outside the image list; an entry may hold null.
    int GetImg(int index, CResImg*& image) const;
    int SetImg(int index, CResImg* image);
    // An object's own images over the first entries, no more than the list holds.
    void SetImgArray(const std::vector<CResImg*>& images);

    int GetTrigger() const { return m_trigger; }
    int GetState() const { return m_state; }
    int GetUserState() const { return m_userState; }
    bool HasPrimitives() const { return !m_primitives.IsEmpty(); }

private:
    void ReadState(const std::wstring& text);
    void ReadColors(XTheme* theme, const std::wstring& text);
    // Each name through "ResMan"; one that finds no image keeps its place as null, so the
    // others keep the indexes they are written at.
    void ReadImages(const std::wstring& text);

    int m_trigger = TRIGGER_NONE;
    int m_state = -1;
    int m_userState = 0;
    CUIPaintBase m_primitives;
    bool m_hasHandler = false;
    std::wstring m_handlerText;
    bool m_handlerTried = false;
    plat::Module m_handlerModule;
    Handler m_handler = nullptr;
    std::vector<COLORREF> m_colours;
    std::vector<CResImg*> m_images; // owned by "ResMan"
};
