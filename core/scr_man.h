#pragma once
// XScrMan ("ScrMan"): turns page files into live object trees. It loads a page (expanding
// "Include" elements), injects the opener's parameters, builds one object per element,
// creates the objects' screen resources and drives "BeforeCreate", "AfterCreate",
// "Initialize" and "Run" in their fixed order.
#include <cstdint>
#include <string>
#include <vector>

#include "core/shell_hooks.h"
#include "core/walk_hints.h"
#include "core/xdo.h"
#include "nubra/ixo.h"

class XScrMan : public IXO {
    ORVO_DISPATCH_MAP()

public:
    ORVO_KEY(L"ScrMan")
    static XScrMan& Instance();

    XDO* OpenPage(const wchar_t* path, XDO* parent, XElement* parameters);
    // Takes the element tree and deletes it once the objects are built.
    XDO* OpenPageMem(XElement* root, XDO* parent, XElement* parameters);
    // The parsed page with its includes expanded (a new tree the caller owns), or null.
    XElement* LoadPage(const wchar_t* path);
    XDO* MakeObject(XElement* e, XDO* parent);
    XDO* MakeScrObj(XElement* e, XDO* parent);
    int CreateScreen(XDO* obj);

    int GetMaxFrameCount() const { return m_maxFrameCount; }
    void SetMaxFrameCount(const int& count) { m_maxFrameCount = count; }

    // Frames of the application shell report themselves so that the frame limit can count
    // them; a frame with "SysFrame" set is not counted.
    int RegisterFrame(XDO* frame);
    int UnRegisterFrame(XDO* frame);
    // The registered frames still alive, oldest first.
    std::vector<XDO*> Frames() const;

    // The application shell: frames, painting, hot keys, saved screens. The UI layer installs
    // it (null takes it away); without one these answer 0 or empty.
    void InstallShell(orvo::ShellHooks* shell) { m_shell = shell; }
    orvo::ShellHooks* GetShell() const { return m_shell; }
    int TranslateMsg(MSG* msg, XDO* owner) { return Shell().TranslateMsg(msg, owner); }
    int SetPaintTime(int ms) { return Shell().SetPaintTime(ms); }
    int RegPaint(XDO* host) { return Shell().RegPaint(host); }
    int UnregPaint(XDO* host) { return Shell().UnregPaint(host); }
    int SetMainFrame(XDO* frame) { return Shell().SetMainFrame(frame); }
    XDO* GetMainFrame() { return Shell().GetMainFrame(); }
    int ActivateFrame(XDO* frame) { return Shell().ActivateFrame(frame); }
    int OnActivateFrame(XDO* frame, int active) { return Shell().OnActivateFrame(frame, active); }
    XDO* GetActiveChildFrame() { return Shell().GetActiveChildFrame(); }
    int SetFrameText(XDO* frame, const wchar_t* text) { return Shell().SetFrameText(frame, text); }
    int Lock(int lock) { return Shell().Lock(lock); }
    int CloseMainFrame() { return Shell().CloseMainFrame(); }
    int CloseAllWindow() { return Shell().CloseAllWindow(); }
    int EnableAllWindow(int enable) { return Shell().EnableAllWindow(enable); }
    int MinimizeAllWindow() { return Shell().MinimizeAllWindow(); }
    int RestoreAllWindow() { return Shell().RestoreAllWindow(); }
    int SetExitProc(const wchar_t* proc) { return Shell().SetExitProc(proc); }
    std::wstring GetExitProc() { return Shell().GetExitProc(); }
    int SetMDI(int mdi) { return Shell().SetMDI(mdi); }
    int GetMDI() { return Shell().GetMDI(); }
    int AddHotKey(const wchar_t* key, XDO* target) { return Shell().AddHotKey(key, target); }
    int DelHotKey(const wchar_t* key) { return Shell().DelHotKey(key); }
    int CheckSamePos(XDO* frame) { return Shell().CheckSamePos(frame); }
    int SaveScreen(const wchar_t* name) { return Shell().SaveScreen(name); }
    int LoadScreen(const wchar_t* name) { return Shell().LoadScreen(name); }
    std::wstring GetLastSaveScreen() { return Shell().GetLastSaveScreen(); }
    int RemoveSaveScreen(const wchar_t* name) { return Shell().RemoveSaveScreen(name); }
    int MoveSaveScreen(const wchar_t* from, const wchar_t* to) {
        return Shell().MoveSaveScreen(from, to);
    }
    std::wstring GetSaveScreenName(int index) { return Shell().GetSaveScreenName(index); }
    int LoadLastFrameInfo() { return Shell().LoadLastFrameInfo(); }

    // The top-level pages opened so far that are still alive, oldest first.
    std::vector<XDO*> OpenedPages() const;

    // Copies the parameters into the page root as the method element "this.__param__"
    // and into its "this.Param"/"lib.Param" declarations.
    static void InjectParameters(XElement* root, const XElement* parameters);

private:
    // MakeObject's work, inside its dispatch scope.
    XDO* Start(XElement* e, XDO* parent);
    int CreateTree(XDO* obj, orvo::WalkHints hints); // CreateScreen, told what lies ahead
    void ExpandIncludes(XElement* root, std::vector<std::wstring>& chain, int& budget);
    bool OverFrameLimit(XElement* root);

    orvo::ShellHooks& Shell() { return m_shell ? *m_shell : s_noShell; }

    // Answers every shell request with "not available".
    struct NoShell : orvo::ShellHooks {};
    static inline NoShell s_noShell;

    orvo::ShellHooks* m_shell = nullptr;
    int m_maxFrameCount = 0;
    std::uint64_t m_framesMade = 0;       // frames this process has built, counted as they are made
    std::vector<XDO*>* m_built = nullptr; // what the current opening has built, in build order
    std::vector<orvo::IXORef> m_frames;
    std::vector<orvo::IXORef> m_pages;
};
