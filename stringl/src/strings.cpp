#include "kyn/stringl/strings.h"

#include <algorithm>

#include "kyn/kynbase/numscan.h"
#include "kyn/platform/locale.h"

namespace kyn {

namespace {


constexpr TCharSet256 MakeWordSeps() {
  TCharSet256 s{};
  constexpr char16_t members[] = u"\x01\n\r \"#%'()*+,-./:;<=>[\\]{}";
  for (char16_t c : members) {
    if (c == 0) continue;  // the terminator; code 0 is added below
    if (c == 1) c = 0;     // stands for code 0 inside the literal
    s.bits[c >> 3] = static_cast<uint8_t>(s.bits[c >> 3] | (1u << (c & 7)));
  }
  return s;
}

constexpr char16_t kBlank = u' ';

// 0-based offsets of the non-overlapping occurrences of Sub in s, found left
// to right from offset from; calls f(offset) for each until f returns false.
template <typename F>
void ForEachOccurrence(StringView Sub, StringView s, size_t from, F f) {
  if (Sub.empty()) return;
  while (from <= s.size()) {
    const size_t p = s.find(Sub, from);
    if (p == StringView::npos || !f(p)) return;
    from = p + Sub.size();
  }
}

}  // namespace

constinit const TCharSet256 WordSeps = MakeWordSeps();

// ---- Trimming, padding and framing ------------------------------------------

String StripLTBlanks(StringView s) {
  const size_t b = s.find_first_not_of(kBlank);
  if (b == StringView::npos) return String();
  const size_t e = s.find_last_not_of(kBlank);
  return String(s.substr(b, e - b + 1));
}

String StripLeadingBlanks(StringView s) {
  if (s.empty()) return String();
  const size_t b = s.find_first_not_of(kBlank);
  if (b == StringView::npos) return String(1, kBlank);
  return String(s.substr(b));
}

String StripTrailingBlanks(StringView s) { return StripTrailingChars(kBlank, s); }

String StripTrailingChars(char16_t c, StringView s) {
  if (s.empty()) return String();
  const size_t e = s.find_last_not_of(c);
  if (e == StringView::npos) return String(1, c);
  return String(s.substr(0, e + 1));
}

String StripLeadingChars(char16_t c, StringView s) {
  const size_t b = s.find_first_not_of(c);
  if (b == StringView::npos) return String();
  return String(s.substr(b));
}

String LeftString(StringView s, uint8_t Width) {
  String r(s.substr(0, Width));
  r.resize(Width, kBlank);
  return r;
}

String RightString(StringView s, uint8_t Width) {
  if (s.size() >= Width) return String(s.substr(0, Width));
  return String(Width - s.size(), kBlank) + String(s);
}

String CenterString(StringView s, uint8_t Width) {
  if (s.size() >= Width) return String(s.substr(0, Width));
  const size_t pad = Width - s.size();
  String r(pad / 2, kBlank);
  r += s;
  r.resize(Width, kBlank);
  return r;
}

String AbbrevString(StringView s, int32_t MaxLength) {
  if (MaxLength >= 0 && s.size() <= static_cast<size_t>(MaxLength)) return String(s);
  const size_t keep = MaxLength > 2 ? static_cast<size_t>(MaxLength - 2) : 0;
  return String(s.substr(0, keep)) + u"..";
}

String MultiChar(char16_t c, int32_t Count) { return String(static_cast<size_t>(std::clamp(Count, 1, 255)), c); }

String EnsureTrailingBkSlash(StringView s) { return EnsureTrailingChar(u'\\', s); }

String EnsureTrailingChar(char16_t c, StringView s) {
  if (s.empty() || s.back() == c) return String(s);
  String r(s);
  r += c;
  return r;
}

String EnsureLeadingChar(char16_t c, StringView s) {
  if (s.empty() || s.front() == c) return String(s);
  String r;
  r.reserve(s.size() + 1);
  r += c;
  r += s;
  return r;
}

int32_t FindFirstNonBlank(StringView s) {
  const size_t b = s.find_first_not_of(kBlank);
  return b == StringView::npos ? 0 : static_cast<int32_t>(b + 1);
}

// ---- Searching, comparing and counting --------------------------------------

int32_t NumberedPos(StringView Sub, StringView s, int32_t Start, int32_t n, bool IgnoreCase) {
  if (n <= 0 || Sub.empty()) return 0;
  if (Start < 1) Start = 1;
  if (static_cast<size_t>(Start) > s.size()) return 0;
  String fs, fsub;
  if (IgnoreCase) {
    fs = AsciiLowerCase(s);
    fsub = AsciiLowerCase(Sub);
    s = fs;
    Sub = fsub;
  }
  int32_t found = 0;
  int32_t result = 0;
  ForEachOccurrence(Sub, s, static_cast<size_t>(Start - 1), [&](size_t p) {
    if (++found < n) return true;
    result = static_cast<int32_t>(p + 1);
    return false;
  });
  return result;
}

int32_t PosLast(StringView Sub, StringView s) {
  int32_t last = 0;
  ForEachOccurrence(Sub, s, 0, [&](size_t p) {
    last = static_cast<int32_t>(p + 1);
    return true;
  });
  return last;
}

int32_t StringIx(StringView s, const TStrArray& List) {
  for (size_t i = 0; i < List.size(); ++i)
    if (List[i] == s) return static_cast<int32_t>(i + 1);
  return 0;
}

int32_t StringIx(StringView s, bool CaseSensitive, const TStrArray& List) {
  if (CaseSensitive) return StringIx(s, List);
  const String fs = AsciiLowerCase(s);
  for (size_t i = 0; i < List.size(); ++i)
    if (AsciiLowerCase(List[i]) == fs) return static_cast<int32_t>(i + 1);
  return 0;
}

int32_t CountStringInString(StringView Sub, StringView s, bool CaseSensitive) {
  String fs, fsub;
  if (!CaseSensitive) {
    fs = AsciiLowerCase(s);
    fsub = AsciiLowerCase(Sub);
    s = fs;
    Sub = fsub;
  }
  int32_t count = 0;
  ForEachOccurrence(Sub, s, 0, [&](size_t) {
    ++count;
    return true;
  });
  return count;
}

int32_t CountCharInString(char16_t c, StringView s, bool CaseSensitive) {
  if (!CaseSensitive) c = AsciiUpper(c);
  int32_t count = 0;
  for (char16_t x : s)
    if ((CaseSensitive ? x : AsciiUpper(x)) == c) ++count;
  return count;
}

bool TestAllChar(StringView s, char16_t c) {
  return !s.empty() && s.find_first_not_of(c) == StringView::npos;
}

namespace {

// The flag table of a character list: the class tokens stand for whole
// ranges. Tokens cannot overlap (each begins with "//" followed by a letter or
// digit) and their expansions hold no "/", so no expansion creates a new
// token: one left-to-right pass expands exactly what repeated replacement of
// first occurrences would.
std::array<bool, 256> CharClass(StringView CharList, bool Member) {
  struct Token {
    StringView text;
    char16_t first, last;
  };
  static constexpr Token kTokens[] = {{u"//dig", u'0', u'9'},
                                      {u"//lc", u'a', u'z'},
                                      {u"//uc", u'A', u'Z'},
                                      {u"//31dwn", 0, 31},
                                      {u"//128up", 128, 255}};
  std::array<bool, 256> flags;
  flags.fill(!Member);
  size_t i = 0;
  while (i < CharList.size()) {
    bool matched = false;
    for (const Token& t : kTokens) {
      if (CharList.substr(i, t.text.size()) == t.text) {
        for (unsigned c = t.first; c <= t.last; ++c) flags[c] = Member;
        i += t.text.size();
        matched = true;
        break;
      }
    }
    if (matched) continue;
    if (CharList[i] < 256) flags[CharList[i]] = Member;
    ++i;
  }
  return flags;
}

// True as soon as a character of s has its flag set; characters above 255
// count as non-members of the listed class.
bool AnyFlagged(StringView s, const std::array<bool, 256>& flags, bool above255) {
  for (char16_t c : s)
    if (c < 256 ? flags[c] : above255) return true;
  return false;
}

}  // namespace

bool StringContains(StringView s, StringView CharList) {
  return AnyFlagged(s, CharClass(CharList, true), false);
}

bool StringContainsOtherThan(StringView s, StringView CharList) {
  return AnyFlagged(s, CharClass(CharList, false), true);
}

bool EqualAnsiStrings(StringView a, StringView b) { return LocaleSameText(a, b); }

// ---- Replacing, removing and converting -------------------------------------

String ReplaceCharInString(StringView s, char16_t OldChar, char16_t NewChar) {
  String r(s);
  for (char16_t& c : r)
    if (c == OldChar) c = NewChar;
  return r;
}

String ReplaceStringInString(StringView s, StringView Find, StringView Replacement, bool IgnoreCase) {
  // Searching resumes right after each inserted replacement, so the matches
  // are exactly the non-overlapping occurrences in the original s.
  String fs, ffind;
  StringView hay = s, needle = Find;
  if (IgnoreCase) {
    fs = AsciiLowerCase(s);
    ffind = AsciiLowerCase(Find);
    hay = fs;
    needle = ffind;
  }
  String r;
  size_t copied = 0;
  ForEachOccurrence(needle, hay, 0, [&](size_t p) {
    r.append(s.substr(copied, p - copied));
    r.append(Replacement);
    copied = p + Find.size();
    return true;
  });
  r.append(s.substr(copied));
  return r;
}

String RemoveCharInString(StringView s, char16_t c) {
  String r;
  r.reserve(s.size());
  for (char16_t x : s)
    if (x != c) r += x;
  return r;
}

String RemoveControlChars(StringView s) {
  String r;
  r.reserve(s.size());
  for (char16_t x : s)
    if (x >= 32) r += x;
  return r;
}

String ReduceStringToAZ09(StringView s) {
  String r(s);
  for (char16_t& c : r)
    if (!IsDigitLetter(c)) c = u'_';
  return r;
}

String ReduceStringToFN83CompliantChars(StringView s) {
  auto allowed = [](char16_t c) {
    return c == 33 || (c >= 35 && c <= 41) || c == 45 || c == 46 || (c >= 48 && c <= 57) ||
           (c >= 64 && c <= 90) || (c >= 94 && c <= 123) || c == 125 || c == 126;
  };
  String r(s);
  for (char16_t& c : r)
    if (!allowed(c)) c = u'_';
  return r;
}

String ReverseString(StringView s) { return String(s.rbegin(), s.rend()); }

String ProcessHexChars(StringView s) {
  String r;
  r.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    const char16_t c = s[i];
    if (c == u'\\' && i + 1 < s.size()) {
      if (s[i + 1] == u'#') {
        int32_t pos = 1;
        r += static_cast<char16_t>(ScanHexNum(s.substr(i + 2, 2), pos));
        i += 4;
        continue;
      }
      if (s[i + 1] == u'\\') {
        r += u'\\';
        i += 2;
        continue;
      }
    }
    r += c;
    ++i;
  }
  return r;
}

