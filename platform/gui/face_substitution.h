#pragma once
// Screens name Windows fonts ("굴림", "돋움체", "Tahoma" ...). They map to the fonts this
// system installs: NanumGothic, NanumGothicCoding, NanumMyeongjo and DejaVu, each with a
// fallback that has the glyphs the first lacks (Hangul or Latin), so a Korean label in
// "Arial" still draws.
#include <QStringList>

#include <string_view>

namespace plat {

// The families to ask Qt for, first choice first. Face names compare without case; an
// unknown face that is installed is used as written; an unknown face that is not installed,
// or none, is chosen by pitch and family (LOGFONT::lfPitchAndFamily).
QStringList SubstituteFace(std::wstring_view face, unsigned char pitchAndFamily);

} // namespace plat
