// TGrep: a compact regular-expression search component.
//
// Pattern language: single characters, "." (any character), sets "[...]"
// ("^" right after "[" negates, "x-y" is a range of codes, "\" escapes),
// literal groups "(...)" (no nesting, no alternation: a group is a literal
// string that can be quantified as a whole), the anchors "^" (first element
// only) and "$" (last element only), the quantifiers "*", "+" and "?" applying
// to one character, ".", a set or a group, "\c" for a literal c, and "\#hh"
// for the character with hexadecimal code hh (resolved before parsing, so the
// character produced is parsed like any pattern character).
//
// The pattern is compiled into at most 64 tokens. Matching tries the start
// positions from SearchStartPos on and reports the first that matches. A
// quantified token inside the pattern takes the shortest repetition that
// lets the rest match; a quantified token ending the pattern takes the
// longest repetition available. A pattern of a single zero-or-more token
// matches every input as a whole. Positions count UTF-16 code units from 1;
// an empty match is reported with MatchEndPos = MatchStartPos - 1.
//
// Limits and the behaviour chosen at them:
//  - More than 64 tokens: error 10. A literal run outside groups longer than
//    255 characters continues in a further literal token (the match is the
//    same); a group longer than 255 characters is error 11.
//  - Sets hold codes 0..255 only: a set member or range end above 255 is
//    error 12. An input character above 255 is never a member of a set, not
//    even of a negated one.
//  - A pattern ending in a lone "\" (where the escaped character is missing)
//    or in a "-" inside a set (where the range end is missing) is error 13.
//  - "\#" followed by fewer than two characters is no hexadecimal escape and
//    stays as it stands.
//  - An empty pattern (no tokens) matches the empty string at
//    SearchStartPos. A SearchStartPos below 1 searches from 1; one beyond
//    L + 1 (L the length of the input) finds nothing, except in the
//    single-zero-or-more case, which follows its own rule (see MatchString).
//  - Inputs of 2^31 - 2 code units or more never match.
//  - ASCII case folding only ("A".."Z"); IgnoreCase folds pattern and input
//    to lower case.
//
// Running time: besides the plain backtracking search, the matcher keeps,
// once a search has done a lot of work, a table of the (position, token)
// pairs and repetition loops that already failed in this search, so that
// no failure is explored twice. Results, match positions and the ValidFrom
// fields are exactly those of the plain search; the time is at most about
// (input length) x (number of tokens) x (longest literal), and the extra
// memory two bytes per (position, token) pair, allocated only when needed.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "kyn/kynbase/errors.h"
#include "kyn/platform/classes.h"
#include "kyn/platform/string.h"

namespace kyn {

// Kinds of token.
enum TGrepTokenAct : uint8_t {
  taNormal,   // a literal string of NumChars characters (0 to 255)
  taAnyByte,  // any one character (".")
  taEol,      // the end of the input ("$")
  taBol,      // the start of the input ("^")
  taSet,      // one character out of a set
  taMult0,    // zero or more repetitions of an item ("*")
  taMult1,    // one or more repetitions of an item ("+")
  taOpti      // zero or one occurrence of an item ("?")
};

// 256 UTF-16 code units, indexed 0..255.
using TCharArr256 = std::array<char16_t, 256>;

struct TGrepToken {
  TGrepTokenAct Action = taNormal;
  // taNormal: number of characters n, held in Params[1..n]. taSet: -1. The
  // quantifiers describe their item: -1 a set (Params as for taSet), 0 any
  // character, n > 0 a literal string in Params[1..n]. Otherwise 0.
  int32_t NumChars = 0;
  // Literal characters at 1..n, or for a set: entry c is "*" when code c is
  // a member and a blank otherwise.
  TCharArr256 Params{};
  // The input position at which the token last passed its test during
  // matching; 0 after compilation.
  int32_t ValidFrom = 0;
};

constexpr int kMaxGrepTokens = 64;

// Tokens 1..64 are stored at indices 0..63.
using TRegExp = std::array<TGrepToken, kMaxGrepTokens>;

// Compilation error codes; 0 means no error.
enum : int32_t {
  grepErrBadStart = 1,          // "reg.exp. must not start with $, *, ?, or +"
  grepErrCircumflex = 2,        // "circumflex not allowed here"
  grepErrAfterEol = 3,          // "no character allowed after end of line"
  grepErrEmptySet = 4,          // "empty set"
  grepErrSetCircumflex = 5,     // "circumflex has to be quoted in set"
  grepErrSetBrackets = 6,       // "mismatch of set brackets"
  grepErrMinus = 7,             // "minus not allowed here"
  grepErrGroupBrackets = 8,     // "mismatch of group brackets"
  grepErrQuantifier = 9,        // "*, ?, + have to be applied to groups or sets only"
  grepErrTooManyTokens = 10,    // "too many tokens (at most 64)"
  grepErrGroupTooLong = 11,     // "group longer than 255 characters"
  grepErrSetMember = 12,        // "set member above code 255"
  grepErrIncompleteEnd = 13,    // "pattern ends with an incomplete escape or range"
  grepErrLast = 13
};

class TGrep : public TComponent {
 public:
  explicit TGrep(TComponent* AOwner);
  ~TGrep() override;
  String ClassName() const override { return u"TGrep"; }

