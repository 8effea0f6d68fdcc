#include "ui/xwindow_handler.h"

#include "nubra/trim_blanks.h"
#include "platform/base/text.h"
#include "ui/layout_window.h"
#include "ui/xwindow.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XWindowHandler>();

} // namespace

int XWindowHandler::SetElement(XElement* e) {
    if (!XUI::SetElement(e) || !e)
        return 0;
    if (const std::wstring* window = e->FindValue(L"Window")) {
        const std::size_t comma = window->find(L',');
        if (comma != std::wstring::npos) {
            m_module = orvo::TrimBlanks(std::wstring_view(*window).substr(0, comma));
            m_function = orvo::TrimBlanks(std::wstring_view(*window).substr(comma + 1));
        }
    }
    return 1;
}

int XWindowHandler::CreateInstance() {
    if (!XUI::CreateInstance())
        return 0;
    m_created = true;
    MakeWindow();
    return 1;
}

void XWindowHandler::AttachMaker(std::shared_ptr<WindowMaker> maker) {
    m_maker = std::move(maker);
    if (m_created && !m_window.Get())
        MakeWindow();
}

plat::Window* XWindowHandler::HostWindow() const {
    auto* host =
        dynamic_cast<XWindow*>(parent() ? parent()->GetXDO(XDO_STYLE_WINDOWHOST, 0) : nullptr);
    return host ? host->GetNativeWindow() : nullptr;
}

void XWindowHandler::MakeWindow() {
    plat::Window* host = HostWindow();
    if (!host)
        return;
    plat::Window* made = nullptr;
    if (!m_module.empty() && !m_function.empty()) {
        if (!m_library)
            m_library = plat::Module::Open(m_module);
        auto make = m_library ? reinterpret_cast<MakeWindowFunction>(
                                    m_library.Symbol(plat::ToUtf8(m_function).c_str()))
                              : nullptr;
        if (make)
            made = make(this, host, GetParameter().c_str());
    } else if (m_maker) {
        made = m_maker->MakeWindow(*this, *host);
    }
    if (!made)
        return;
    m_window = made->Ref();
    Recalc();
}

int XWindowHandler::Recalc(XRect* parent) {
    if (!XUI::Recalc(parent))
        return 0;
    PlaceWindow();
    return 1;
}

void XWindowHandler::PlaceWindow() {
    if (plat::Window* window = m_window.Get())
        window->Move(GetInner().rect);
}
