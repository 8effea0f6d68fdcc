#include "ui/text_align.h"

#include "platform/base/nocase.h"
#include "ui/keyword_list.h"

namespace orvo {

namespace {

constexpr unsigned kSingleLine = 0x20;
constexpr unsigned kNoPrefix = 0x800;

// The values of the Windows DT_* constants.
constexpr Keyword kFormats[] = {
    {L"LEFT", 0x0},
    {L"CENTER", 0x1},
    {L"RIGHT", 0x2},
    {L"VCENTER", 0x4},
    {L"BOTTOM", 0x8},
    {L"WORDBREAK", 0x10},
    {L"SINGLELINE", 0x20},
    {L"EXPANDTABS", 0x40},
    {L"TABSTOP", 0x80},
    {L"NOCLIP", 0x100},
    {L"EXTERNALLEADING", 0x200},
    {L"NOPREFIX", 0x800},
    {L"INTERNAL", 0x1000},
    {L"EDITCONTROL", 0x2000},
    {L"PATH_ELLIPSIS", 0x4000},
    {L"END_ELLIPSIS", 0x8000},
    {L"MODIFYSTRING", 0x10000},
    {L"RTLREADING", 0x20000},
    {L"WORD_ELLIPSIS", 0x40000},
    {L"NOFULLWIDTHCHARBREAK", 0x80000},
    {L"HIDEPREFIX", 0x100000},
    {L"PREFIXONLY", 0x200000},
};

} // namespace

unsigned ReadTextAlign(std::wstring_view text) {
    unsigned format = kSingleLine | kNoPrefix;
    for (std::wstring_view item : SplitItems(text, L',')) {
        int bits = 0;
        if (plat::EqualsNoCase(item, L"MULTILINE"))
            format &= ~kSingleLine;
        else if (LookUpKeyword(item, kFormats, bits))
            format |= static_cast<unsigned>(bits);
    }
    return format;
}

} // namespace orvo
