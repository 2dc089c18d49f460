// The names under which enumeration values are written to XML files, one
// entry per value in value order. Readers map a name back by an exact,
// case-sensitive comparison (XmlNameIndex).
#pragma once

#include <array>
#include <string_view>

#include "kyn/kynbase/types.h"

namespace kyn {

using XmlName = std::u16string_view;

inline constexpr std::array<XmlName, 3> xmlVerticalAlignment = {u"vaTop", u"vaCenter", u"vaBottom"};
inline constexpr std::array<XmlName, 3> xmlAlignment = {u"taLeftJustify", u"taRightJustify", u"taCenter"};
inline constexpr std::array<XmlName, 3> xmlBkgFill = {u"bfSimple", u"bfStretch", u"bfTile"};
inline constexpr std::array<XmlName, 3> xmlBoundingBox = {u"bbNone", u"bbFrame", u"bbFaces"};
inline constexpr std::array<XmlName, 2> xmlColorScheme = {u"csBWG", u"csSystem"};
inline constexpr std::array<XmlName, 5> xmlFigType = {u"ftNoFigs", u"ftNum", u"ftTime", u"ftDateTime", u"ftUserText"};
inline constexpr std::array<XmlName, 4> xmlScaleType = {u"sctXB", u"sctXT", u"sctYL", u"sctYR"};
inline constexpr std::array<XmlName, 3> xmlYearLength = {u"ylNone", u"ylYY", u"ylYYYY"};
inline constexpr std::array<XmlName, 3> xmlDateOrder = {u"doMMDDYY", u"doDDMMYY", u"doYYMMDD"};
inline constexpr std::array<XmlName, 4> xmlDateForTime = {u"dtNone", u"dtOnePerChart", u"dtOnePerDay", u"dtAllTicks"};
inline constexpr std::array<XmlName, 2> xmlShadowStyle = {u"ssFlying", u"ssBox"};
inline constexpr std::array<XmlName, 6> xmlFrameStyle = {u"fsNone", u"fsSimple", u"fsLowered",
                                                          u"fsRaised", u"fsEmbossed", u"fsEngraved"};
inline constexpr std::array<XmlName, 3> xmlTimeFormat = {u"tfHHMMSS", u"tfHHhMM", u"tfAMPM"};
inline constexpr std::array<XmlName, 4> xmlDirection = {u"dirUpward", u"dirDownward", u"dirLeftward", u"dirRightward"};
inline constexpr std::array<XmlName, 5> xmlLanguage = {u"lgUnknown", u"lgEnglish", u"lgGerman", u"lgFrench", u"lgSpanish"};
inline constexpr std::array<XmlName, 7> xmlVarKind = {u"rnum", u"dnum", u"snum", u"inum", u"lnum", u"bool", u"strg"};
inline constexpr std::array<XmlName, 4> xmlMouseBoxState = {u"msNormal", u"msFirstCorner", u"msRectDraw", u"msFinished"};
inline constexpr std::array<XmlName, 19> xmlMouseActMode = {
    u"maNone", u"maPan", u"maPanHoriz", u"maPanVert", u"maPanGrid", u"maRubberBand", u"maZoom",
    u"maZoomWind", u"maZoomWindPos", u"maZoomDrag", u"maDragCrossH", u"maDragLabel", u"maRotate",
    u"maRotAndZoom", u"maRotXOnly", u"maRotZOnly", u"maSelectRect", u"maDrawMTrace", u"maZoomPanColors"};
inline constexpr std::array<XmlName, 2> xmlZoomState = {u"zsNormal", u"zsDrawWin"};
inline constexpr std::array<XmlName, 6> xmlCrossHMode = {u"chOff", u"chHoriz", u"chVert", u"chBoth", u"chCrossBox", u"chBox"};
inline constexpr std::array<XmlName, 5> xmlTxtLblMode = {u"tlOff", u"tlsimple", u"tlBox", u"tlUnderline", u"tlShadow"};
inline constexpr std::array<XmlName, 4> xmlTxtLblAttachMode = {u"tlamNone", u"tlamXOnly", u"tlamYOnly", u"tlamBoth"};
inline constexpr std::array<XmlName, 4> xmlFontStyle = {u"fsBold", u"fsItalic", u"fsUnderline", u"fsStrikeOut"};

// Index of Name in Table (exact, case-sensitive), or -1 when absent.
template <size_t N>
constexpr int XmlNameIndex(const std::array<XmlName, N>& Table, std::u16string_view Name) {
  for (size_t i = 0; i < N; ++i)
    if (Table[i] == Name) return static_cast<int>(i);
  return -1;
}

}  // namespace kyn
