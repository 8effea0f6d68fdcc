#pragma once
// The methods the UI layer calls on its own services by name, so that a host or a test may
// stand in for them.
#include "core/contracts.h"

class CResImg;

namespace orvo::contract {

ORVO_CONTRACT(ResManGetImageObject, L"ResMan", GetImageObject, CResImg*(const wchar_t* name))
// A selector selects a member pressed with the mouse, or nothing when it is not a member.
ORVO_CONTRACT(SelectorSelectMember, nullptr, SelectMember, int(XDO* member))

// What the screen context menu of a window host asks of the frame around it, and of the host
// object "NeverMind" for a grid.
ORVO_CONTRACT(FrameHasContextMenu, nullptr, HasContextMenu, int(const wchar_t* text))
ORVO_CONTRACT(FrameCopyFrame, nullptr, CopyFrame, int())
ORVO_CONTRACT(FrameSaveOrPrintScrImg, nullptr, SaveOrPrintScrImg, int(const wchar_t* mode))
ORVO_CONTRACT(FrameOpenLinkEditDlg, nullptr, OpenLinkEditDlg, int())
ORVO_CONTRACT(NeverMindGridToExcel, L"NeverMind", GridToExcel, int(XDO* grid))
// The linked screens of a frame, as the rows of a "LinkMenuData" object, and the element the
// screen opened from one of them receives through the menu service.
ORVO_CONTRACT(LinkMenuRowCount, nullptr, GetRowCount, int())
ORVO_CONTRACT(LinkMenuRowText, nullptr, GetRowText, std::wstring(int row))
ORVO_CONTRACT(LinkMenuRowMenuID, nullptr, GetRowMenuID, std::wstring(int row))
ORVO_CONTRACT(MenuManSetLinkData, L"MenuMan", SetLinkData, int(XElement* element))

} // namespace orvo::contract