  // The text of a compilation error code; "no errors" for 0, "" for codes
  // that do not exist.
  static String ErrorText(int32_t Code);

  // The pattern as last set. Setting it compiles it; with StopOnError true a
  // compilation error raises EKYNStringlError with the message
  //   Component "<Name>": error in regular expression - <text>
  // The pattern and the tokens built up to the error stay in force.
  const String& RegExp() const { return FRegExpStr; }
  void SetRegExp(const String& Value);

  // Setting stores the value and compiles the stored pattern again; an error
  // is only recorded in LastError, never raised.
  bool IgnoreCase() const { return FIgnoreCase; }
  void SetIgnoreCase(bool Value);

  int32_t SearchStartPos() const { return FSrcStartPos; }
  void SetSearchStartPos(int32_t Value) { FSrcStartPos = Value; }
  bool StopOnError() const { return FStopOnError; }
  void SetStopOnError(bool Value) { FStopOnError = Value; }

  int32_t MatchStartPos() const { return FMatchStartPos; }
  int32_t MatchEndPos() const { return FMatchEndPos; }
  int32_t NrOfRegExpTokens() const { return FLengRegExp; }
  int32_t LastError() const { return FError; }

  // Searches Instring from SearchStartPos on. On success sets MatchPos and
  // MatchStartPos to the first position of the match, MatchEndPos to its last
  // and returns true. On failure MatchPos and MatchStartPos get ValidFrom of
  // token 1 (the last start at which token 1 passed its test, or the value of
  // an earlier search) and MatchEndPos stays. A pattern of one zero-or-more
  // token matches from 1 to L whenever L >= SearchStartPos or L = 0, without
  // looking at the input.
  bool MatchString(StringView Instring, int32_t& MatchPos);

  // A copy of token regix, regix first lowered to NrOfRegExpTokens and then
  // raised to 1.
  TGrepToken GetRegExpToken(int32_t regix) const;

  // The listing PrintRegExp writes: one line per token, then the text of
  // LastError.
  std::vector<String> RegExpListing() const;
  // Writes RegExpListing to the text file FName (UTF-8, CR LF line ends),
  // replacing it. Failures of the file layer reach the caller unchanged.
  void PrintRegExp(const String& FName) const;

  // How much work (token tests) the plain backtracking search may do, per
  // input character and token, before the search starts over with the table
  // of known failures. 0 uses the table from the start. Results do not
  // depend on it.
  int32_t PlainSearchFactor() const { return FPlainSearchFactor; }
  void SetPlainSearchFactor(int32_t Value) { FPlainSearchFactor = Value < 0 ? 0 : Value; }

 private:
  int32_t CompileRegExp(const String& Pattern);
  TGrepToken& Tok(int32_t k) { return FregExp[static_cast<size_t>(k - 1)]; }
  const TGrepToken& Tok(int32_t k) const { return FregExp[static_cast<size_t>(k - 1)]; }

  struct Search;  // the state of one search (input, memo table)
  friend struct Search;

  int32_t FLengRegExp = 0;
  bool FStopOnError = true;
  TRegExp FregExp{};
  String FRegExpStr;
  bool FIgnoreCase = false;
  int32_t FError = 0;
  int32_t FMatchEndPos = 0;
  int32_t FMatchStartPos = 0;
  int32_t FSrcStartPos = 1;
  int32_t FPlainSearchFactor = 4;
  std::vector<uint8_t> FMemo;  // reused table of known failures
};

}  // namespace kyn
