// The screen's context menu, opened by a right click on an object of a window host.
#include <memory>
#include <string>
#include <vector>

#include "core/element.h"
#include "core/object_lifetime.h"
#include "core/scr_man.h"
#include "platform/gui/popup_menu.h"
#include "ui/contracts.h"
#include "ui/xwindow.h"

namespace {

enum ContextCommand : unsigned {
    CMD_REOPEN = 257,
    CMD_PRINT = 258,
    CMD_SAVE_PICTURE = 259,
    CMD_GRID_TO_EXCEL = 260,
    CMD_EDIT_LINKS = 261,
    CMD_FIRST_LINK = 262,
};

struct LinkedScreen {
    std::wstring id;
    std::wstring text;
};

// The frame's linked screens, read from a "LinkMenuData" object built for it and gone again
// before the menu runs.
std::vector<LinkedScreen> LinkedScreens(XDO* frame) {
    static orvo::ContractMethod<orvo::contract::FrameGetFrameID> s_frameId;
    static orvo::ContractMethod<orvo::contract::LinkMenuRowCount> s_count;
    static orvo::ContractMethod<orvo::contract::LinkMenuRowText> s_text;
    static orvo::ContractMethod<orvo::contract::LinkMenuRowMenuID> s_id;
    std::vector<LinkedScreen> screens;
    auto frameId = s_frameId.Get(frame);
    if (!frameId)
        return screens;
    XElement element(L"LinkMenuData");
    element.SetValue(L"Menu", L"Main");
    element.SetValue(L"MenuID", frameId());
    element.SetValue(L"sys", L"CfgOptionSys");
    element.SetValue(L"user", L"CfgOptionUser");
    const orvo::XDOPtr links(XScrMan::Instance().MakeObject(&element, nullptr));
    auto count = s_count.Get(links.get());
    auto text = s_text.Get(links.get());
    auto id = s_id.Get(links.get());
    if (!count || !text || !id)
        return screens;
    for (int row = 0, rows = count(); row < rows; ++row)
        screens.push_back({id(row), text(row)});
    return screens;
}

// Opens a linked screen through the menu service; the screen being opened finds the element
// a drag of the clicked object would carry as its link data.
int OpenLinkedScreen(const std::wstring& id, XDO* clicked) {
    static orvo::ContractCall<orvo::contract::MenuManRunByMenuID> s_run;
    static orvo::ContractCall<orvo::contract::MenuManSetLinkData> s_setLinkData;
    auto run = s_run.Get();
    if (!run)
        return 0;
    const orvo::GateDragHooks& gates = XWindow::GetGateDragHooks();
    const std::unique_ptr<XElement> linkData(
        clicked && gates.findGatherDrag ? gates.findGatherDrag(clicked) : nullptr);
    auto setLinkData = s_setLinkData.Get();
    if (setLinkData)
        setLinkData(linkData.get());
    if (linkData && gates.setLinkElement)
        gates.setLinkElement(linkData->Clone());
    const int opened = run(id.c_str(), L"Main", L"ByLinkFrame=True");
    if (setLinkData)
        setLinkData(nullptr);
    if (gates.setLinkElement)
        gates.setLinkElement(nullptr); // the new screen had no gate to take it
    return opened;
}

template <class Contract> bool FrameAgrees(XDO* frame) {
    static orvo::ContractMethod<Contract> s_method;
    auto method = s_method.Get(frame);
    return method && method();
}

} // namespace

int XWindow::OpenContextMenu() {
    plat::Window* window = GetNativeWindow();
    CPoint pt;
    XUI* clicked = window && !plat::Window::GetCapture() && GetLogCursorPos(&pt)
                       ? ObjectAt(pt, false)
                       : nullptr;
    if (!clicked)
        return 0;
    XDO* frame = GetXDO(XDO_STYLE_FRAME, 0);
    static orvo::ContractMethod<orvo::contract::FrameHasContextMenu> s_hasMenu;
    auto hasMenu = s_hasMenu.Get(frame);
    if (!hasMenu || !hasMenu(L""))
        return 0;
    XDO* grid = GetXDO(XDO_STYLE_GRID, 0);
    CPopupMenu menu;
    menu.Add(CMD_REOPEN, L"화면 다시 열기");
    menu.Add(CMD_PRINT, L"화면 인쇄");
    menu.Add(CMD_SAVE_PICTURE, L"화면을 그림으로 저장");
    if (grid)
        menu.Add(CMD_GRID_TO_EXCEL, L"엑셀로 전송");
    menu.AddSeparator();
    menu.Add(CMD_EDIT_LINKS, L"연결화면 편집");
    const std::vector<LinkedScreen> linked = LinkedScreens(frame);
    for (std::size_t i = 0; i < linked.size(); ++i)
        menu.Add(CMD_FIRST_LINK + static_cast<unsigned>(i), linked[i].text.c_str());

    // The menu runs its own loop: the frame, the grid and this window may go meanwhile.
    const orvo::DispatchScope scope;
    const orvo::IXORef frameRef = frame->WeakRef();
    const orvo::IXORef gridRef = grid ? grid->WeakRef() : orvo::IXORef();
    const orvo::IXORef clickedRef = clicked->WeakRef();
    const unsigned chosen = menu.Run(window, TPM_RETURNCMD);
    frame = dynamic_cast<XDO*>(frameRef.Get());
    if (!frame || IsTornDown())
        return 0;
    switch (chosen) {
    case CMD_REOPEN:
        return FrameAgrees<orvo::contract::FrameCopyFrame>(frame);
    case CMD_PRINT:
    case CMD_SAVE_PICTURE: {
        static orvo::ContractMethod<orvo::contract::FrameSaveOrPrintScrImg> s_saveOrPrint;
        auto saveOrPrint = s_saveOrPrint.Get(frame);
        return saveOrPrint && saveOrPrint(chosen == CMD_PRINT ? L"PRINT" : L"SAVE");
    }
    case CMD_GRID_TO_EXCEL: {
        static orvo::ContractCall<orvo::contract::NeverMindGridToExcel> s_toExcel;
        auto toExcel = s_toExcel.Get();
        auto* liveGrid = dynamic_cast<XDO*>(gridRef.Get());
        return toExcel && liveGrid && toExcel(liveGrid);
    }
    case CMD_EDIT_LINKS:
        return FrameAgrees<orvo::contract::FrameOpenLinkEditDlg>(frame);
    default:
        if (chosen < CMD_FIRST_LINK || chosen - CMD_FIRST_LINK >= linked.size())
            return 0;
        return OpenLinkedScreen(linked[chosen - CMD_FIRST_LINK].id,
                                dynamic_cast<XDO*>(clickedRef.Get()));
    }
}
