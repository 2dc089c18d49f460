// String toolbox. Strings are kyn::String (UTF-16); positions count from 1 and
// 0 means "not found". A blank is the character with code 32 only; tabs and
// other white space are not blanks. "ASCII case folding" changes only the
// letters A-Z / a-z; "locale case folding" is the full, locale-aware mapping
// of kyn/platform/locale.h.
//
// No function raises: out-of-range arguments give an empty string, 0 or
// false. All functions take their arguments by value and return new strings.
//
// Tables of 256 entries (WordSeps, the character classes of StringContains,
// the scramble tables) cover the codes 0..255. A character above 255 is never
// a member of such a set and is passed through unchanged by the scrambler.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "kyn/kynbase/types.h"
#include "kyn/platform/string.h"

namespace kyn {

// A set of character codes 0..255, bit c set for code c. Characters above
// 255 are never members.
struct TCharSet256 {
  std::array<uint8_t, 32> bits{};
  constexpr bool Contains(char16_t c) const { return c < 256 && (bits[c >> 3] >> (c & 7)) & 1; }
};

// The word separators: codes 0, 10, 13, the blank, the double quote and
// #%'()*+,-./:;<=>[\]{}.
extern const TCharSet256 WordSeps;

// The parts produced by Tokenize, indexed from 0.
using TOpenStringArray = std::vector<String>;

// ---- Trimming, padding and framing ------------------------------------------

// s without leading and trailing blanks; a string of blanks only gives "".
String StripLTBlanks(StringView s);
// s without leading blanks; a string of blanks only keeps one blank.
String StripLeadingBlanks(StringView s);
// s without trailing blanks; a string of blanks only keeps one blank.
String StripTrailingBlanks(StringView s);
// s without trailing c; a string made only of c keeps one c.
String StripTrailingChars(char16_t c, StringView s);
// s without leading c; a string made only of c gives "".
String StripLeadingChars(char16_t c, StringView s);
// s padded with blanks on the right to Width; a longer s is cut to Width.
String LeftString(StringView s, uint8_t Width);
// s padded with blanks on the left to Width; a longer s is cut to its first
// Width characters.
String RightString(StringView s, uint8_t Width);
// s with (Width - length) div 2 blanks before it and the rest after it; a
// string as long as Width or longer is cut to its first Width characters.
String CenterString(StringView s, uint8_t Width);
// s if its length <= MaxLength, else its first MaxLength-2 characters and
// "..". A MaxLength below 2 leaves only the "..".
String AbbrevString(StringView s, int32_t MaxLength);
// Count copies of c, Count clamped to 1..255.
String MultiChar(char16_t c, int32_t Count);
// s with "\" appended unless it ends with one; "" stays "".
String EnsureTrailingBkSlash(StringView s);
// s with c appended unless it ends with c; "" stays "".
String EnsureTrailingChar(char16_t c, StringView s);
// c put in front of s unless s begins with c; "" stays "".
String EnsureLeadingChar(char16_t c, StringView s);
// Position of the first character that is not a blank; 0 if none.
int32_t FindFirstNonBlank(StringView s);

// ---- Searching, comparing and counting --------------------------------------

// Position in s of the n-th occurrence of Sub found at or after Start
// (occurrences never overlap: each search resumes after the previous match).
// Start below 1 counts as 1. 0 when there are fewer, when n <= 0 or when Sub
// is empty. IgnoreCase folds both with ASCII case folding.
int32_t NumberedPos(StringView Sub, StringView s, int32_t Start, int32_t n, bool IgnoreCase);
// Position of the last non-overlapping occurrence of Sub (found left to
// right); 0 if none. PosLast("aa", "aaa") = 1.
int32_t PosLast(StringView Sub, StringView s);
// 1-based index of the first list element equal to s; 0 if none.
int32_t StringIx(StringView s, const TStrArray& List);
// As above; CaseSensitive false compares after ASCII case folding.
int32_t StringIx(StringView s, bool CaseSensitive, const TStrArray& List);
// Non-overlapping occurrences of Sub in s (0 for an empty Sub).
int32_t CountStringInString(StringView Sub, StringView s, bool CaseSensitive);
// Characters of s equal to c (compared after ASCII upper-casing when not
// CaseSensitive).
int32_t CountCharInString(char16_t c, StringView s, bool CaseSensitive);
// True if s is not empty and every character is c.
bool TestAllChar(StringView s, char16_t c);
// Character classes: CharList names the members; the tokens "//dig" (0-9),
// "//lc" (a-z), "//uc" (A-Z), "//31dwn" (codes 0-31) and "//128up" (codes
// 128-255) stand for whole ranges. Characters above 255 are never members.
// True if at least one character of s belongs to the class.
bool StringContains(StringView s, StringView CharList);
// True if at least one character of s does not belong to the class.
bool StringContainsOtherThan(StringView s, StringView CharList);
// True if a and b are equal without regard to case by the locale's
// comparison. The whole strings are compared, code 0 included.
bool EqualAnsiStrings(StringView a, StringView b);

// ---- Replacing, removing and converting -------------------------------------

// s with every OldChar replaced by NewChar.
String ReplaceCharInString(StringView s, char16_t OldChar, char16_t NewChar);
// s with every occurrence of Find replaced, left to right; inserted text is
// never searched again. IgnoreCase matches with ASCII case folding and
// inserts Replacement unchanged. An empty Find changes nothing.
String ReplaceStringInString(StringView s, StringView Find, StringView Replacement, bool IgnoreCase);
// s without any c.
String RemoveCharInString(StringView s, char16_t c);
// s without the characters of codes 0..31.
String RemoveControlChars(StringView s);
// s with every character outside 0-9, A-Z, a-z replaced by "_".
String ReduceStringToAZ09(StringView s);
// s with every character not allowed in a short (8.3) file name replaced by
// "_". Allowed: ! #$%&'() -. 0-9 @ A-Z ^_` a-z { } ~.
String ReduceStringToFN83CompliantChars(StringView s);
// The code units of s in reverse order.
String ReverseString(StringView s);
// Resolves escapes: "\#hh" (two hexadecimal digits) becomes the character
// with that code, "\\" becomes "\". Any other "\" stays. The hex text is read
// by ScanHexNum, so a malformed or short one yields the code it scans (0
// when it holds no digit).
String ProcessHexChars(StringView s);
// Spells out German special letters: ä ö ü ß µ -> ae oe ue ss u; Ä Ö Ü ->
// Ae Oe Ue before a letter a-z, else AE OE UE.
String ExpandDiphthongs(StringView s);

// ---- Character tests -----------------------------------------------------------

bool IsDigit(char16_t c);        // 0-9
bool IsLetter(char16_t c);       // a-z, A-Z
bool IsDigitLetter(char16_t c);  // 0-9, a-z, A-Z
bool IsHexChar(char16_t c);      // 0-9, a-f, A-F
bool IsUmlaut(char16_t c);       // one of äöüÄÖÜß

// ---- Case -------------------------------------------------------------------------

// Upper-cases (ASCII) the first letter of every word. A word starts after any
// character up to code 127 that is neither a letter nor a digit; letters and
// characters above 127 continue a word, and so do digits ("2nd" stays).
String CapitalizeString(StringView s);
// Toggles the case of every character with locale case folding: a character
// that upper-casing leaves unchanged is lower-cased, any other is upper-cased.
String ChangeCase(StringView s);
// True if the longest run of capitals A-Z is at least 2 and longer than the
// number of characters a-z and 0-9 ("NASA", "USB3", not "PhD").
bool IsAbbreviation(StringView s);

// ---- Words, parts and lines -----------------------------------------------------

// Number of words: runs of at least 2 non-separators (WordSeps) that are
// followed by a separator. A run at the very end of s is not counted.
int32_t CountWords(StringView s);
// The word (run of non-separators) containing Position; a separator at
// Position gives that one character; "" for a position outside s.
String ExtractWordFromString(StringView s, int32_t Position);
// As above, with the first and last positions of the result (0, 0 for "").
String ExtractWordFromString(StringView s, int32_t Position, int32_t& WordStart, int32_t& WordEnd);
// Part number Index (from 0) of s divided at each Delimiter. "" when Index < 0,
// s is empty, the part is missing or empty, or the part begins with the
// Delimiter under locale case folding. An empty Delimiter does not divide.
// The whole of s is used, code 0 included.
String ExtractSubString(StringView s, int32_t Index, StringView Delimiter);
// Splits s at the first 99 occurrences of Delimiter: at most 100 parts, the
// last holding the rest of s. Returns the number of parts (at least 1).
int32_t Tokenize(StringView s, StringView Delimiter, TOpenStringArray& Parts);
// As above, but a Delimiter preceded by Escape does not split. Afterwards each
// part has doubled Escapes replaced by one and Escape + Delimiter by the
// Delimiter (matched with ASCII case folding).
int32_t Tokenize(StringView s, StringView Delimiter, char16_t Escape, TOpenStringArray& Parts);
// Reads the next line of s from Position (a Position below 1 counts as 1),
// advancing Position past every character read. Control characters (codes
// below 32) are never copied. LineEndMode: 0 ends at LF, 1 at CR, 2 at CR or
// LF, 3 at CR directly after LF, 4 at LF directly after CR, other values only
// at the end of s. EndReached becomes true when the end of s was reached
// before a line end.
String ReadLnString(StringView s, int32_t& Position, bool& EndReached, int32_t LineEndMode);

// ---- Scrambling ---------------------------------------------------------------------

// Seeds the process-wide random generator with Seed and builds the scramble
// tables: a random permutation of the codes 1..255 and its inverse (0 maps
// to 0). The module start-up runs InitScramble(5807).
void InitScramble(int32_t Seed);
// Every code 0..255 replaced through the forward table; characters above 255
// stay as they are.
String Scramble(StringView s);
// The inverse of Scramble with the same seed.
String DeScramble(StringView s);

}  // namespace kyn
