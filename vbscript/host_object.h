#pragma once
// Host objects as scripts see them: an IXO reached through dispatch by name and held
// weakly, so a script that keeps one after the host destroyed it gets error 424 instead of
// a dangling pointer. Also the value conversions between the script's Variant and the
// dispatch variant.
#include <string>

#include "nubra/disp_variant.h"
#include "vbscript/value.h"

class IXO;

namespace vbs {

// A script value referring to `object` (Nothing for null).
Value HostValue(IXO* object);
// The host object behind a script value; null when it is no host object or it is gone.
IXO* HostObjectOf(const Value& value);

// Script value to dispatch variant. Script objects that are not host objects cannot cross
// into the host: error 13.
orvo::DispVariant ToDispVariant(const Value& value);
// Dispatch variant to script value: 32-bit integers become Long, 64-bit ones Long when they
// fit and Double otherwise, arrays one-dimensional Variant arrays from 0.
Value FromDispVariant(const orvo::DispVariant& value);

} // namespace vbs
