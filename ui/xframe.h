#pragma once
// XFrame ("Frame"): the object of a screen that owns the screen's top-level window. By its
// frame style that window is the application's main window, a child window of the
// multiple-document client, a popup frame, a popup or a modal dialog. A frame is also the
// window host of the visual objects below it.
//
// Files: xframe.cpp (element, placement, script methods), xframe_window.cpp (the window of
// each style, opening, activation, the close protocol).
#include <memory>
#include <string>

#include "ui/xwindow.h"

namespace orvo {
class FrameCaption;
}

class XFrame : public XWindow {
    ORVO_DISPATCH_MAP()

public:
    enum FrameStyle : int {
        FRAME_NONE = 0,
        FRAME_MAIN = 1,
        FRAME_CHILD = 2,
        FRAME_POPUPFRAME = 3,
        FRAME_POPUP = 4,
        FRAME_DIALOG = 5,
    };

    XFrame();
    ORVO_KEY(L"Frame")

    // ---- life cycle ------------------------------------------------------------------------
    // Rewrites "Rect" by "Width"/"Height" and by a reference rectangle before the visual
    // object reads it.
    int SetElement(XElement* e) override;
    // "Caption": its attributes are kept.
    int SetMethod(const wchar_t* name, XElement* e) override;
    // Makes the window of the frame style; 0 without a style or when it cannot be made.
    int CreateInstance() override;
    // Called by the screen manager once the page is built: shows the window and gives the
    // initial focus (1), or runs a dialog until it closes (0: the page goes).
    int OpenFrame();

    // ---- the window's life -------------------------------------------------------------------
    bool OnCloseWindow() override;
    void OnActivateWindow(bool active) override { OnActivateFrame(active); }
    void OnActivateAppWindow(bool active) override { OnActivateApp(active); }
    void OnShowStateWindow(plat::ShowState from, plat::ShowState to) override;
    virtual void OnActivateApp(bool active);
    virtual void OnActivateFrame(bool active);
    // Whether a close request is carried out: "OnCloseFrame" handlers may refuse it.
    bool QueryClose();

    // ---- script interface ----------------------------------------------------------------------
    // The window comes to the front and becomes the active one; a child frame becomes the
    // client's active child.
    bool Activate();
    // Opens another copy of the screen through the menu service.
    int CopyFrame();
    bool CloseFrame();
    bool ForceCloseFrame();
    bool ClosePopup();
    bool IsSysFrame() const { return m_bSysFrame; }
    bool IsSysSize() const { return m_bSysSize; }
    bool IsKeyDown(const std::wstring& name) const;
    bool IsKeyToggle(const std::wstring& name) const;
    // Whether the screen menu may open over this frame (the text names the menu, unused).
    int HasContextMenuVB(const wchar_t* text);
    // The "id" of the screen's parameters; empty when there is none.
    std::wstring GetFrameID();
    // The editor of linked screens, through the menu service.
    int OpenLinkEditDlg();
    void CancelCloseFrame() { m_nCloseConfirm = 0; }
    void ConfirmCloseFrame() { m_nCloseConfirm = 1; }
    // "PRINT" prints a picture of the frame's window; anything else saves it as a bitmap file
    // the user picks.
    int SaveOrPrintScrImg(const wchar_t* mode);

    // The text of the window's title (and of a child frame's caption).
    void SetFrameTitle(const std::wstring& title);
    // A press in a child frame brings it to the front first.
    void OnButtonDown(unsigned flags, CPoint pt, int code) override;

    // ---- state ---------------------------------------------------------------------------------
    int GetFrameStyle() const { return m_nFrameStyle; }
    // The caption window around a child frame; null for other frames.
    orvo::FrameCaption* GetCaptionWindow() const { return m_captionWindow.get(); }
    bool GetInitActivate() const { return m_bInitActivate; }
    // Empty when the limit is off.
    CSize GetMinTrackSize() const { return m_minTrack; }
    CSize GetMaxTrackSize() const { return m_maxTrack; }
    const XElement* GetCaption() const { return m_caption.get(); }
    bool IsForceClose() const { return m_nForceClose != 0; }
    // The frame style of a "FrameStyle" keyword; FRAME_NONE for an unknown one.
    static int FrameStyleOf(const std::wstring& keyword);

protected:
    ~XFrame() override;
    void Teardown() override;

private:
    // The window's title and kind by style; false without a style.
    bool MakeFrameWindow();
    // Gives the focus to the first screen library, depth first, that takes it.
    void GiveInitialFocus();
    void GiveFocusBack();
    int RunDialog();
    // A child frame inside its caption window in the multiple-document client.
    bool MakeChildWindow(plat::Window& client);
    // The caption's title: the "Caption" element's "Text", else the frame's name.
    std::wstring CaptionTitle() const;

    bool m_bInitActivate = true;
    bool m_bSysFrame = false;
    bool m_bSysSize = true;
    bool m_bContextMenuOption = true;
    bool m_bPopupClosing = false;
    int m_nFrameStyle = FRAME_NONE;
    CSize m_minTrack{-1, -1};
    CSize m_maxTrack{-1, -1};
    std::unique_ptr<XElement> m_caption;
    std::unique_ptr<orvo::FrameCaption> m_captionWindow;
    int m_nCloseConfirm = 0;
    int m_nForceClose = 0;
    // The window that had the focus when a popup opened, to give it back.
    plat::WindowRef m_focusBeforePopup;
};

// The same as the frame's methods, for "User." actions on any object: only a frame is touched.
// Both answer 1.
extern "C" int CancelCloseFrame(XDO* object, const wchar_t* parameter);
extern "C" int ConfirmCloseFrame(XDO* object, const wchar_t* parameter);
