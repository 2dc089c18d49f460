// TAssocArray: a component mapping text keys to variant values.
//
// Entries live in two parallel arrays (keys, values) in insertion order and
// are addressed by index 1..NumEntries. With IgnoreCase true (the default) a
// key is stored lower-cased (A-Z only) when it is added, and lookups fold
// A-Z on both sides, so keys stored in mixed case while IgnoreCase was false
// are still found after switching it on. Lookups examine the entries in
// index order and the first equal one wins; keys are unique when entered
// through Add, while SetKeys stores a key as given and can create duplicates,
// of which lookups then find the lowest index.
//
// The arrays grow to NumEntries + Granularity entries when full; Clear
// resets them to Granularity entries. A Granularity below 0 acts as 0 (the
// arrays then grow one entry at a time).
//
// Lookups go through a hash index over the A-Z-folded keys, kept in step
// with every change; the results are exactly those of a scan in index order.
//
// XML form (WriteToXMLStream / ReadFromXMLStream), lines ending in CR LF,
// text one byte per character in Windows-1252:
//
//   <?xml version="1.0" encoding="windows-1252"?>        (with CreateHeader)
//   <!-- TAssocArray / Kyn Component Suite -->
//   <assocarray sig="Quarnelix" vers="1.0" id="DataID" ignorecase="1">
//     <entry key="alpha" type="double" val="2.5" />
//     <entry key="name" type="string" val="a &lt;b&gt;" />
//     <entry key="nothing" type="null" />
//   </assocarray>
//
// Entries are written in index order. type is the value's kind: "empty",
// "null", "boolean" (val "1" or "0"), "shortint", "smallint", "integer",
// "int64", "byte", "word", "longword", "uint64" (decimal), "single", "double"
// (shortest text that reads back to the same value), "currency" (decimal
// amount with up to four decimals), "date" (the day count as a double) or
// "string". In key, id and val the characters & < > " are written as &amp;
// &lt; &gt; &quot;, and control characters, characters 0x80-0x9F and every
// character outside Windows-1252 as a numeric reference &#N; (a surrogate
// pair as the reference of its code point, a lone surrogate as its own
// code), so keys and values come back exactly.
//
// The reader scans the stream from its position for an assocarray element
// whose sig is "Quarnelix" and whose id equals DataID without regard to the
// case of A-Z (an empty DataID takes the first element), then reads its
// entry elements up to "</assocarray>". On success the entries, in the order
// read and with keys exactly as written (duplicates included), replace the
// array's contents, IgnoreCase takes the element's ignorecase value, and the
// stream is left after the end tag. When no element is found, the stream
// ends inside it, or an entry is malformed (no key, an unknown type, a value
// its type cannot hold), the result is false and the array is unchanged.
// Element and attribute names are matched without regard to case, attribute
// order is free, values may be quoted with " or ', and line layout is
// irrelevant; comments are skipped and other elements inside are ignored.
// The published DataID is a label for the owner to pass to these calls; the
// calls themselves use their DataID parameter.
#pragma once

#include <cstdint>
#include <vector>

#include "kyn/platform/classes.h"
#include "kyn/platform/streams.h"
#include "kyn/platform/string.h"
#include "kyn/platform/variant.h"

namespace kyn {

class TAssocArray : public TComponent {
 public:
  explicit TAssocArray(TComponent* AOwner);
  String ClassName() const override { return u"TAssocArray"; }

  const String& DataID() const { return FDataID; }
  void SetDataID(const String& v) { FDataID = v; }
  bool IgnoreCase() const { return FIgnoreCase; }
  void SetIgnoreCase(bool v) { FIgnoreCase = v; }
  int32_t Granularity() const { return FGranularity; }
  void SetGranularity(int32_t v) { FGranularity = v; }

  int32_t NumEntries() const { return FNEntries; }
  // Length of the key and value arrays (live entries plus spare room).
  int32_t Capacity() const { return static_cast<int32_t>(FKeyArray.size()); }

  // Key of entry ix (1..NumEntries), else empty.
  String GetKeys(int32_t ix) const;
  // Stores v unchanged as the key of entry ix; ignored out of range.
  void SetKeys(int32_t ix, const String& v);
  // Value of entry ix, else a variant holding the empty string.
  Variant GetValues(int32_t ix) const;
  void SetValues(int32_t ix, const Variant& v);

  // Inserts the pair as the new last entry, or replaces the value of an
  // existing key (its key and index stay).
  void Add(const String& Key, const Variant& Value);
  // Deletes the entry; the last entry moves into its index. False if absent.
  bool Remove(const String& Key);
  void Clear();

  // Index (1..NumEntries) of the first entry with an equal key, 0 if none.
  int32_t IndexOf(const String& Key) const;
  // The value, or Null when the key is absent.
  Variant Resolve(const String& Key) const;
  // Numeric kinds (except 64-bit unsigned) give their value; text is read
  // with ScanFPNum (exponent allowed, "." or "," as decimal separator);
  // anything else, and an absent key, gives 0.
  double ResolveAsNumber(const String& Key) const;
  // The value as text (Variant::ToString: integers in decimal, floats in the
  // shortest form that reads back exactly, currency with up to four
  // decimals, dates as YYYY-MM-DD[ hh:mm:ss], truth values as True/False);
  // empty when the key is absent or the value is Null or empty.
  String ResolveAsString(const String& Key) const;

  // Adds the name=value pairs of an XML attribute text (name="value",
  // name='value' or name=value, separated by blanks, tabs or line ends;
  // entity references decoded) as string values, through Add. Reading stops
  // at the first pair without a name or an equals sign. Returns the number
  // of pairs added.
  int32_t AddXMLAttributes(const String& Attributes);
  bool ReadFromXMLStream(TStream& InStream, const String& DataID);
  void WriteToXMLStream(TStream& OutStream, bool CreateHeader, const String& DataID) const;

 private:
  struct TIndexSlot {
    uint32_t Hash;
    int32_t Entry;  // 0-based entry index, -1 for a free slot
  };

  int32_t Lookup(StringView Key) const;  // 0-based, -1 if absent
  bool KeyEquals(StringView Stored, StringView Key) const;
  void IndexInsert(int32_t Entry);
  void IndexErase(int32_t Entry);
  void IndexRenumber(int32_t From, int32_t To);
  size_t IndexFind(int32_t Entry) const;
  void IndexRebuild(size_t Slots);
  void SetArrayLength(size_t n);

  int32_t FNEntries = 0;
  std::vector<Variant> FDataArray;
  std::vector<String> FKeyArray;
  int32_t FGranularity = 1024;
  bool FIgnoreCase = true;
  String FDataID;
  // Open addressing with linear probing over the folded-key hashes; the
  // number of slots is a power of two, at most half of them used.
  std::vector<TIndexSlot> FIndex;
};

}  // namespace kyn