String ExpandDiphthongs(StringView s) {
  String r;
  r.reserve(s.size() + s.size() / 4);
  for (size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    switch (c) {
      case 228: r += u"ae"; break;
      case 246: r += u"oe"; break;
      case 252: r += u"ue"; break;
      case 223: r += u"ss"; break;
      case 181: r += u'u'; break;
      case 196:
      case 214:
      case 220: {
        r += c == 196 ? u'A' : c == 214 ? u'O' : u'U';
        const bool lowerNext = i + 1 < s.size() && s[i + 1] >= u'a' && s[i + 1] <= u'z';
        r += lowerNext ? u'e' : u'E';
        break;
      }
      default: r += c;
    }
  }
  return r;
}

// ---- Character tests -----------------------------------------------------------

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsDigitLetter(char16_t c) { return IsDigit(c) || IsLetter(c); }
bool IsHexChar(char16_t c) { return IsDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }
bool IsUmlaut(char16_t c) {
  return c == 228 || c == 246 || c == 252 || c == 196 || c == 214 || c == 220 || c == 223;
}

// ---- Case -------------------------------------------------------------------------

String CapitalizeString(StringView s) {
  String r(s);
  bool wordStart = true;
  for (char16_t& c : r) {
    if (IsLetter(c) || c > 127) {
      if (wordStart) c = AsciiUpper(c);
      wordStart = false;
    } else if (IsDigit(c)) {
      wordStart = false;
    } else {
      wordStart = true;
    }
  }
  return r;
}

