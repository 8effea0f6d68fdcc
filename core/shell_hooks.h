#pragma once
// What the screen manager ("ScrMan") asks of the application shell: frames and their
// windows, delayed painting, hot keys and saved screens. The UI layer installs one object
// implementing these (XScrMan::InstallShell); until then every request answers 0 or empty,
// "not available", and a page's frame is taken as open. Each method serves the published
// "ScrMan" method of the same name.
#include <string>

class XDO;
class XElement;
struct MSG;

namespace orvo {

class ShellHooks {
public:
    // ---- building a page ---------------------------------------------------------------------
    // Before building: fit the page's frame element to the shell's frame mode (multiple
    // documents or not, proxy windows, dialogs, styles and margins).
    virtual void AdjustFrameElement(XElement*) {}
    // After building: open the frame's top-level window, or run it as a modal dialog. 0 when
    // it could not open; the page is then destroyed.
    virtual int OpenFrame(XDO*) { return 1; }

    // ---- messages and painting -------------------------------------------------------------
    // A queued message of a window host's window, before the window handles it; non-zero
    // consumes it. `owner` is the window host the window serves.
    virtual int TranslateMsg(MSG*, XDO* /*owner*/) { return 0; }
    virtual int SetPaintTime(int) { return 0; }
    virtual int RegPaint(XDO*) { return 0; }
    virtual int UnregPaint(XDO*) { return 0; }

    // ---- frames --------------------------------------------------------------------------------
    virtual int SetMainFrame(XDO*) { return 0; }
    virtual XDO* GetMainFrame() { return nullptr; }
    virtual int ActivateFrame(XDO*) { return 0; }
    virtual int OnActivateFrame(XDO*, int) { return 0; }
    virtual XDO* GetActiveChildFrame() { return nullptr; }
    virtual int SetFrameText(XDO*, const wchar_t*) { return 0; }
    virtual int Lock(int) { return 0; }
    virtual int CloseMainFrame() { return 0; }
    virtual int CloseAllWindow() { return 0; }
    virtual int EnableAllWindow(int) { return 0; }
    virtual int MinimizeAllWindow() { return 0; }
    virtual int RestoreAllWindow() { return 0; }
    virtual int SetExitProc(const wchar_t*) { return 0; }
    virtual std::wstring GetExitProc() { return {}; }
    virtual int SetMDI(int) { return 0; }
    virtual int GetMDI() { return 0; }
    virtual int CheckSamePos(XDO*) { return 0; }
    virtual int LoadLastFrameInfo() { return 0; }

    // ---- hot keys ------------------------------------------------------------------------------
    virtual int AddHotKey(const wchar_t*, XDO*) { return 0; }
    virtual int DelHotKey(const wchar_t*) { return 0; }

    // ---- saved screens ------------------------------------------------------------------------
    virtual int SaveScreen(const wchar_t*) { return 0; }
    virtual int LoadScreen(const wchar_t*) { return 0; }
    virtual std::wstring GetLastSaveScreen() { return {}; }
    virtual int RemoveSaveScreen(const wchar_t*) { return 0; }
    virtual int MoveSaveScreen(const wchar_t*, const wchar_t*) { return 0; }
    virtual std::wstring GetSaveScreenName(int) { return {}; }

protected:
    ~ShellHooks() = default;
};

} // namespace orvo
