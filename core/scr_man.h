#pragma once
// XScrMan ("ScrMan"): turns page files into live object trees. It loads a page (expanding
// "Include" elements), injects the opener's parameters, builds one object per element,
// creates the objects' screen resources and drives "BeforeCreate", "AfterCreate",
// "Initialize" and "Run" in their fixed order.
#include <string>
#include <vector>

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
    // Methods of the application shell that have no implementation yet answer 0.
    int NotAvailable() { return 0; }

    // The top-level pages opened so far that are still alive, oldest first.
    std::vector<XDO*> OpenedPages() const;

    // Copies the parameters into the page root as the method element "this.__param__"
    // and into its "this.Param"/"lib.Param" declarations.
    static void InjectParameters(XElement* root, const XElement* parameters);

private:
    // MakeObject's work, inside its dispatch scope.
    XDO* Start(XElement* e, XDO* parent);
    void ExpandIncludes(XElement* root, std::vector<std::wstring>& chain, int& budget);
    bool OverFrameLimit(XElement* root);

    int m_maxFrameCount = 0;
    std::vector<orvo::IXORef> m_frames;
    std::vector<orvo::IXORef> m_pages;
};
