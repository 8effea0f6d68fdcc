// PriceLadder.dll: a "Class" implementation that shows the order book of the quote record it
// is attached to as a price ladder, in a window of its own.
//
//   <Class Name="ladder" Instance="PriceLadder.dll,CreatePriceLadder" DataSource="book"
//          Param="levels=5" Rect="..."/>
//
// "levels" (1 to 10, default 5) is how many levels each side shows. The ladder listens to its
// record and repaints whenever the record tells of a change. Scripts ask it for the best
// prices: ladder.RunMethod("Best", "") answers "71,600/71,500".
#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "core/element.h"
#include "data/meta_io_data.h"
#include "ladder_book.h"
#include "ladder_painter.h"
#include "platform/gui/window.h"
#include "ui/class_interface.h"

namespace {

constexpr int kDefaultLevels = 5;
constexpr int kMostLevels = 10;

class PriceLadder : public CClassInterface, public plat::WindowHandler {
public:
    PriceLadder(XDO* owner, const wchar_t* param) : CClassInterface(owner) {
        XElement items(L"Param");
        items.MakeValue(param ? param : L"");
        int levels = kDefaultLevels;
        items.GetValue(L"levels", levels);
        m_levels = std::clamp(levels, 1, kMostLevels);
    }

    int HasUI() const override { return 1; }

    plat::Window* CreateUI(plat::Window* parent) override {
        if (!parent)
            return nullptr;
        m_window = std::make_unique<plat::Window>(plat::WindowKind::Child, parent);
        m_window->SetHandler(this);
        m_window->Show();
        return m_window.get();
    }

    void SetDataSource(XMetaIOData* source) override {
        // The owner hears the record's changes and passes them on here.
        if (source)
            source->AddListener(m_pOwner);
        Repaint();
    }

    void OnNotifierChanged(XDO*, int, int, int) override { Repaint(); }

    // "Best": the best ask and the best bid as the ladder shows them, "ask/bid"; empty
    // without a book.
    std::wstring RunMethod(const wchar_t* name, XElement*) override {
        if (std::wstring_view(name) != L"Best")
            return {};
        const ladder::Book book = ladder::ReadBook(AsMetaIOData(m_pOwner), 1);
        if (book.levels.empty())
            return {};
        return ladder::Grouped(book.levels[0].askPrice) + L"/" +
               ladder::Grouped(book.levels[0].bidPrice);
    }

    bool OnPaint(plat::Window& window, CDC& dc, const CRect&) override {
        // Read through the owner, which stands for the record and lets go of it when it goes.
        const ladder::Book book = ladder::ReadBook(AsMetaIOData(m_pOwner), m_levels);
        ladder::PaintLadder(dc, window.GetClientRect(), book, m_levels);
        return true;
    }

private:
    void Repaint() {
        if (m_window)
            m_window->Invalidate();
    }

    int m_levels = kDefaultLevels;
    std::unique_ptr<plat::Window> m_window;
};

} // namespace

extern "C" __attribute__((visibility("default"))) CClassInterface*
CreatePriceLadder(XDO* owner, const wchar_t* param) {
    return new PriceLadder(owner, param);
}
