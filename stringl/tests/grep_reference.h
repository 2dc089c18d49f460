// A direct transcription of TGrep's backtracking recursion, without the
// table of known failures, over a copy of the compiled tokens with its own
// ValidFrom fields and match positions. Used by the differential test and
// the fuzz target as the reference for the fast matcher.
#pragma once

#include <cstdint>
#include <vector>

#include "kyn/stringl/regexp.h"

namespace kyntest {

using kyn::String;
using kyn::TGrep;
using kyn::TGrepToken;

class Reference {
 public:
  explicit Reference(const TGrep& g) : n_(g.NrOfRegExpTokens()), ignoreCase_(g.IgnoreCase()) {
    tok_.resize(static_cast<size_t>(n_) + 1);
    for (int32_t k = 1; k <= n_; ++k) tok_[static_cast<size_t>(k)] = g.GetRegExpToken(k);
  }

  // A search gives up after maxCalls token tests (0 = no limit); Exhausted()
  // tells whether the last search gave up, its results are then meaningless.
  void SetMaxCalls(int64_t maxCalls) { maxCalls_ = maxCalls; }
  bool Exhausted() const { return exhausted_; }

  bool MatchString(const String& in, int32_t searchStart, int32_t& matchPos) {
    calls_ = 0;
    exhausted_ = false;
    L_ = static_cast<int32_t>(in.size());
    if (n_ == 1 && tok_[1].Action == kyn::taMult0) {
      if (L_ >= searchStart || L_ == 0) {
        endPos_ = L_;
        startPos_ = matchPos = 1;
        tok_[1].ValidFrom = 1;
        return true;
      }
      return false;
    }
    const int32_t first = searchStart < 1 ? 1 : searchStart;
    if (n_ == 0) {
      if (first > L_ + 1) return false;
      startPos_ = matchPos = first;
      endPos_ = first - 1;
      return true;
    }
    s_ = in;
    if (ignoreCase_)
      for (char16_t& c : s_)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    bool found = false;
    for (int32_t i = first; i <= L_ + 1 && !found; ++i) {
      found = Match(i, 1);
      if (tok_[1].Action == kyn::taBol) break;
    }
    startPos_ = matchPos = tok_[1].ValidFrom;
    return found;
  }

  int32_t StartPos() const { return startPos_; }
  int32_t EndPos() const { return endPos_; }
  int32_t ValidFrom(int32_t k) const { return tok_[static_cast<size_t>(k)].ValidFrom; }

 private:
  char16_t At(int32_t p) const { return s_[static_cast<size_t>(p - 1)]; }
  bool Member(const TGrepToken& t, int32_t p) const { return At(p) < 256 && t.Params[At(p)] == u'*'; }
  bool Literal(const TGrepToken& t, int32_t p) const {
    if (p + t.NumChars - 1 > L_) return false;
    for (int32_t j = 1; j <= t.NumChars; ++j)
      if (At(p + j - 1) != t.Params[static_cast<size_t>(j)]) return false;
    return true;
  }
  // Length of the item's occurrence at p, 0 if none.
  int32_t Item(const TGrepToken& t, int32_t p) const {
    if (t.NumChars == 0) return p <= L_ ? 1 : 0;
    if (t.NumChars < 0) return p <= L_ && Member(t, p) ? 1 : 0;
    return Literal(t, p) ? t.NumChars : 0;
  }
  int32_t Chain(const TGrepToken& t, int32_t p) const {
    int32_t q = p;
    while (int32_t l = Item(t, q)) q += l;
    return q - 1;
  }

  bool Match(int32_t p, int32_t k) {
    if (maxCalls_ > 0 && ++calls_ > maxCalls_) {
      exhausted_ = true;
      return false;
    }
    TGrepToken& t = tok_[static_cast<size_t>(k)];
    bool pass = false;
    switch (t.Action) {
      case kyn::taNormal: pass = t.NumChars == 0 ? p <= L_ + 1 : Literal(t, p); break;
      case kyn::taAnyByte: pass = p <= L_; break;
      case kyn::taSet: pass = p <= L_ && Member(t, p); break;
      case kyn::taBol: pass = p == 1; break;
      case kyn::taEol: pass = p == L_ + 1 && k == n_; break;
      case kyn::taMult0:
      case kyn::taOpti: pass = true; break;
      case kyn::taMult1: pass = Item(t, p) > 0; break;
    }
    if (!pass) return false;
    t.ValidFrom = p;
    if (k == n_) {
      switch (t.Action) {
        case kyn::taNormal: endPos_ = p + t.NumChars - 1; break;
        case kyn::taAnyByte:
        case kyn::taSet: endPos_ = p; break;
        case kyn::taEol: endPos_ = L_; break;
        case kyn::taBol: endPos_ = 1; break;
        case kyn::taMult0:
        case kyn::taMult1: endPos_ = t.NumChars == 0 ? L_ : Chain(t, p); break;
        case kyn::taOpti:
          endPos_ = t.NumChars == 0 ? (p <= L_ ? p : L_) : p + Item(t, p) - 1;
          break;
      }
      return true;
    }
    switch (t.Action) {
      case kyn::taNormal: return Match(p + t.NumChars, k + 1);
      case kyn::taAnyByte:
      case kyn::taSet: return Match(p + 1, k + 1);
      case kyn::taBol: return Match(1, k + 1);
      case kyn::taMult0:
      case kyn::taMult1: {
        int32_t q = t.Action == kyn::taMult0 ? p : p + Item(t, p);
        for (;;) {
          if (Match(q, k + 1)) return true;
          const int32_t l = Item(t, q);
          if (l == 0) return false;
          q += l;
        }
      }
      case kyn::taOpti: {
        if (Match(p, k + 1)) return true;
        const int32_t l = Item(t, p);
        return l > 0 && Match(p + l, k + 1);
      }
      case kyn::taEol: return false;
    }
    return false;
  }

  std::vector<TGrepToken> tok_;
  int32_t n_;
  bool ignoreCase_;
  String s_;
  int32_t L_ = 0;
  int32_t startPos_ = 0;
  int32_t endPos_ = 0;
  int64_t maxCalls_ = 0;
  int64_t calls_ = 0;
  bool exhausted_ = false;
};

}  // namespace kyntest
