#pragma once
// Themes for tests, built from markup text, an object to paint with them and a canvas to
// paint on.
#include <memory>
#include <string>

#include "core/element.h"
#include "core/xml_parser.h"
#include "platform/gui/dc.h"
#include "ui/paint_target.h"
#include "ui/xtheme.h"

namespace orvo::test {

// The root element of `markup`; null when it does not parse.
inline std::unique_ptr<XElement> ParseMarkup(const std::string& markup) {
    XMLParser parser;
    XElement* root = nullptr;
    if (!parser.ParseMemory(markup, &root))
        return nullptr;
    return std::unique_ptr<XElement>(root);
}

// A theme from the body of a "Theme" element.
inline std::unique_ptr<XTheme> ThemeFrom(const std::string& body) {
    auto root = ParseMarkup("<Theme>" + body + "</Theme>");
    auto theme = std::make_unique<XTheme>();
    if (root)
        theme->SetElement(root->GetFirstChild());
    return theme;
}

struct TestObject : PaintTarget {
    CRect rect{0, 0, 40, 20};
    int flags = 0;
    int userState = 0;
    int updates = 0;
    bool focused = false;
    const CUIStyle* style = nullptr;
    std::wstring content;

    CRect PaintRect() const override { return rect; }
    int PaintFlags() const override { return flags; }
    int PaintUserState() const override { return userState; }
    int UpdateHighlightCount() const override { return updates; }
    const CUIStyle* PaintStyle() const override { return style; }
    bool HasFocus() const override { return focused; }
    void DrawContent(CDC* dc, CRect& area, CUIEvent* event, CUIPaintText* text) override;
};

// A white memory DC. Movable, so drawings can be returned: the DC keeps the bitmap's address.
struct Canvas {
    std::unique_ptr<CBitmap> bitmap = std::make_unique<CBitmap>();
    std::unique_ptr<CDC> dc = std::make_unique<CDC>();

    explicit Canvas(int width = 60, int height = 40) {
        bitmap->CreateBitmap(width, height);
        dc->CreateCompatibleDC(nullptr);
        dc->SelectObject(bitmap.get());
        dc->FillSolidRect(0, 0, width, height, RGB(255, 255, 255));
    }
    COLORREF At(int x, int y) const { return dc->GetPixel(x, y); }
};

} // namespace orvo::test
