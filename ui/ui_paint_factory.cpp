// The primitive each tag of a theme makes.

#include "platform/base/nocase.h"
#include "ui/ui_paint_base.h"
#include "ui/ui_paint_border.h"
#include "ui/ui_paint_fill.h"
#include "ui/ui_paint_gradient.h"
#include "ui/ui_paint_image.h"
#include "ui/ui_paint_set_rect.h"
#include "ui/ui_paint_shapes.h"
#include "ui/ui_paint_text.h"
#include "ui/ui_paint_tools.h"

namespace {

template <class T> std::unique_ptr<CUIPaintBase> Make() {
    return std::make_unique<T>();
}

struct PrimitiveTag {
    const wchar_t* tag;
    std::unique_ptr<CUIPaintBase> (*make)();
};

constexpr PrimitiveTag kPrimitives[] = {
    {L"AlphaBlend", Make<CUIPaintAlphaBlend>},
    {L"Brush", Make<CUIPaintBrush>},
    {L"Pen", Make<CUIPaintPen>},
    {L"Rectangle", Make<CUIPaintRectangle>},
    {L"SetRect", Make<CUIPaintSetRect>},
    {L"Gradient", Make<CUIPaintGradient>},
    {L"MoveTo", Make<CUIPaintMoveTo>},
    {L"LineTo", Make<CUIPaintLineTo>},
    {L"Pixel", Make<CUIPaintPixel>},
    {L"TransForm", Make<CUIPaintTransForm>},
    {L"PolyDraw", Make<CUIPaintPolyDraw>},
    {L"Fill", Make<CUIPaintFill>},
    {L"Border", Make<CUIPaintBorder>},
    {L"BorderEx", Make<CUIPaintBorderEx>},
    {L"Draw", Make<CUIPaintDraw>},
    {L"Paint", Make<CUIPaintDraw>},
    {L"Image", Make<CUIPaintImage>},
    {L"Text", Make<CUIPaintText>},
};

} // namespace

std::unique_ptr<CUIPaintBase> CreatePaintPrimitive(const std::wstring& tag) {
    for (const PrimitiveTag& entry : kPrimitives) {
        if (plat::EqualsNoCase(tag, entry.tag))
            return entry.make();
    }
    return nullptr;
}
