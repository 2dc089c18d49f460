// TStringArray: a matrix of short strings addressed by column and row, with
// pooled text storage, a sort index, searches and an XML file form.
//
// Storage. Cell text is 8-bit Windows-1252, at most 255 characters. Texts are
// packed into 32768-byte pools (TStringPool); a cell holds a 32-bit address:
// pool number (1-based) in the high 16 bits, 1-based offset in the low 16
// bits, 0 for "no string" (reads as empty). A stored text is one length byte
// followed by its characters. Rewriting a cell reuses its slot only when the
// new text is not longer than the one it holds; otherwise the text goes to the
// end of the first pool with room (a new pool when none has), and the old slot
// is abandoned until GarbageCollection packs each pool in place (texts never
// move between pools). Clear keeps one pool and releases the others.
//
// Columns 0..NrOfColumns all hold cells (column 0 is a real column); column
// attributes exist for columns 1..NrOfColumns. Rows are numbered 1..NrOfRows.
//
// Sort index. Every row number a caller passes is a view row; the sort index
// maps it to the stored row that holds its cells and attribute. Sort permutes
// only the index; CommitSorting rewrites the storage in view order, UnSort
// returns to stored order, and any resize or Clear drops a pending order.
// InsertRow and RemoveRow keep the view order of the other rows.
//
// Text conversion. The String interface converts at the boundary: text handed
// in is encoded to Windows-1252, characters without a Windows-1252 byte become
// "?", and the result is cut to its first 255 characters. Cells are widened
// back through Windows-1252 wherever they are read, compared, searched,
// converted to numbers or handed to OnBeforeSortExchange. Every byte value
// round-trips (the five bytes Windows-1252 leaves undefined widen to the C1
// control of the same code).
//
// Running out of memory. A resize that cannot get its storage returns false
// and leaves size and contents as they were. When a text needs a new pool and
// none can be had (memory exhausted, or all 65535 pool numbers in use),
// SetString raises EKYNDStructError("Class TStringArray: out of memory (no
// room for another string pool)") and leaves the cell as it was; Fill and
// CopyRow stop at that cell, the cells written before it keep their new text.
// InsertRow never needs a pool (the new row's cells hold no string); when the
// row storage cannot grow it does nothing.
//
// AllocRowsBy. Any value is stored and read back; row storage grows in steps
// of AllocRowsBy, a value below 1 growing in steps of 1.
//
// Numbers. GetAsNumber trims blanks, reads commas as full stops and accepts
// [+|-] digits [. digits] [(E|e) [+|-] digits], where the mantissa needs at
// least one digit on either side of the full stop ("5." and ".5" are numbers;
// "." , "e5" and "1e" are not). Values beyond the double range give an
// infinity (GetAsInteger then clamps) and tiny ones 0.
//
// Sorting compares the widened, lower-cased (A-Z only) texts by UTF-16 code
// units. Without an OnBeforeSortExchange handler it runs on the 8-bit cells
// through a byte ranking that gives exactly that order and allocates nothing
// per comparison.
//
// Robustness against a corrupted sort index (SetSortOrder does not check that
// the index stays a permutation): a view row whose index entry lies outside
// 1..NrOfRows reads as empty and ignores writes, and CommitSorting commits
// only an index that is a permutation of 1..NrOfRows (otherwise it does
// nothing).
//
// XML form (WriteToOpenXMLFile / ReadFromOpenXMLFile). Lines end with CR LF;
// the file is Windows-1252, so every cell byte is written as the character it
// stands for:
//
//   <?xml version="1.0"?>                      (only with CreateHeader)
//                                              (empty line)
//   <!-- TStringArray / Kyn Component Suite -->
//   <strarray sig="Quarnelix" vers="1.0" id="DataID">
//     <size cols="n" rows="N" />
//     <colattr c="C" val="B" />                (one per nonzero column attribute)
//     <rowattr r="R" val="B" />                (one per nonzero row attribute)
//     <cell c="C" r="R">text</cell>            (one per non-empty cell)
//   </strarray>
//
// Rows are written in view order (R is the view row). Cells are written row
// by row, columns 0..n; empty cells are left out. In cell text and in the
// identifier "&" "<" ">" and the double quote are written as &amp; &lt; &gt;
// &quot;, and characters below 32 as &#N; (decimal), so every text stays on
// one line and round-trips exactly. The reader also accepts &apos; and &#xH;.
// The reader searches line by line from the file's current position for a
// start line holding "<strarray", the signature and (unless DataID is empty)
// id="DataID", the identifier compared without regard to the case of A-Z. It
// then reads one element per line until "</strarray>" and stops after that
// line, so several arrays can follow each other in one file. A missing start
// line, a missing or invalid size, or the end of the file before the end line
// give false and leave the array unchanged; lines it does not know, and cells
// or attributes outside the size, are skipped. A successful read replaces
// size, cells and attributes (the sort order is reset, AllocRowsBy and the
// callbacks stay) and fires OnChange once. File errors propagate as the text
// file layer raises them.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "kyn/kynbase/errors.h"
#include "kyn/kynbase/types.h"
#include "kyn/platform/classes.h"
#include "kyn/platform/string.h"
#include "kyn/platform/textfile.h"

