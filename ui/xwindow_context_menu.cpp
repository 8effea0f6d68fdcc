// The screen's context menu, opened by a right click on an object of a window host.
#include "core/object_lifetime.h"
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
};

template <class Contract> bool FrameAgrees(XDO* frame) {
    static orvo::ContractMethod<Contract> s_method;
    auto method = s_method.Get(frame);
    return method && method();
}

} // namespace

int XWindow::OpenContextMenu() {
    plat::Window* window = GetNativeWindow();
    CPoint pt;
    if (!window || plat::Window::GetCapture() || !GetLogCursorPos(&pt) || !ObjectAt(pt, false))
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

    // The menu runs its own loop: the frame, the grid and this window may go meanwhile.
    const orvo::DispatchScope scope;
    const orvo::IXORef frameRef = frame->WeakRef();
    const orvo::IXORef gridRef = grid ? grid->WeakRef() : orvo::IXORef();
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
        return 0;
    }
}
