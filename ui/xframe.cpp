// The frame: its element, its placement and its script methods.
#include "ui/xframe.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cwchar>

#include "core/element.h"
#include "core/scr_man.h"
#include "platform/base/format.h"
#include "platform/base/key_state.h"
#include "platform/base/nocase.h"
#include "platform/gui/image_output.h"
#include "ui/contracts.h"
#include "ui/frame_caption.h"
#include "ui/key_names.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XFrame>();

// Exactly N integers separated by ",", spaces allowed around each.
template <std::size_t N> bool ParseInts(const std::wstring& text, std::array<int, N>& out) {
    const wchar_t* p = text.c_str();
    for (std::size_t i = 0; i < N; ++i) {
        wchar_t* end = nullptr;
        errno = 0;
        const long value = std::wcstol(p, &end, 10);
        if (end == p || errno != 0 || value < INT_MIN || value > INT_MAX)
            return false;
        out[i] = static_cast<int>(value);
        p = end;
        while (*p == L' ')
            ++p;
        if (i + 1 < N) {
            if (*p != L',')
                return false;
            ++p;
        }
    }
    return *p == L'\0';
}

std::wstring FormatRect(const std::array<int, 4>& r) {
    return plat::Format(L"%d,%d,%d,%d", r[0], r[1], r[2], r[3]);
}

// "Width" over 0 and "Height" of 1 or more replace the size in "Rect".
void ApplySizeOverride(XElement* e) {
    int width = 0, height = 0;
    e->GetValue(L"Width", width);
    e->GetValue(L"Height", height);
    std::wstring text;
    std::array<int, 4> rect{};
    if ((width <= 0 && height < 1) || !e->GetValue(L"Rect", text) || !ParseInts(text, rect))
        return;
    if (width > 0)
        rect[2] = width;
    if (height >= 1)
        rect[3] = height;
    e->SetValue(L"Rect", FormatRect(rect));
}

// Places the frame beside "RefRect" (l, t, r, b on the screen): below it unless "RefAlign"
// says "LEFT", "RIGHT" or "TOP". Only the size of "Rect" is kept.
void ApplyReferencePlacement(XElement* e) {
    std::wstring refText, rectText;
    std::array<int, 4> ref{}, rect{};
    if (!e->GetValue(L"RefRect", refText) || !ParseInts(refText, ref) ||
        !e->GetValue(L"Rect", rectText) || !ParseInts(rectText, rect))
        return;
    const int w = rect[2], h = rect[3];
    std::wstring align;
    e->GetValue(L"RefAlign", align);
    std::array<int, 4> placed{ref[0], ref[3], w, h};
    if (plat::EqualsNoCase(align, L"LEFT"))
        placed = {ref[0] - w, ref[1], w, h};
    else if (plat::EqualsNoCase(align, L"RIGHT"))
        placed = {ref[2], ref[1], w, h};
    else if (plat::EqualsNoCase(align, L"TOP"))
        placed = {ref[0], ref[1] - h, w, h};
    e->SetValue(L"Rect", FormatRect(placed));
}

// A track size "width,height": set when both numbers pass `accept`.
template <class Accept>
void ReadTrackSize(XElement* e, const wchar_t* key, CSize& out, Accept accept) {
    std::wstring text;
    std::array<int, 2> size{};
    if (e->GetValue(key, text) && ParseInts(text, size) && accept(size[0]) && accept(size[1]))
        out = CSize(size[0], size[1]);
}

// "MenuMan" "RunByMenuID"; 0 without the service.
int RunByMenuID(const wchar_t* menu, const std::wstring& id, const wchar_t* options) {
    static orvo::ContractCall<orvo::contract::MenuManRunByMenuID> s_run;
    auto run = s_run.Get();
    return run ? run(menu, id.c_str(), options) : 0;
}

} // namespace

ORVO_DISPATCH(XFrame,
              XWindow,
              ORVO_METHOD(Activate),
              ORVO_PROVIDE(orvo::contract::FrameCopyFrame, CopyFrame),
              ORVO_METHOD(CloseFrame),
              ORVO_METHOD(ForceCloseFrame),
              ORVO_METHOD(ClosePopup),
              ORVO_METHOD(IsSysFrame),
              ORVO_METHOD(IsSysSize),
              ORVO_METHOD(IsKeyDown),
              ORVO_METHOD(IsKeyToggle),
              ORVO_PROVIDE(orvo::contract::FrameHasContextMenu, HasContextMenuVB),
              ORVO_PROVIDE(orvo::contract::FrameOpenLinkEditDlg, OpenLinkEditDlg),
              ORVO_PROVIDE(orvo::contract::FrameSaveOrPrintScrImg, SaveOrPrintScrImg),
              ORVO_PROVIDE(orvo::contract::FrameGetFrameID, GetFrameID),
              ORVO_METHOD(CancelCloseFrame),
              ORVO_METHOD(ConfirmCloseFrame))

XFrame::XFrame() {
    m_nStyle |= XDO_STYLE_FRAME;
}

XFrame::~XFrame() {
    m_caption.reset();
    // The frame's own window goes with the window host; the caption window around it after.
}

int XFrame::FrameStyleOf(const std::wstring& keyword) {
    struct Named {
        const wchar_t* name;
        int style;
    };
    static constexpr std::array kStyles{Named{L"MDIMain", FRAME_MAIN},
                                        Named{L"MDI", FRAME_MAIN},
                                        Named{L"MDIChild", FRAME_CHILD},
                                        Named{L"PopupFrame", FRAME_POPUPFRAME},
                                        Named{L"Popup", FRAME_POPUP},
                                        Named{L"Dialog", FRAME_DIALOG}};
    for (const Named& named : kStyles) {
        if (plat::EqualsNoCase(keyword, named.name))
            return named.style;
    }
    return FRAME_NONE;
}