namespace kyn {

using TStringPool = std::array<uint8_t, 0x8000>;

// Lets the caller replace the text the sort compares for a cell. OutString
// arrives holding InString.
using TBeforeSortExchgEvent = std::function<void(TObject* Sender, const String& InString, String& OutString)>;

class TStringArray : public TComponent {
 public:
  explicit TStringArray(TComponent* AOwner);
  ~TStringArray() override;
  String ClassName() const override { return u"TStringArray"; }

  // Size and growth.
  int32_t NrOfColumns() const { return FNCol; }
  void SetNrOfColumns(int32_t v) { Resize(v, FNRow); }
  int32_t NrOfRows() const { return FNRow; }
  void SetNrOfRows(int32_t v) { Resize(FNCol, v); }
  int32_t AllocRowsBy() const { return FAllocRowsBy; }
  void SetAllocRowsBy(int32_t v) { FAllocRowsBy = v; }
  int32_t NumBuffers() const { return FNumPoolAddr; }

  // Events.
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent f) { FOnChange = std::move(f); }
  const TOnPercentDoneEvent& OnPercentDone() const { return FOnPercentDone; }
  void SetOnPercentDone(TOnPercentDoneEvent f) { FOnPercentDone = std::move(f); }
  const TBeforeSortExchgEvent& OnBeforeSortExchange() const { return FOnBefSortExc; }
  void SetOnBeforeSortExchange(TBeforeSortExchgEvent f) { FOnBefSortExc = std::move(f); }

  // Cells (Elem). Out of range: "" / ignored.
  String GetString(int32_t c, int32_t r) const;
  void SetString(int32_t c, int32_t r, StringView s);
  String Elem(int32_t c, int32_t r) const { return GetString(c, r); }
  void SetElem(int32_t c, int32_t r, StringView s) { SetString(c, r, s); }
  // The cell's 8-bit text as stored / stores 8-bit text (cut to 255 bytes).
  AnsiString GetAnsiString(int32_t c, int32_t r) const;
  void SetAnsiString(int32_t c, int32_t r, std::string_view s);

  double GetAsNumber(int32_t c, int32_t r) const;
  int32_t GetAsInteger(int32_t c, int32_t r) const;
  double AsNumber(int32_t c, int32_t r) const { return GetAsNumber(c, r); }
  int32_t AsInteger(int32_t c, int32_t r) const { return GetAsInteger(c, r); }

  // Rows and shape.
  bool Resize(int32_t Nc, int32_t Nr);
  int32_t AddRow();
  void InsertRow(int32_t r);
  void RemoveRow(int32_t r);
  void CopyRow(int32_t Source, int32_t Target);
  void Clear();
  void Fill(StringView s);
  bool ColumnEmpty(int32_t ACol) const;
  bool RowEmpty(int32_t ARow) const;

  uint8_t GetRowAttrib(int32_t r) const;
  void SetRowAttrib(int32_t r, uint8_t b);
  uint8_t RowAttrib(int32_t r) const { return GetRowAttrib(r); }
  uint8_t GetColAttrib(int32_t c) const;
  void SetColAttrib(int32_t c, uint8_t b);
  uint8_t ColAttrib(int32_t c) const { return GetColAttrib(c); }

