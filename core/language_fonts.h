#pragma once
// The fonts of one language: its default font and the fonts "GetFont" made from descriptions.
// Fonts belong to the drawing layer, which core may not include, so the UI layer installs
// the maker; until it does, a language has no fonts and every font lookup answers null.
#include <memory>

#include "platform/base/string_map.h"

class CFont;

namespace orvo {

class LanguageFonts {
public:
    virtual ~LanguageFonts() = default;
    // The font made from the language's "Font" element (the default font without one).
    virtual CFont* DefaultFont() = 0;
    // The default description changed by the "key=value,..." pairs of `description`; equal
    // descriptions answer the same font, which lives as long as this set.
    virtual CFont* GetFont(const wchar_t* description) = 0;
};

// Makes the fonts of a language whose "Font" element had `defaultDescription`.
using LanguageFontMaker =
    std::unique_ptr<LanguageFonts> (*)(const CMapStringToString& defaultDescription);

// Null removes the maker; languages keep the fonts they already made.
void SetLanguageFontMaker(LanguageFontMaker maker);
LanguageFontMaker GetLanguageFontMaker();

} // namespace orvo
