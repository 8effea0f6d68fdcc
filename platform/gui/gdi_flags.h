#pragma once
// The numeric vocabulary of GDI calls, with the values Windows gives them, so that drawing
// code ported from Windows and theme keywords mean the same thing here.

// Background modes (SetBkMode).
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Pen styles (CreatePen).
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;

// Brush styles and hatches (CreateHatchBrush).
constexpr int BS_SOLID = 0;
constexpr int BS_NULL = 1;
constexpr int BS_HOLLOW = BS_NULL;
constexpr int BS_HATCHED = 2;
constexpr int HS_HORIZONTAL = 0;
constexpr int HS_VERTICAL = 1;
constexpr int HS_FDIAGONAL = 2;
constexpr int HS_BDIAGONAL = 3;
constexpr int HS_CROSS = 4;
constexpr int HS_DIAGCROSS = 5;

// Stock objects (CDC::SelectStockObject).
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;

// Polygon fill modes.
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

// PolyDraw point kinds; PT_CLOSEFIGURE is ORed onto a line or the last Bezier point.
constexpr unsigned char PT_CLOSEFIGURE = 0x01;
constexpr unsigned char PT_LINETO = 0x02;
constexpr unsigned char PT_BEZIERTO = 0x04;
constexpr unsigned char PT_MOVETO = 0x06;

// Region combination (CRgn::CombineRgn, CDC::SelectClipRgn) and region kinds.
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;
constexpr int RGN_ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

// Graphics modes and world transform changes.
constexpr int GM_COMPATIBLE = 1;
constexpr int GM_ADVANCED = 2;
constexpr int MWT_IDENTITY = 1;
constexpr int MWT_LEFTMULTIPLY = 2;
constexpr int MWT_RIGHTMULTIPLY = 3;

// DrawText formats.
constexpr unsigned DT_TOP = 0x0000;
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_BOTTOM = 0x0008;
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_NOCLIP = 0x0100;
constexpr unsigned DT_CALCRECT = 0x0400;
constexpr unsigned DT_NOPREFIX = 0x0800;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;

// ExtTextOut options and text alignment (SetTextAlign).
constexpr unsigned ETO_OPAQUE = 0x0002;
constexpr unsigned ETO_CLIPPED = 0x0004;
constexpr unsigned TA_LEFT = 0;
constexpr unsigned TA_RIGHT = 2;
constexpr unsigned TA_CENTER = 6;
constexpr unsigned TA_TOP = 0;
constexpr unsigned TA_BOTTOM = 8;
constexpr unsigned TA_BASELINE = 24;

// Raster operations of BitBlt and StretchBlt.
constexpr unsigned SRCCOPY = 0x00CC0020;
constexpr unsigned SRCPAINT = 0x00EE0086;
constexpr unsigned SRCAND = 0x008800C6;
constexpr unsigned SRCINVERT = 0x00660046;
constexpr unsigned NOTSRCCOPY = 0x00330008;
constexpr unsigned DSTINVERT = 0x00550009;
constexpr unsigned PATCOPY = 0x00F00021;
constexpr unsigned BLACKNESS = 0x00000042;
constexpr unsigned WHITENESS = 0x00FF0062;

// Stretch modes.
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;

// AlphaBlend.
constexpr unsigned char AC_SRC_OVER = 0x00;
constexpr unsigned char AC_SRC_ALPHA = 0x01;
struct BLENDFUNCTION {
    unsigned char BlendOp = AC_SRC_OVER;
    unsigned char BlendFlags = 0;
    unsigned char SourceConstantAlpha = 255;
    unsigned char AlphaFormat = 0;
};

// Font weights (LOGFONT::lfWeight) and a few LOGFONT keyword values.
constexpr int FW_DONTCARE = 0;
constexpr int FW_THIN = 100;
constexpr int FW_LIGHT = 300;
constexpr int FW_NORMAL = 400;
constexpr int FW_MEDIUM = 500;
constexpr int FW_SEMIBOLD = 600;
constexpr int FW_BOLD = 700;
constexpr int FW_HEAVY = 900;
constexpr unsigned char DEFAULT_CHARSET = 1;
constexpr unsigned char HANGUL_CHARSET = 129;
constexpr unsigned char NONANTIALIASED_QUALITY = 3;
constexpr unsigned char ANTIALIASED_QUALITY = 4;
constexpr unsigned char FIXED_PITCH = 1;
constexpr unsigned char FF_ROMAN = 0x10;
constexpr unsigned char FF_SWISS = 0x20;
constexpr unsigned char FF_MODERN = 0x30;
