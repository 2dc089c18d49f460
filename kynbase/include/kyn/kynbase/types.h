// Shared types of the suite: growable arrays, points and rectangles, the
// enumerations of the chart vocabulary, callback types and fixed buffers.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "kyn/platform/classes.h"
#include "kyn/platform/string.h"
#include "kyn/platform/variant.h"

namespace kyn {

// Colour value 0x00BBGGRR (red in the low byte); top byte 0xFF marks a
// system colour.
using TColor = uint32_t;

// ---------------------------------------------------------- platform vocabulary
struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
// A set of font styles: bit i stands for the style of ordinal i.
using TFontStyles = uint8_t;
constexpr TFontStyles FontStyleBit(TFontStyle s) { return static_cast<TFontStyles>(1u << s); }

// ---------------------------------------------------------------- arrays
using TDoubleArray = std::vector<double>;
using TSingleArray = std::vector<float>;
using TDouble2DArray = std::vector<TDoubleArray>;
using TDouble3DArray = std::vector<TDouble2DArray>;
using TIntArray = std::vector<int32_t>;
using TInt2DArray = std::vector<TIntArray>;
using TBoolArray = std::vector<uint8_t>;  // one byte per truth value
using TBool2DArray = std::vector<TBoolArray>;
using TStrArray = std::vector<String>;
using TVariantArray = std::vector<Variant>;
using TBytes = std::vector<uint8_t>;

// -------------------------------------------------------------- records
struct TPointDouble {
  double X = 0;
  double Y = 0;
};

// Left, Top, Right, Bottom in this order; TopLeft and BottomRight are views of
// (Left, Top) and (Right, Bottom) sharing their storage.
struct TRectDouble {
  double Left = 0;
  double Top = 0;
  double Right = 0;
  double Bottom = 0;
  TPointDouble& TopLeft() { return *reinterpret_cast<TPointDouble*>(&Left); }
  const TPointDouble& TopLeft() const { return *reinterpret_cast<const TPointDouble*>(&Left); }
  TPointDouble& BottomRight() { return *reinterpret_cast<TPointDouble*>(&Right); }
  const TPointDouble& BottomRight() const { return *reinterpret_cast<const TPointDouble*>(&Right); }
};
static_assert(sizeof(TRectDouble) == 4 * sizeof(double));
static_assert(sizeof(TPointDouble) == 2 * sizeof(double));

using TPDblArray = std::vector<TPointDouble>;

struct TColoredPoint {
  double X = 0;
  double Y = 0;
  uint16_t Flag = 0;
  TColor Color = 0;
};

// ---------------------------------------------------------- fixed buffers
using TBuf4096 = std::array<uint8_t, 4096>;
using TBuf16K = std::array<uint8_t, 16384>;
// A typed view of raw memory reached through a pointer; never allocated.
using TDataBuffer = uint8_t[2147483647];
using TQuad = std::array<TPoint, 4>;  // indexed from 0

// ---------------------------------------------------------- enumerations
enum TBkgFill : uint8_t { bfSimple, bfStretch, bfTile };
enum TBoundingBox : uint8_t { bbNone, bbFrame, bbFaces };
enum TColorScheme : uint8_t { csBWG, csSystem };
enum TDecPSep : uint8_t { dsSystem, dsDot, dsComma, dsBoth };
enum TFigType : uint8_t { ftNoFigs, ftNum, ftTime, ftDateTime, ftUserText };
enum TScaleType : uint8_t { sctXB, sctXT, sctYL, sctYR };
enum TVerticalAlignment : uint8_t { vaTop, vaCenter, vaBottom };
enum TYearLength : uint8_t { ylNone, ylYY, ylYYYY };
enum TDateOrder : uint8_t { doMMDDYY, doDDMMYY, doYYMMDD };
enum TDateForTime : uint8_t { dtNone, dtOnePerChart, dtOnePerDay, dtAllTicks };
enum TShadowStyle : uint8_t { ssFlying, ssBox };
enum TFrameStyle : uint8_t { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };
enum TTimeFormat : uint8_t { tfHHMMSS, tfHHhMM, tfAMPM };
enum TDirection : uint8_t { dirUpward, dirDownward, dirLeftward, dirRightward };
enum TOrientation : uint8_t { orVert, orHoriz };
enum TAxis : uint8_t { atXAxis, atYAxis, atZAxis };
enum TDims : uint8_t { dimX, dimY, dimL, dimT };
enum TCrossHMode : uint8_t { chOff, chHoriz, chVert, chBoth, chCrossBox, chBox };
enum TTxtLblAttachMode : uint8_t { tlamNone, tlamXOnly, tlamYOnly, tlamBoth };
enum TTxtLblMode : uint8_t { tlOff, tlsimple, tlBox, tlUnderline, tlShadow };
enum TDegreeFormat : uint8_t { dfDeg, dfDegMin, dfDegMinSec, dfNumeric };
enum TLanguage : uint8_t { lgUnknown, lgEnglish, lgGerman, lgFrench, lgSpanish };
enum TVarKind : uint8_t { rnum, dnum, snum, inum, lnum, Bool, strg };
enum TMouseBoxState : uint8_t { msNormal, msFirstCorner, msRectDraw, msFinished };
enum TMouseActMode : uint8_t {
  maNone, maPan, maPanHoriz, maPanVert, maPanGrid, maRubberBand, maZoom, maZoomWind,
  maZoomWindPos, maZoomDrag, maDragCrossH, maDragLabel, maRotate, maRotAndZoom, maRotXOnly,
  maRotZOnly, maSelectRect, maDrawMTrace, maZoomPanColors
};
enum TZoomState : uint8_t { zsNormal, zsDrawWin };

// ---------------------------------------------------------- callbacks
// Method callbacks are std::function objects; one counts as assigned when it
// is non-empty. Sender is the object that raises the callback.
using TNotifyEvent = std::function<void(TObject* Sender)>;
using TSortExchgEvent = std::function<void(TObject* Sender, uint8_t ExchgWhat, int32_t index1,
                                           int32_t index2, int32_t first, int32_t last)>;
using TZoomPanEvent = std::function<void(TObject* Sender)>;
using TSelectRectEvent = std::function<void(TObject* Sender, int32_t Layer, double LoX, double LoY,
                                            double HiX, double HiY)>;
using TOnPercentDoneEvent = std::function<void(TObject* Sender, int32_t PercentDone)>;
using TOnCheckAbortEvent = std::function<void(TObject* Sender, bool& Abort)>;
using TOnRubberBandActionEvent = std::function<void(TObject* Sender, const TPoint& APoint)>;
// Procedure callbacks are plain function pointers.
using FeedBackProcType = void (*)(double StateCnt);
using TFeedbackProc = void (*)(TObject* Sender, double StateCnt, double PercentDone);

}  // namespace kyn