String ChangeCase(StringView s) {
  // Character by character (a surrogate pair is one character).
  String r;
  r.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    size_t n = 1;
    if (s[i] >= 0xD800 && s[i] <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) n = 2;
    const StringView ch = s.substr(i, n);
    const String up = LocaleUpper(ch);
    r += up == ch ? LocaleLower(ch) : up;
    i += n;
  }
  return r;
}

bool IsAbbreviation(StringView s) {
  int32_t run = 0, longest = 0, k = 0;
  for (char16_t c : s) {
    if (c >= u'A' && c <= u'Z') {
      longest = std::max(longest, ++run);
      continue;
    }
    run = 0;
    if ((c >= u'a' && c <= u'z') || IsDigit(c)) ++k;
  }
  return longest >= 2 && k < longest;
}

// ---- Words, parts and lines -----------------------------------------------------

int32_t CountWords(StringView s) {
  int32_t words = 0, run = 0;
  for (char16_t c : s) {
    if (WordSeps.Contains(c)) {
      if (run >= 2) ++words;
      run = 0;
    } else {
      ++run;
    }
  }
  return words;
}

String ExtractWordFromString(StringView s, int32_t Position) {
  int32_t b, e;
  return ExtractWordFromString(s, Position, b, e);
}

String ExtractWordFromString(StringView s, int32_t Position, int32_t& WordStart, int32_t& WordEnd) {
  WordStart = WordEnd = 0;
  if (Position < 1 || static_cast<size_t>(Position) > s.size()) return String();
  const size_t at = static_cast<size_t>(Position - 1);
  if (WordSeps.Contains(s[at])) {
    WordStart = WordEnd = Position;
    return String(1, s[at]);
  }
  size_t b = at, e = at;
  while (b > 0 && !WordSeps.Contains(s[b - 1])) --b;
  while (e + 1 < s.size() && !WordSeps.Contains(s[e + 1])) ++e;
  WordStart = static_cast<int32_t>(b + 1);
  WordEnd = static_cast<int32_t>(e + 1);
  return String(s.substr(b, e - b + 1));
}

