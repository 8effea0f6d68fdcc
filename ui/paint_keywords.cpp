#include "ui/paint_keywords.h"

#include "nubra/trim_blanks.h"
#include "platform/base/nocase.h"
#include "ui/keyword_list.h"

namespace orvo {

namespace {

constexpr Keyword kBrushStyles[] = {
    {L"HOLLOW", 1},
    {L"NULL", 1},
    {L"HATCHED", 2},
    {L"PATTERN", 3},
    {L"DIBPATTERN", 5},
    {L"DIBPATTERNPT", 6},
    {L"PATTERN8X8", 7},
    {L"DIBPATTERN8X8", 8},
};
constexpr Keyword kHatches[] = {
    {L"HORIZONTAL", 0},
    {L"VERTICAL", 1},
    {L"FDIAGONAL", 2},
    {L"BDIAGONAL", 3},
    {L"CROSS", 4},
    {L"DIAGCROSS", 5},
};
constexpr Keyword kEdges[] = {
    {L"RaisedOuter", 1},
    {L"SunkenOuter", 2},
    {L"RaisedInner", 4},
    {L"SunkenInner", 8},
    {L"Raised", 5},
    {L"Sunken", 10},
    {L"Etched", 6},
    {L"Bump", 9},
};
constexpr Keyword kBorderFlags[] = {
    {L"LEFT", 1},
    {L"TOP", 2},
    {L"RIGHT", 4},
    {L"BOTTOM", 8},
    {L"TOPLEFT", 3},
    {L"TOPRIGHT", 6},
    {L"BOTTOMLEFT", 9},
    {L"BOTTOMRIGHT", 12},
    {L"RECT", 15},
    {L"DIAGONAL", 16},
    {L"DIAGONAL_ENDTOPLEFT", 19},
    {L"DIAGONAL_ENDTOPRIGHT", 22},
    {L"DIAGONAL_ENDBOTTOMLEFT", 25},
    {L"DIAGONAL_ENDBOTTOMRIGHT", 28},
    {L"SOFT", BORDER_SOFT},
    {L"FLAT", BORDER_FLAT},
    {L"MONO", BORDER_MONO},
};

} // namespace

int ReadBrushStyle(std::wstring_view text) {
    int style = 0;
    LookUpKeyword(TrimBlanks(text), kBrushStyles, style);
    return style;
}

bool ReadHatch(std::wstring_view text, int& hatch) {
    return LookUpKeyword(TrimBlanks(text), kHatches, hatch);
}

int ReadEdge(std::wstring_view text) {
    int edge = 0;
    for (std::wstring_view item : SplitItems(text, L',')) {
        int bits = 0;
        if (LookUpKeyword(item, kEdges, bits))
            edge |= bits;
    }
    return edge;
}

int ReadBorderFlag(std::wstring_view text) {
    int flag = BORDER_ADJUST | BORDER_SINGLE;
    for (std::wstring_view item : SplitItems(text, L',')) {
        int bits = 0;
        if (plat::EqualsNoCase(item, L"NoAdjust"))
            flag &= ~BORDER_ADJUST;
        else if (plat::EqualsNoCase(item, L"Double"))
            flag &= ~BORDER_SINGLE;
        else if (LookUpKeyword(item, kBorderFlags, bits))
            flag |= bits;
    }
    return flag;
}

} // namespace orvo

// Kept apart from the drawing code: the pen style names come with their own copies of the
// PS_* constants.
#include "nubra/pen_style.h"

namespace orvo {

bool ReadPenStyle(std::wstring_view text, int& style) {
    return syschar::getPenStyle(style, text);
}

} // namespace orvo
