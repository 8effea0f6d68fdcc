#include "theme_markup.h"

#include "ui/ui_paint_text.h"

namespace orvo::test {

void TestObject::DrawContent(CDC* dc, CRect& area, CUIEvent* event, CUIPaintText* text) {
    text->DrawTextW(dc, area, content, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX, event);
}

} // namespace orvo::test
