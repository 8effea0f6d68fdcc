// Feeds arbitrary text to the layout: as position expressions, as the "Rect", "Margin",
// "Align" and "Dock" of a rectangle inside another, through the script setters, and against
// references from empty to the whole 32-bit range. Besides crashes it checks that an
// expression that cannot be read changes nothing.
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "core/element.h"
#include "core/notice_man.h"
#include "fuzz_support.h"
#include "object_fuzz_support.h"
#include "ui/rect_ex.h"
#include "ui/xrect.h"

namespace {

using orvo::fuzz::Check;

class FixedWindow : public orvo::LayoutWindow {
public:
    explicit FixedWindow(CRect client) : m_client(client) {}
    bool IsWindow() const override { return true; }
    CRect GetClientRect() const override { return m_client; }
    CPoint ClientOrigin() const override { return {INT_MAX - 5, INT_MIN + 5}; }
    CRect GetWindowRect() const override { return m_client; }
    void SetWindowPos(const CRect&, unsigned) override {}

private:
    CRect m_client;
};

const CRect kReferences[] = {
    CRect(),
    CRect(0, 0, 1920, 1080),
    CRect(-50, -50, -400, -300),
    CRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX),
    CRect(INT_MAX, INT_MAX, INT_MIN, INT_MIN),
};

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines(1);
    for (wchar_t c : text) {
        if (c == L'\n')
            lines.emplace_back();
        else
            lines.back().push_back(c);
    }
    return lines;
}

void Expressions(const std::wstring& text) {
    CPosEx pos;
    pos.SetPos(L"17%^4^1");
    const bool read = pos.SetPos(text);
    if (!read)
        Check(pos.GetScale() == CPosEx::SCALE_PERCENT && pos.GetValue() == 17.0 &&
              pos.GetDivisor() == 4 && pos.GetAddend() == 1);
    for (const CRect& reference : kReferences)
        for (int own : {0, INT_MIN, INT_MAX})
            Check(pos.Recalc(reference, CPosEx::Axis::Horizontal, own) &&
                  pos.Recalc(reference, CPosEx::Axis::Vertical, own));

    CRectEx rect;
    const bool four = rect.SetRectInfo(text);
    for (const CRect& reference : kReferences)
        for (auto mode : {CRectEx::MODE_MARGIN, CRectEx::MODE_POSITION})
            Check(!four || rect.Recalc(reference, mode));
}

void Rectangles(const std::vector<std::wstring>& lines) {
    static orvo::fuzz::SilentPresenter silent;
    XNoticeMan::Instance().SetPresenter(&silent);
    XElement e(L"box");
    const wchar_t* keys[] = {L"Rect", L"Margin", L"Align", L"Dock"};
    for (std::size_t i = 0; i < lines.size() && i < 4; ++i)
        e.SetValue(keys[i], lines[i]);

    for (const CRect& client : kReferences) {
        FixedWindow window(client);
        orvo::XDOPtr owner(new XRect());
        auto* outer = static_cast<XRect*>(owner.get());
        outer->SetElement(&e);
        outer->SetWindow(&window);
        auto* inner = new XRect();
        outer->AddChild(inner);
        inner->SetElement(&e);
        inner->CreateInstance();
        inner->AddChild(new XRect());
        outer->OnSizeChange();
        const std::wstring& expression = lines.size() > 4 ? lines[4] : lines[0];
        inner->SetLeft(expression.c_str());
        inner->SetTop(expression.c_str());
        inner->SetWidth(expression.c_str());
        inner->SetHeight(expression.c_str());
        inner->RecalcRect();
        (void)inner->GetAbsRect();
        (void)inner->GetAbsX();
        CRect screen;
        (void)inner->GetScreenRect(screen);
    }
    XNoticeMan::Instance().SetPresenter(nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = orvo::fuzz::Widen(data, size);
    Expressions(text);
    const std::vector<std::wstring> lines = Lines(text);
    for (const std::wstring& line : lines)
        Expressions(line);
    Rectangles(lines);
    return 0;
}