  void GarbageCollection();
  void Changed();

  // Sorting and the sort index.
  void Sort(int32_t Col, int32_t ColSec, bool Ascending);
  void UnSort();
  void CommitSorting();
  int32_t GetSortOrder(int32_t ix) const;
  void SetSortOrder(int32_t ix, int32_t position);
  int32_t SortOrder(int32_t ix) const { return GetSortOrder(ix); }

  // Linear searches, row by row and within a row column by column, for the
  // first cell that contains FindStr (FindCell; an empty FindStr is never
  // found) or equals it (FindCellExact). Without MatchCase, A-Z are folded.
  // ColLow or ColHigh = -1 selects columns 0..n, RowLow and RowHigh both -1
  // rows 1..N; bounds are then clamped into range and ordered. Col and row
  // are written only on success.
  bool FindCell(StringView FindStr, bool MatchCase, int32_t ColLow, int32_t ColHigh, int32_t RowLow,
                int32_t RowHigh, int32_t& Col, int32_t& row) const;
  bool FindCellExact(StringView FindStr, bool MatchCase, int32_t ColLow, int32_t ColHigh, int32_t RowLow,
                     int32_t RowHigh, int32_t& Col, int32_t& row) const;
  // Binary search in a column ordered by the search's own comparison; among
  // equal cells the topmost of the run is reported. Without a match row holds
  // the last row probed.
  bool FindCellInSortedColumn(StringView FindStr, bool MatchCase, int32_t ColIx, int32_t RowLow, int32_t RowHigh,
                              bool ColIsAscending, int32_t& row) const;

  // XML file form (see above).
  void WriteToOpenXMLFile(TTextFile& f, bool CreateHeader, const String& DataID) const;
  bool ReadFromOpenXMLFile(TTextFile& f, const String& DataID);
  void SaveAsXMLFile(const String& FName, const String& DataID) const;
  bool LoadFromXMLFile(const String& FName, const String& DataID);

 private:
  struct SortEntry;
  using Pool = std::unique_ptr<TStringPool>;

  // Stored row behind view row r, or 0 when r or its index entry is out of
  // range.
  int32_t StoredRow(int32_t r) const;
  const uint8_t* CellPtr(int32_t c, int32_t s) const;  // nullptr for address 0
  void StoreText(int32_t c, int32_t s, const uint8_t* text, uint32_t len);
  String CellText(int32_t c, int32_t s) const;
  bool Reallocate(int32_t Nc, int32_t Nr, bool ResetIndex);
  void ShrinkRowsTo(int32_t Nr);
  void ResetIndex();
  String BeforeSortExchange(const String& CellText);
  bool FindCellIntern(StringView FindStr, bool MatchCase, int32_t ColLow, int32_t ColHigh, int32_t RowLow,
                      int32_t RowHigh, int32_t& Col, int32_t& row, bool Exact) const;
  void SortWithCallback(int32_t Col, int32_t ColSec, bool Ascending, int64_t T);
  bool SortFast(int32_t Col, int32_t ColSec, bool Ascending, int64_t T);
  void ReportPercent(int64_t done, int64_t T);
  void GarbageCollectionByScan(TStringPool& scratch);

  int32_t FNCol = 1;
  int32_t FNRow = 1;
  int32_t FAllocRowsBy = 10;
  int32_t FRAllocated = 0;
  int32_t FNumPoolAddr = 0;
  std::vector<int32_t> FFirstFree;
  std::vector<std::vector<uint32_t>> FPoiArray;
  std::vector<int32_t> FSortIx;
  std::vector<Pool> FStgPool;
  std::vector<uint8_t> FRowAttrib;
  std::vector<uint8_t> FColAttrib;
  TNotifyEvent FOnChange;
  TBeforeSortExchgEvent FOnBefSortExc;
  TOnPercentDoneEvent FOnPercentDone;
  // For each text length, the first pool that may still have room for it.
  std::array<int32_t, 256> FFitFrom{};
};

namespace detail {
// Sort rank of each 8-bit character: bytes compare by rank exactly as their
// widened, lower-cased (A-Z) UTF-16 code units compare. Ranks run from 1.
const std::array<uint8_t, 256>& StrArrayByteRank();
}  // namespace detail

}  // namespace kyn
