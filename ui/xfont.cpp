#include "ui/xfont.h"

#include <cwctype>
#include <span>
#include <string>

#include "core/element.h"
#include "nubra/trim_blanks.h"
#include "platform/base/lenient.h"
#include "ui/keyword_list.h"

namespace {

using orvo::Keyword;

constexpr Keyword kWeights[] = {
    {L"DONTCARE", 0},
    {L"THIN", 100},
    {L"EXTRALIGHT", 200},
    {L"ULTRALIGHT", 200},
    {L"LIGHT", 300},
    {L"NORMAL", 400},
    {L"REGULAR", 400},
    {L"MEDIUM", 500},
    {L"SEMIBOLD", 600},
    {L"DEMIBOLD", 600},
    {L"BOLD", 700},
    {L"EXTRABOLD", 800},
    {L"ULTRABOLD", 800},
    {L"HEAVY", 900},
    {L"BLACK", 900},
};
constexpr Keyword kCharSets[] = {
    {L"ANSI", 0},
    {L"BALTIC", 186},
    {L"CHINESEBIG5", 136},
    {L"EASTEUROPE", 238},
    {L"GB2312", 134},
    {L"GREEK", 161},
    {L"HANGUL", 129},
    {L"RUSSIAN", 204},
    {L"SHIFTJIS", 128},
    {L"SYMBOL", 2},
    {L"TURKISH", 162},
    {L"VIETNAMESE", 163},
};
constexpr Keyword kOutPrecisions[] = {
    {L"STRING", 1},
    {L"CHARACTER", 2},
    {L"STROKE", 3},
    {L"DEVICE", 5},
    {L"RASTER", 6},
    {L"TT_ONLY", 7},
    {L"OUTLINE", 8},
    {L"PS_ONLY", 10},
};
constexpr int kTrueTypePrecision = 4;
constexpr Keyword kClipPrecisions[] = {
    {L"STROKE_PRECIS", 2},
    {L"MASK", 0xF},
    {L"LH_ANGLES", 0x10},
    {L"TT_ALWAYS", 0x20},
    {L"DFA_DISABLE", 0x40},
    {L"EMBEDDED", 0x80},
};
constexpr Keyword kQualities[] = {
    {L"DRAFT", 1},
    {L"PROOF", 2},
    {L"NONANTIALIASED", 3},
    {L"ANTIALIASED", 4},
    {L"CLEARTYPE", 5},
};
constexpr Keyword kPitches[] = {{L"FIXED", 1}, {L"VARIABLE", 2}};
constexpr Keyword kFamilies[] = {
    {L"ROMAN", 0x10},
    {L"SWISS", 0x20},
    {L"MODERN", 0x30},
    {L"SCRIPT", 0x40},
    {L"DECORATIVE", 0x50},
};

// The keyword of `value`, "DEFAULT" when none has it.
const wchar_t* NameOf(int value, std::span<const Keyword> table) {
    for (const Keyword& entry : table) {
        if (entry.value == value)
            return entry.name;
    }
    return L"DEFAULT";
}

bool ReadKeyword(const XElement* element,
                 const wchar_t* key,
                 std::span<const Keyword> table,
                 int& value) {
    std::wstring text;
    return element->GetValue(key, text) &&
           orvo::LookUpKeyword(orvo::TrimBlanks(text), table, value);
}

void ReadByte(const XElement* element,
              const wchar_t* key,
              std::span<const Keyword> table,
              unsigned char& field) {
    int value = 0;
    if (ReadKeyword(element, key, table, value))
        field = static_cast<unsigned char>(value);
}

void ReadFlag(const XElement* element, const wchar_t* key, unsigned char& field) {
    bool value = false;
    if (element->GetBool(key, value))
        field = value ? 1 : 0;
}

} // namespace

void XFont::SetElement(const XElement* element, LOGFONT& font) {
    if (!element)
        return;
    element->GetValue(L"Height", font.lfHeight);
    element->GetValue(L"Width", font.lfWidth);
    element->GetValue(L"Escapement", font.lfEscapement);
    element->GetValue(L"Orientation", font.lfOrientation);
    ReadFlag(element, L"Italic", font.lfItalic);
    ReadFlag(element, L"Underline", font.lfUnderline);
    ReadFlag(element, L"StrikeOut", font.lfStrikeOut);
    std::wstring weight;
    if (element->GetValue(L"Weight", weight) &&
        !orvo::LookUpKeyword(orvo::TrimBlanks(weight), kWeights, font.lfWeight)) {
        const std::wstring_view number = orvo::TrimBlanks(weight);
        if (!number.empty() && std::iswdigit(number.front()))
            font.lfWeight = plat::_wtoi(number);
    }
    ReadByte(element, L"CharSet", kCharSets, font.lfCharSet);
    ReadByte(element, L"OutPrecision", kOutPrecisions, font.lfOutPrecision);
    ReadByte(element, L"ClipPrecision", kClipPrecisions, font.lfClipPrecision);
    ReadByte(element, L"Quality", kQualities, font.lfQuality);
    int pitch = 0;
    if (ReadKeyword(element, L"Pitch", kPitches, pitch))
        font.lfPitchAndFamily = static_cast<unsigned char>((font.lfPitchAndFamily & ~0x3) | pitch);
    int family = 0;
    if (ReadKeyword(element, L"Family", kFamilies, family))
        font.lfPitchAndFamily = static_cast<unsigned char>((font.lfPitchAndFamily & 0x3) | family);
    element->GetValue(L"FaceName", font.lfFaceName);
}

void XFont::GetElement(XElement* element, const LOGFONT& font) {
    if (!element)
        return;
    element->SetValue(L"Height", font.lfHeight);
    element->SetValue(L"Width", font.lfWidth);
    element->SetValue(L"Escapement", font.lfEscapement);
    element->SetValue(L"Orientation", font.lfOrientation);
    element->SetBool(L"Italic", font.lfItalic != 0);
    element->SetBool(L"Underline", font.lfUnderline != 0);
    element->SetBool(L"StrikeOut", font.lfStrikeOut != 0);
    const wchar_t* weight = NameOf(font.lfWeight, kWeights);
    if (std::wstring_view(weight) == L"DEFAULT")
        element->SetValue(L"Weight", font.lfWeight);
    else
        element->SetValue(L"Weight", weight);
    element->SetValue(L"CharSet", NameOf(font.lfCharSet, kCharSets));
    element->SetValue(L"OutPrecision",
                      font.lfOutPrecision == kTrueTypePrecision
                          ? L"TT"
                          : NameOf(font.lfOutPrecision, kOutPrecisions));
    element->SetValue(L"ClipPrecision", NameOf(font.lfClipPrecision, kClipPrecisions));
    element->SetValue(L"Quality", NameOf(font.lfQuality, kQualities));
    element->SetValue(L"Pitch", NameOf(font.lfPitchAndFamily & 0x3, kPitches));
    element->SetValue(L"Family", NameOf(font.lfPitchAndFamily & 0xF0, kFamilies));
    element->SetValue(L"FaceName", font.lfFaceName);
}
