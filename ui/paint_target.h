#pragma once
// PaintTarget: a visual object as themes see it when they paint it. The visual object base
// implements it; tests and tools paint styles through small implementations of their own.
#include "platform/base/geometry.h"

class CDC;
class CUIEvent;
class CUIPaintText;
class CUIStyle;

namespace orvo {

class PaintTarget {
public:
    // State flag bits the styles look at.
    enum StateBits : int {
        STATE_SELECT = 0x004,
        STATE_CANFOCUS = 0x008,
        STATE_DISABLE = 0x010,
        STATE_USERSTATE = 0x020,
        STATE_ANIMATION = 0x080,
    };

    virtual ~PaintTarget() = default;

    virtual CRect PaintRect() const = 0;
    virtual int PaintFlags() const = 0;
    virtual int PaintUserState() const { return 0; }
    // Above 0 while a fill should show the update colour.
    virtual int UpdateHighlightCount() const { return 0; }
    // Null: the theme's default style.
    virtual const CUIStyle* PaintStyle() const { return nullptr; }
    // The focused object, when it may take the focus, gets the style's focus paint.
    virtual bool HasFocus() const { return false; }
    // What a "Text" primitive without a value draws: the object's own content.
    virtual void DrawContent(CDC*, CRect&, CUIEvent*, CUIPaintText*) {}
};

} // namespace orvo
