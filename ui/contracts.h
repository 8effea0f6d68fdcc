#pragma once
// The methods the UI layer calls on its own services by name, so that a host or a test may
// stand in for them.
#include "core/contracts.h"

class CResImg;

namespace orvo::contract {

ORVO_CONTRACT(ResManGetImageObject, L"ResMan", GetImageObject, CResImg*(const wchar_t* name))

} // namespace orvo::contract
