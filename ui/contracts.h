#pragma once
// The methods the UI layer calls on its own services by name, so that a host or a test may
// stand in for them.
#include "core/contracts.h"

class CResImg;

namespace orvo::contract {

ORVO_CONTRACT(ResManGetImageObject, L"ResMan", GetImageObject, CResImg*(const wchar_t* name))
// A selector selects a member pressed with the mouse, or nothing when it is not a member.
ORVO_CONTRACT(SelectorSelectMember, nullptr, SelectMember, int(XDO* member))

} // namespace orvo::contract