int XFrame::SetElement(XElement* e) {
    if (!e)
        return 0;
    e->GetBool(L"InitActivate", m_bInitActivate);
    ApplySizeOverride(e);
    ApplyReferencePlacement(e);
    if (!XWindow::SetElement(e))
        return 0;
    ReadTrackSize(e, L"MinTrackSize", m_minTrack, [](int n) { return n >= 0; });
    ReadTrackSize(e, L"MaxTrackSize", m_maxTrack, [](int n) { return n > 0; });
    e->GetBool(L"SysFrame", m_bSysFrame);
    e->GetBool(L"ContextMenu", m_bContextMenuOption);
    std::wstring style;
    if (e->GetValue(L"FrameStyle", style))
        m_nFrameStyle = FrameStyleOf(style);
    XScrMan& scrMan = XScrMan::Instance();
    bool sdi = false;
    if (m_nFrameStyle == FRAME_MAIN && e->GetBool(L"RunAsSDI", sdi) && sdi)
        scrMan.SetMDI(0);
    if (m_nFrameStyle == FRAME_CHILD && !scrMan.GetMDI())
        m_nFrameStyle = FRAME_POPUPFRAME;
    return 1;
}

int XFrame::SetMethod(const wchar_t* name, XElement* e) {
    int handled = XWindow::SetMethod(name, e);
    if (e && name && plat::EqualsNoCase(name, L"Caption")) {
        m_caption.reset(new XElement(L"Caption"));
        m_caption->Merge(e);
        handled = 1;
    }
    return handled;
}

bool XFrame::Activate() {
    plat::Window* window = GetNativeWindow();
    if (!window)
        return false;
    if (!m_captionWindow) {
        window->Activate();
        return true;
    }
    auto* previous = dynamic_cast<XFrame*>(XScrMan::Instance().GetActiveChildFrame());
    m_captionWindow->Window().Raise();
    if (previous == this)
        return true;
    const orvo::IXORef alive = WeakRef();
    if (previous)
        previous->OnActivateFrame(false);
    if (alive.Alive())
        OnActivateFrame(true);
    return true;
}

int XFrame::CopyFrame() {
    const std::wstring id = GetFrameID();
    return !id.empty() && RunByMenuID(L"Main", id, L"ByCopyFrame=True") != 0;
}

bool XFrame::CloseFrame() {
    plat::Window* window = GetNativeWindow();
    if (!window)
        return false;
    if (plat::Window::GetCapture())
        plat::Window::ReleaseCapture();
    return window->PostClose();
}

bool XFrame::ForceCloseFrame() {
    m_nForceClose = 1;
    return CloseFrame();
}

bool XFrame::ClosePopup() {
    plat::Window* window = GetNativeWindow();
    if (!window)
        return false;
    if (m_nFrameStyle != FRAME_POPUP)
        return CloseFrame();
    if (m_bPopupClosing)
        return true;
    m_bPopupClosing = true;
    if (plat::Window* before = m_focusBeforePopup.Get())
        before->SetFocus();
    return window->Close();
}

bool XFrame::IsKeyDown(const std::wstring& name) const {
    const int key = orvo::VirtualKeyOfName(name);
    return key != 0 && (plat::GetKeyState(key) & 0x8000) != 0;
}

bool XFrame::IsKeyToggle(const std::wstring& name) const {
    const int key = orvo::VirtualKeyOfName(name);
    return key != 0 && (plat::GetKeyState(key) & 1) != 0;
}

int XFrame::HasContextMenuVB(const wchar_t*) {
    return m_bContextMenuOption && !GetFrameID().empty() &&
           (m_nFrameStyle == FRAME_CHILD || m_nFrameStyle == FRAME_POPUPFRAME);
}

std::wstring XFrame::GetFrameID() {
    const XElement* parameters = GetTopParent()->GetParamElement();
    const std::wstring* id = parameters ? parameters->FindValue(L"id") : nullptr;
    return id ? *id : std::wstring();
}

int XFrame::SaveOrPrintScrImg(const wchar_t* mode) {
    plat::Window* window = GetNativeWindow();
    if (!window)
        return 0;
    const QImage image = window->RenderImage();
    if (mode && plat::EqualsNoCase(mode, L"PRINT"))
        return plat::PrintImage(window, image);
    const std::wstring file =
        plat::AskSaveFileName(window, L"BMP", L"Bitmap Files (*.bmp)|*.bmp|All Files (*.*)|*.*||");
    return !file.empty() && plat::SaveImage(image, file);
}

int XFrame::OpenLinkEditDlg() {
    const std::wstring id = GetFrameID();
    return RunByMenuID(L"Main", L"LinkEdit", (L"FrameID=" + id).c_str()) != 0;
}

// Exported for "User." actions: Action="User.Run(Orvo.dll, CancelCloseFrame)" in an
// "OnCloseFrame" handler refuses the close.
extern "C" __attribute__((visibility("default"))) int CancelCloseFrame(XDO* object,
                                                                       const wchar_t*) {
    if (auto* frame = dynamic_cast<XFrame*>(object);
        frame && orvo::HasStyle(frame, XDO_STYLE_FRAME))
        frame->CancelCloseFrame();
    return 1;
}

extern "C" __attribute__((visibility("default"))) int ConfirmCloseFrame(XDO* object,
                                                                        const wchar_t*) {
    if (auto* frame = dynamic_cast<XFrame*>(object);
        frame && orvo::HasStyle(frame, XDO_STYLE_FRAME))
        frame->ConfirmCloseFrame();
    return 1;
}
