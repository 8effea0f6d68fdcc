#include "ui/xrect.h"

#include <utility>
#include <vector>

#include "core/notice_messages.h"
#include "platform/base/format.h"
#include "platform/base/nocase.h"

namespace {

// Coordinates wrap like the 32-bit integers of every other rectangle operation.
int Wrap(long long value) {
    return static_cast<int>(value);
}

std::wstring_view Trim(std::wstring_view text) {
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t'))
        text.remove_suffix(1);
    return text;
}

bool Usable(const orvo::LayoutWindow* window) {
    return window && window->IsWindow();
}

// What a rectangle without an enclosing one resolves against.
CRect DesktopClientRect() {
    orvo::LayoutWindow* desktop = orvo::DesktopWindow();
    return Usable(desktop) ? desktop->GetClientRect() : CRect();
}

CRect ReferenceOf(XRect* parent) {
    return parent ? parent->GetInner().rect : DesktopClientRect();
}

CRect Deflated(CRect rect, const CRect& margins) {
    rect.DeflateRect(margins);
    return rect;
}

} // namespace

ORVO_DISPATCH(XRect,
              XDO,
              ORVO_METHOD(GetAbsRect),
              ORVO_METHOD(GetAbsX),
              ORVO_METHOD(GetAbsY),
              ORVO_METHOD(GetTop),
              ORVO_METHOD(GetLeft),
              ORVO_METHOD(GetWidth),
              ORVO_METHOD(GetHeight),
              ORVO_METHOD(SetTop),
              ORVO_METHOD(SetLeft),
              ORVO_METHOD(SetWidth),
              ORVO_METHOD(SetHeight),
              ORVO_METHOD(RecalcRect))

XRect::XRect() {
    m_nStyle |= XDO_STYLE_RECT;
    m_rect.SetRectInfo(L"0,0,100%,100%");
    m_margin.SetRectInfo(L"0,0,0,0");
}

int XRect::SetElement(XElement* e) {
    if (!XDO::SetElement(e) || !e)
        return 0;
    return SetLayoutElement(e);
}

int XRect::SetLayoutElement(XElement* e) {
    if (const std::wstring* rect = e->FindValue(L"Rect"); rect && !m_rect.SetRectInfo(*rect)) {
        ConfirmMsg(plat::Format(L"Rect=\"%s\": x, y, width and height are needed, as four "
                                L"position expressions separated by commas.",
                                *rect),
                   0,
                   0);
        return 0;
    }
    if (const std::wstring* margin = e->FindValue(L"Margin"))
        m_margin.SetRectInfo(*margin);
    if (const std::wstring* align = e->FindValue(L"Align"))
        Align(*align);
    if (const std::wstring* dock = e->FindValue(L"Dock"))
        Docking(*dock);
    return 1;
}

int XRect::CreateInstance() {
    if (!XDO::CreateInstance())
        return 0;
    if (XRect* enclosing = EnclosingRect())
        m_pWnd = enclosing->m_pWnd;
    Recalc();
    return 1;
}

// ---- layout ------------------------------------------------------------------------------------

int XRect::Recalc(XRect* parent) {
    return RecalcIn(ReferenceOf(parent));
}

int XRect::RecalcIn(const CRect& reference) {
    if (!m_rect.Recalc(reference, CRectEx::MODE_POSITION))
        return 0;
    // Percent margins are of the object's own size. Without margins the object stays where
    // its expressions alone put it until a later pass can align it.
    if (m_margin.Recalc(m_rect.rect, CRectEx::MODE_MARGIN))
        ApplyAlignIn(reference);
    PlaceAt(m_rect.rect);
    if (OwnsWindow()) {
        // The children work in the window's client coordinates; the base rectangle keeps the
        // window's place in its parent.
        const CPoint origin = m_rect.rect.TopLeft();
        m_rect.rect -= origin;
        m_inner.rect -= origin;
    }
    return 1;
}

int XRect::Recalc() {
    return Recalc(EnclosingRect());
}

void XRect::OnSizeChange() {
    Resize(this, child());
}

void XRect::ApplyAlign(XRect* parent) {
    ApplyAlignIn(ReferenceOf(parent));
}

void XRect::ApplyAlignIn(const CRect& r) {
    CRect& rect = m_rect.rect;
    rect.OffsetRect(r.left, r.top);
    const long long w = rect.Width();
    const long long h = rect.Height();
    const long long x = m_rect.point.point.x;
    const long long y = m_rect.point.point.y;
    // Centring wins over offset centring, which wins over the far edge.
    if (m_nAlign & ALIGN_HCENTER)
        rect.MoveToX(Wrap(r.left + (r.Width() - w) / 2));
    else if (m_nAlign & ALIGN_HOCENTER)
        rect.MoveToX(Wrap(r.left + (r.Width() - w) / 2 + x));
    else if (m_nAlign & ALIGN_RIGHT)
        rect.MoveToX(Wrap(r.right - x - w));
    if (m_nAlign & ALIGN_VCENTER)
        rect.MoveToY(Wrap(r.top + (r.Height() - h) / 2));
    else if (m_nAlign & ALIGN_VOCENTER)
        rect.MoveToY(Wrap(r.top + (r.Height() - h) / 2 + y));
    else if (m_nAlign & ALIGN_BOTTOM)
        rect.MoveToY(Wrap(r.bottom - y - h));
    m_inner.rect = Deflated(rect, m_margin.rect);
}

