// Image bytes decoded by CDib and, when they decode, drawn into a small memory DC at their own
// size, stretched over ordinary, inverted and whole-range rectangles, and with a colour left
// out. Nothing may crash, hang or allocate without bound.
#include <climits>
#include <cstdint>

#include "fuzz_support.h"
#include "offscreen_app.h"
#include "platform/gui/dc.h"
#include "platform/gui/dib.h"

namespace {

const CRect kRects[] = {
    CRect(2, 3, 60, 40),
    CRect(50, 40, 5, 2),
    CRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX),
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orvo::fuzz::EnsureOffscreenApplication();
    CDib dib;
    if (!dib.LoadFromMemory(data, size))
        return 0;
    const CSize imageSize = dib.GetSize();
    orvo::fuzz::Check(imageSize.cx > 0 && imageSize.cy > 0);
    CBitmap bitmap;
    bitmap.CreateBitmap(64, 48);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&bitmap);
    for (bool transparent : {false, true}) {
        dib.SetTransparent(transparent);
        dib.SetTransColor(dib.GetPixel(0, 0));
        dib.Draw(&dc, CPoint(-1, 2));
        for (const CRect& rect : kRects)
            dib.Draw(&dc, rect);
    }
    return 0;
}
