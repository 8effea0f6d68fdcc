#pragma once
// The fields of a Windows LOGFONT. lfHeight < 0 is the character height in pixels, > 0 the
// cell height (character plus internal leading), 0 the default size.
#include <string>

#include "platform/gui/gdi_flags.h"

struct LOGFONT {
    int lfHeight = 0;
    int lfWidth = 0;
    int lfEscapement = 0; // tenths of a degree, anticlockwise
    int lfOrientation = 0;
    int lfWeight = FW_DONTCARE;
    unsigned char lfItalic = 0;
    unsigned char lfUnderline = 0;
    unsigned char lfStrikeOut = 0;
    unsigned char lfCharSet = DEFAULT_CHARSET;
    unsigned char lfOutPrecision = 0;
    unsigned char lfClipPrecision = 0;
    unsigned char lfQuality = 0;
    unsigned char lfPitchAndFamily = 0;
    std::wstring lfFaceName;

    bool operator==(const LOGFONT&) const = default;
};