void XRect::Resize(XRect* parent, XDO* first) {
    // One entry per sibling chain still to walk, so deep trees do not nest calls.
    std::vector<std::pair<XRect*, XDO*>> chains{{parent, first}};
    while (!chains.empty()) {
        auto [reference, node] = chains.back();
        chains.pop_back();
        for (; node; node = node->next()) {
            auto* rect = orvo::HasStyle(node, XDO_STYLE_RECT) ? orvo::KindOf<XRect>(node) : nullptr;
            if (!rect) {
                // Not a rectangle: its children belong to the same reference.
                if (node->child())
                    chains.emplace_back(reference, node->child());
                continue;
            }
            rect->Recalc(reference);
            if (rect->OwnsWindow()) {
                // The window's own size handling lays out what it holds.
                if (orvo::LayoutWindow* own = rect->GetOwnWindow(); Usable(own))
                    own->SetWindowPos(*rect, orvo::kSwpNoZOrder | orvo::kSwpNoActivate);
                continue;
            }
            if (rect->child())
                chains.emplace_back(rect, rect->child());
        }
    }
}

// ---- windows -----------------------------------------------------------------------------------

int XRect::SetWindow(orvo::LayoutWindow* window) {
    if (!Usable(window))
        return 0;
    const CRect client = window->GetClientRect();
    m_rect.rect = client;
    PlaceAt(client);
    m_inner.rect =
        m_margin.Recalc(client, CRectEx::MODE_MARGIN) ? Deflated(client, m_margin.rect) : client;
    m_pWnd = window;
    return 1;
}

void XRect::PlaceAt(const CRect& rect) {
    // Theme primitives lay out at every paint; only visual objects are hit tested.
    if (rect != static_cast<const CRect&>(*this) && orvo::HasStyle(this, XDO_STYLE_UI))
        ++s_layoutVersion;
    CopyRect(rect);
}

bool XRect::GetScreenRect(CRect& out) {
    if (OwnsWindow()) {
        orvo::LayoutWindow* own = GetOwnWindow();
        if (!Usable(own))
            return false;
        out = own->GetWindowRect();
        return true;
    }
    orvo::LayoutWindow* host = NearestHostWindow();
    if (!host)
        return false;
    out = *this;
    out.OffsetRect(host->ClientOrigin());
    return true;
}

// ---- descriptions ------------------------------------------------------------------------------

void XRect::Align(std::wstring_view text) {
    static constexpr std::pair<std::wstring_view, int> kKeywords[] = {
        {L"Left", ALIGN_LEFT},
        {L"Right", ALIGN_RIGHT},
        {L"Top", ALIGN_TOP},
        {L"Bottom", ALIGN_BOTTOM},
        {L"HCenter", ALIGN_HCENTER},
        {L"HOcenter", ALIGN_HOCENTER},
        {L"VCenter", ALIGN_VCENTER},
        {L"VOCenter", ALIGN_VOCENTER},
        {L"Center", ALIGN_CENTER},
        {L"OCenter", ALIGN_OCENTER},
    };
    int bits = 0;
    for (std::size_t from = 0;;) {
        const std::size_t comma = text.find(L',', from);
        const std::wstring_view token =
            Trim(text.substr(from, comma == std::wstring_view::npos ? comma : comma - from));
        for (const auto& [keyword, bit] : kKeywords)
            if (plat::EqualsNoCase(token, keyword))
                bits |= bit;
        if (comma == std::wstring_view::npos)
            break;
        from = comma + 1;
    }
    m_nAlign = bits;
}

void XRect::Docking(std::wstring_view text) {
    static constexpr std::pair<std::wstring_view, int> kKeywords[] = {
        {L"Top", DOCK_TOP}, {L"Left", DOCK_LEFT}, {L"Right", DOCK_RIGHT}, {L"Bottom", DOCK_BOTTOM}};
    for (const auto& [keyword, dock] : kKeywords)
        if (plat::EqualsNoCase(Trim(text), keyword))
            m_nDock = dock;
}

// ---- script interface --------------------------------------------------------------------------

std::wstring XRect::GetAbsRect() {
    if (!Usable(m_pWnd))
        return {};
    CRect abs = *this;
    abs.OffsetRect(m_pWnd->ClientOrigin());
    return plat::Format(L"%d,%d,%d,%d", abs.left, abs.top, abs.right, abs.bottom);
}

int XRect::GetAbsX() {
    return Usable(m_pWnd) ? Wrap(static_cast<long long>(left) + m_pWnd->ClientOrigin().x) : left;
}

int XRect::GetAbsY() {
    return Usable(m_pWnd) ? Wrap(static_cast<long long>(top) + m_pWnd->ClientOrigin().y) : top;
}

void XRect::PlaceByPixels(const CRect& rect) {
    m_rect.point.x.SetPos(rect.left, CPosEx::SCALE_PX, rect.left);
    m_rect.point.y.SetPos(rect.top, CPosEx::SCALE_PX, rect.top);
    m_rect.size.width.SetPos(rect.Width(), CPosEx::SCALE_PX, rect.Width());
    m_rect.size.height.SetPos(rect.Height(), CPosEx::SCALE_PX, rect.Height());
}

void XRect::RecalcRect() {
    if (Recalc())
        OnSizeChange();
}

bool XRect::SetExpression(bool (CRectEx::*set)(std::wstring_view), const wchar_t* expression) {
    if (!expression || !(m_rect.*set)(expression))
        return false;
    Recalc();
    OnSizeChange();
    return true;
}

XRect* XRect::EnclosingRect() const {
    for (XDO* up = parent(); up; up = up->parent())
        if (orvo::HasStyle(up, XDO_STYLE_RECT))
            if (auto* rect = orvo::KindOf<XRect>(up))
                return rect;
    return nullptr;
}

orvo::LayoutWindow* XRect::NearestHostWindow() const {
    for (const XDO* up = this; up; up = up->parent())
        if (auto* rect = dynamic_cast<const XRect*>(up); rect && Usable(rect->m_pWnd))
            return rect->m_pWnd;
    return nullptr;
}
