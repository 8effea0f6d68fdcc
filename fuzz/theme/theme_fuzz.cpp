// Theme markup bytes to a theme, then every draw event of every style drawn into a small
// memory DC: over an ordinary rectangle, an inverted one and one spanning the whole int range,
// and through the theme's own choice for a few states. Nothing may crash or hang.
#include <QGuiApplication>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "core/element.h"
#include "core/xml_parser.h"
#include "platform/gui/dc.h"
#include "ui/paint_target.h"
#include "ui/ui_paint_text.h"
#include "ui/ui_style.h"
#include "ui/xtheme.h"

namespace {

struct FuzzObject : orvo::PaintTarget {
    CRect rect;
    int flags = 0;
    int userState = 0;

    CRect PaintRect() const override { return rect; }
    int PaintFlags() const override { return flags; }
    int PaintUserState() const override { return userState; }
    int UpdateHighlightCount() const override { return 1; }
    bool HasFocus() const override { return true; }
    void DrawContent(CDC* dc, CRect& area, CUIEvent* event, CUIPaintText* text) override {
        text->DrawTextW(dc, area, L"1,234 굴림", DT_RIGHT | DT_SINGLELINE, event);
    }
};

void EnsureApplication() {
    static std::unique_ptr<QGuiApplication> application = [] {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "theme_fuzz";
        static char* argv[] = {name, nullptr};
        return std::make_unique<QGuiApplication>(argc, argv);
    }();
}

const CRect kRects[] = {
    CRect(2, 3, 60, 40),
    CRect(50, 40, 5, 2),
    CRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX),
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EnsureApplication();
    XMLParser parser;
    XElement* parsed = nullptr;
    if (!parser.ParseMemory(std::string_view(reinterpret_cast<const char*>(data), size), &parsed) ||
        !parsed)
        return 0;
    const std::unique_ptr<XElement> root(parsed);
    XTheme theme;
    theme.SetElement(root.get());

    CBitmap bitmap;
    bitmap.CreateBitmap(64, 48);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&bitmap);
    FuzzObject object;
    for (CUIStyle* style : theme.GetStyles()) {
        for (std::size_t i = 0; i < style->EventCount(); ++i) {
            for (const CRect& rect : kRects) {
                object.rect = rect;
                style->EventAt(i)->Draw(&dc, rect, &object);
            }
        }
        object.rect = kRects[0];
        const int states[][2] = {{0, 0}, {4, 0}, {20, 0}, {0x20 | 8, 1}};
        for (const auto& [flags, userState] : states) {
            object.flags = flags;
            object.userState = userState;
            for (int mouse : {-1, 1, 4})
                style->Draw(&dc, &object, style->GetUIEvent(flags, mouse, &object));
        }
    }
    return 0;
}
