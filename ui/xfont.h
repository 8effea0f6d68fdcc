#pragma once
// XFont: a font description in element attributes ("Height", "Weight", "CharSet", "FaceName"
// ...), keywords being the names of the Windows LOGFONT constants without their prefix.
#include "platform/gui/log_font.h"

class XElement;

class XFont {
public:
    // Reads the attributes present into `font`; a keyword that is not known leaves its field as
    // it was ("Weight" also takes a number).
    static void SetElement(const XElement* element, LOGFONT& font);
    // Writes every attribute: a weight without a keyword as its number, the TrueType output
    // precision as "TT", any other value without a keyword as "DEFAULT".
    static void GetElement(XElement* element, const LOGFONT& font);
};