String ExtractSubString(StringView s, int32_t Index, StringView Delimiter) {
  if (Index < 0 || s.empty()) return String();
  size_t from = 0;
  for (int32_t i = 0; i < Index; ++i) {
    if (Delimiter.empty()) return String();
    const size_t p = s.find(Delimiter, from);
    if (p == StringView::npos) return String();
    from = p + Delimiter.size();
  }
  const size_t end = Delimiter.empty() ? StringView::npos : s.find(Delimiter, from);
  const StringView part = s.substr(from, end == StringView::npos ? StringView::npos : end - from);
  if (part.empty()) return String();
  if (!Delimiter.empty() && LocaleLower(part).starts_with(LocaleLower(Delimiter))) return String();
  return String(part);
}

namespace {

constexpr int32_t kMaxParts = 100;

// Splits s at the delimiter occurrences that skip(p) does not reject (p is
// the 0-based offset of the occurrence within the remaining text).
template <typename Skip>
int32_t SplitParts(StringView s, StringView Delimiter, TOpenStringArray& Parts, Skip skip) {
  Parts.assign(kMaxParts, String());
  int32_t n = 0;
  StringView rest = s;
  while (n < kMaxParts - 1 && !Delimiter.empty()) {
    size_t p = rest.find(Delimiter);
    while (p != StringView::npos && skip(rest, p)) p = rest.find(Delimiter, p + 1);
    if (p == StringView::npos) break;
    Parts[static_cast<size_t>(n++)] = String(rest.substr(0, p));
    rest.remove_prefix(p + Delimiter.size());
  }
  Parts[static_cast<size_t>(n++)] = String(rest);
  Parts.resize(static_cast<size_t>(n));
  return n;
}

}  // namespace

int32_t Tokenize(StringView s, StringView Delimiter, TOpenStringArray& Parts) {
  return SplitParts(s, Delimiter, Parts, [](StringView, size_t) { return false; });
}

int32_t Tokenize(StringView s, StringView Delimiter, char16_t Escape, TOpenStringArray& Parts) {
  const int32_t n = SplitParts(s, Delimiter, Parts,
                               [Escape](StringView rest, size_t p) { return p > 0 && rest[p - 1] == Escape; });
  const String esc(1, Escape);
  const String doubled = esc + esc;
  const String escDelim = esc + String(Delimiter);
  for (String& part : Parts) {
    part = ReplaceStringInString(part, doubled, esc, true);
    part = ReplaceStringInString(part, escDelim, Delimiter, true);
  }
  return n;
}

String ReadLnString(StringView s, int32_t& Position, bool& EndReached, int32_t LineEndMode) {
  EndReached = false;
  if (Position < 1) Position = 1;
  String line;
  char16_t prev = 0;
  bool hasPrev = false;
  for (;;) {
    if (static_cast<size_t>(Position) > s.size()) {
      EndReached = true;
      return line;
    }
    const char16_t c = s[static_cast<size_t>(Position - 1)];
    ++Position;
    if (c >= 32) {
      line += c;
    } else {
      bool ends = false;
      switch (LineEndMode) {
        case 0: ends = c == 10; break;
        case 1: ends = c == 13; break;
        case 2: ends = c == 10 || c == 13; break;
        case 3: ends = c == 13 && hasPrev && prev == 10; break;
        case 4: ends = c == 10 && hasPrev && prev == 13; break;
        default: break;
      }
      if (ends) return line;
    }
    prev = c;
    hasPrev = true;
  }
}

}  // namespace kyn
