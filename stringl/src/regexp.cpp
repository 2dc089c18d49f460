#include "kyn/stringl/regexp.h"

#include <algorithm>
#include <limits>

#include "kyn/kynbase/numscan.h"
#include "kyn/platform/textfile.h"

namespace kyn {

namespace {

constexpr const char16_t* kErrorTexts[grepErrLast + 1] = {
    u"no errors",
    u"reg.exp. must not start with $, *, ?, or +",
    u"circumflex not allowed here",
    u"no character allowed after end of line",
    u"empty set",
    u"circumflex has to be quoted in set",
    u"mismatch of set brackets",
    u"minus not allowed here",
    u"mismatch of group brackets",
    u"*, ?, + have to be applied to groups or sets only",
    u"too many tokens (at most 64)",
    u"group longer than 255 characters",
    u"set member above code 255",
    u"pattern ends with an incomplete escape or range",
};

constexpr char16_t kMember = u'*';
constexpr char16_t kNoMember = u' ';
constexpr int32_t kMaxLiteral = 255;

// Replaces every "\#hh" whose backslash is not itself preceded by a
// backslash by the character with code hh. The character produced takes part
// in later searches, so the search resumes just before it.
void ResolveHexEscapes(String& s) {
  size_t from = 0;
  for (;;) {
    const size_t pos = s.find(u"\\#", from);
    if (pos == String::npos) return;
    if ((pos > 0 && s[pos - 1] == u'\\') || pos + 4 > s.size()) {
      from = pos + 2;
      continue;
    }
    const String digits = s.substr(pos + 2, 2);
    int32_t scanPos = 1;
    const uint32_t code = ScanHexNum(digits, scanPos);
    s.replace(pos, 4, 1, static_cast<char16_t>(code & 0xFFFFu));
    from = pos > 0 ? pos - 1 : 0;
  }
}

bool IsMember(const TGrepToken& t, char16_t c) { return c < 256 && t.Params[c] == kMember; }

String SetMembers(const TGrepToken& t) {
  String r;
  for (char16_t c = 0; c < 256; ++c)
    if (t.Params[c] == kMember) r += c;
  return r;
}

String Literal(const TGrepToken& t) {
  const int32_t n = std::clamp(t.NumChars, 0, kMaxLiteral);
  return String(t.Params.data() + 1, static_cast<size_t>(n));
}

}  // namespace

// ------------------------------------------------------------------ search

// One search over one input. The plain search is the backtracking recursion
// itself; it counts its token tests and gives up when they exceed a budget.
// The memo search then runs the same recursion but records, for every
// (position, token) call and every repetition loop that failed, the deepest
// token whose test passed below it (D). A known failure is not explored
// again, which bounds the work by the size of the table. Because skipped
// subtrees would only have written ValidFrom fields, a failed memo search
// afterwards replays the last writes of the plain search from the recorded
// depths (Resolve).
struct TGrep::Search {
  TGrep& g;
  const char16_t* base;  // the input; position p is base[p - 1]
  int32_t L;
  int32_t n;
  int64_t budget = 0;
  bool aborted = false;
  uint8_t* memoCall = nullptr;  // D + 1 per (p, k); 0 = not known
  uint8_t* memoLoop = nullptr;

  Search(TGrep& grep, StringView in, int32_t len)
      : g(grep), base(in.data()), L(len), n(grep.FLengRegExp) {}

  char16_t At(int32_t p) const { return base[p - 1]; }

  // Length of the item of quantifier t at p, 0 when it does not occur there.
  int32_t Occurs(const TGrepToken& t, int32_t p) const {
    if (t.NumChars <= 0) {
      if (p > L) return 0;
      return (t.NumChars == 0 || IsMember(t, At(p))) ? 1 : 0;
    }
    return Equals(t, p) ? t.NumChars : 0;
  }

  bool Equals(const TGrepToken& t, int32_t p) const {
    const int32_t m = t.NumChars;
    if (p + m - 1 > L) return false;
    return std::equal(t.Params.data() + 1, t.Params.data() + 1 + m, base + (p - 1));
  }

  bool Test(const TGrepToken& t, int32_t p, int32_t k) const {
    switch (t.Action) {
      case taNormal: return t.NumChars == 0 ? p <= L + 1 : Equals(t, p);
      case taAnyByte: return p <= L;
      case taSet: return p <= L && IsMember(t, At(p));
      case taBol: return p == 1;
      case taEol: return p == L + 1 && k == n;
      case taMult0:
      case taOpti: return true;
      case taMult1: return Occurs(t, p) > 0;
    }
    return false;
  }

  // MatchEndPos when token t ends the pattern and passed its test at p.
  int32_t EndPos(const TGrepToken& t, int32_t p) const {
    switch (t.Action) {
      case taNormal: return p + t.NumChars - 1;
      case taAnyByte:
      case taSet: return p;
      case taEol: return L;
      case taBol: return 1;
      case taMult0:
      case taMult1: {
        if (t.NumChars == 0) return L;
        int32_t q = p;
        while (const int32_t l = Occurs(t, q)) q += l;
        return q - 1;
      }
      case taOpti:
        if (t.NumChars == 0) return p <= L ? p : L;
        return p + Occurs(t, p) - 1;
    }
    return p;
  }

  static int32_t Step(const TGrepToken& t) { return t.NumChars > 0 ? t.NumChars : 1; }

  // ---- plain search
  bool Plain(int32_t p, int32_t k) {
    if (--budget < 0) {
      aborted = true;
      return false;
    }
    TGrepToken& t = g.Tok(k);
    if (!Test(t, p, k)) return false;
    t.ValidFrom = p;
    if (k == n) {
      g.FMatchEndPos = EndPos(t, p);
      return true;
    }
    switch (t.Action) {
      case taNormal: return Plain(p + t.NumChars, k + 1);
      case taAnyByte:
      case taSet: return Plain(p + 1, k + 1);
      case taBol: return Plain(1, k + 1);
      case taMult0: return PlainLoop(p, k);
      case taMult1: return PlainLoop(p + Occurs(t, p), k);
      case taOpti: {
        if (Plain(p, k + 1)) return true;
        if (aborted) return false;
        const int32_t l = Occurs(t, p);
        return l > 0 && Plain(p + l, k + 1);
      }
      case taEol: break;
    }
    return false;
  }

  bool PlainLoop(int32_t q, int32_t k) {
    const TGrepToken& t = g.Tok(k);
    for (;;) {
      if (Plain(q, k + 1)) return true;
      if (aborted) return false;
      const int32_t l = Occurs(t, q);
      if (l == 0) return false;
      q += l;
    }
  }

  // ---- memo search
  size_t Ix(int32_t p, int32_t k) const {
    return static_cast<size_t>(p - 1) * static_cast<size_t>(n) + static_cast<size_t>(k - 1);
  }
  // D of a call known to have failed.
  int32_t CallD(int32_t p, int32_t k) const { return memoCall[Ix(p, k)] - 1; }

  bool Memo(int32_t p, int32_t k) {
    if (memoCall[Ix(p, k)] != 0) return false;
    TGrepToken& t = g.Tok(k);
    if (!Test(t, p, k)) {
      memoCall[Ix(p, k)] = static_cast<uint8_t>(k);  // D = k - 1
      return false;
    }
    t.ValidFrom = p;
    if (k == n) {
      g.FMatchEndPos = EndPos(t, p);
      return true;
    }
    int32_t d = k;
    auto child = [&](int32_t q) {
      if (Memo(q, k + 1)) return true;
      d = std::max(d, CallD(q, k + 1));
      return false;
    };
    auto loop = [&](int32_t q) {
      if (MemoLoop(q, k)) return true;
      d = std::max(d, memoLoop[Ix(q, k)] - 1);
      return false;
    };
    bool found = false;
    switch (t.Action) {
      case taNormal: found = child(p + t.NumChars); break;
      case taAnyByte:
      case taSet: found = child(p + 1); break;
      case taBol: found = child(1); break;
      case taMult0: found = loop(p); break;
      case taMult1: found = loop(p + Occurs(t, p)); break;
      case taOpti: {
        found = child(p);
        if (!found) {
          const int32_t l = Occurs(t, p);
          found = l > 0 && child(p + l);
        }
        break;
      }
      case taEol: break;
    }
    if (!found) memoCall[Ix(p, k)] = static_cast<uint8_t>(d + 1);
    return found;
  }

  // The repetition loop of token k from q: tries token k + 1 at q, q + l, ...
  // while the item occurs. On failure records, for every position visited,
  // the largest D of the children from there on.
  bool MemoLoop(int32_t q0, int32_t k) {
    const TGrepToken& t = g.Tok(k);
    const int32_t l = Step(t);
    int32_t q = q0;
    int32_t acc;
    for (;;) {
      if (const uint8_t known = memoLoop[Ix(q, k)]) {
        acc = known - 1;
        break;
      }
      if (Memo(q, k + 1)) return true;
      if (Occurs(t, q) == 0) {
        acc = CallD(q, k + 1);
        memoLoop[Ix(q, k)] = static_cast<uint8_t>(acc + 1);
        break;
      }
      q += l;
    }
    for (int32_t r = q - l; r >= q0; r -= l) {
      acc = std::max(acc, CallD(r, k + 1));
      memoLoop[Ix(r, k)] = static_cast<uint8_t>(acc + 1);
    }
    return false;
  }

  // After a failed memo search: token k's call at p (known failed) was the
  // last to write the tokens lo..D(p, k); set their ValidFrom as the plain
  // search would have left them.
  void Resolve(int32_t p, int32_t k, int32_t lo) {
    TGrepToken& t = g.Tok(k);
    const int32_t d = CallD(p, k);
    if (lo <= k) {
      t.ValidFrom = p;
      lo = k + 1;
    }
    if (lo > d) return;
    // Children in reverse order of the plain search.
    auto visit = [&](int32_t q) {
      if (lo > d) return;
      const int32_t dq = CallD(q, k + 1);
      if (dq >= lo) {
        Resolve(q, k + 1, lo);
        lo = dq + 1;
      }
    };
    auto loopBack = [&](int32_t q0) {
      const int32_t l = Step(t);
      int32_t q = q0;
      while (Occurs(t, q) > 0) q += l;
      for (; q >= q0 && lo <= d; q -= l) visit(q);
    };
    switch (t.Action) {
      case taNormal: visit(p + t.NumChars); break;
      case taAnyByte:
      case taSet: visit(p + 1); break;
      case taBol: visit(1); break;
      case taMult0: loopBack(p); break;
      case taMult1: loopBack(p + Occurs(t, p)); break;
      case taOpti: {
        const int32_t l = Occurs(t, p);
        if (l > 0) visit(p + l);
        visit(p);
        break;
      }
      case taEol: break;
    }
  }

  // The start positions first..last; a literal or set as token 1 lets the
  // search skip the starts where its test fails (they change nothing).
  int32_t NextStart(int32_t i, int32_t last) const {
    const TGrepToken& t = g.Tok(1);
    if (t.Action == taNormal && t.NumChars > 0) {
      const StringView hay(base, static_cast<size_t>(L));
      const StringView needle(t.Params.data() + 1, static_cast<size_t>(t.NumChars));
      const size_t at = hay.find(needle, static_cast<size_t>(i - 1));
      return at == StringView::npos ? last + 1 : std::min(static_cast<int32_t>(at) + 1, last + 1);
    }
    if (t.Action == taSet) {
      while (i <= last && i <= L && !IsMember(t, At(i))) ++i;
      return i > L ? last + 1 : i;
    }
    return i;
  }

  bool RunPlain(int32_t first, int32_t last) {
    for (int32_t i = NextStart(first, last); i <= last; i = NextStart(i + 1, last)) {
      if (Plain(i, 1)) return true;
      if (aborted) return false;
    }
    return false;
  }

  bool RunMemo(int32_t first, int32_t last, std::vector<uint8_t>& table) {
    const size_t cells = static_cast<size_t>(L + 1) * static_cast<size_t>(n);
    table.assign(2 * cells, 0);
    memoCall = table.data();
    memoLoop = table.data() + cells;
    for (int32_t i = NextStart(first, last); i <= last; i = NextStart(i + 1, last))
      if (Memo(i, 1)) return true;
    // Replay the last ValidFrom writes of the plain search, latest start first.
    int32_t lo = 1;
    for (int32_t i = last; i >= first && lo <= n; --i) {
      const int32_t d = memoCall[Ix(i, 1)] == 0 ? 0 : CallD(i, 1);
      if (d >= lo) {
        Resolve(i, 1, lo);
        lo = d + 1;
      }
    }
    return false;
  }
};

// --------------------------------------------------------------- component

TGrep::TGrep(TComponent* AOwner) : TComponent(AOwner) {}

TGrep::~TGrep() = default;

String TGrep::ErrorText(int32_t Code) {
  if (Code < 0 || Code > grepErrLast) return String();
  return kErrorTexts[Code];
}

void TGrep::SetRegExp(const String& Value) {
  FRegExpStr = Value;
  const int32_t e = CompileRegExp(FRegExpStr);
  if (FStopOnError && e > 0)
    throw EKYNStringlError(ComponentMessage(*this, u"error in regular expression - " + ErrorText(e)));
}

void TGrep::SetIgnoreCase(bool Value) {
  FIgnoreCase = Value;
  CompileRegExp(FRegExpStr);
}

int32_t TGrep::CompileRegExp(const String& Pattern) {
  FError = 0;
  String s = Pattern;
  if (FIgnoreCase) s = AsciiLowerCase(s);
  ResolveHexEscapes(s);
  FLengRegExp = 0;
  for (TGrepToken& t : FregExp) {
    t.NumChars = 0;
    t.ValidFrom = 0;
  }

  enum State { S0, S1, S2, S3, S4, S5, S6, S7 };
  State st = S0;
  bool negate = false;
  int32_t rangeStart = -1;  // element read last in the current set
  int32_t err = 0;
  size_t i = 0;
  const size_t len = s.size();

  auto cur = [&]() -> TGrepToken& { return Tok(FLengRegExp); };
  auto newToken = [&](TGrepTokenAct a, int32_t numChars) -> TGrepToken* {
    if (FLengRegExp >= kMaxGrepTokens) {
      err = grepErrTooManyTokens;
      return nullptr;
    }
    TGrepToken& t = Tok(++FLengRegExp);
    t.Action = a;
    t.NumChars = numChars;
    return &t;
  };
  // The character after the current one, consumed with it.
  auto next = [&](char16_t& c) {
    if (i + 1 >= len) {
      err = grepErrIncompleteEnd;
      return false;
    }
    c = s[++i];
    return true;
  };
  auto newLiteral = [&](char16_t c) {
    if (TGrepToken* t = newToken(taNormal, 1)) t->Params[1] = c;
  };
  // Appends c to the current literal; a full literal run continues in a new
  // token, a full group is an error.
  auto append = [&](char16_t c, bool inGroup) {
    TGrepToken* t = FLengRegExp > 0 && cur().Action == taNormal ? &cur() : nullptr;
    if (t && t->NumChars >= kMaxLiteral) {
      if (inGroup) {
        err = grepErrGroupTooLong;
        return;
      }
      t = nullptr;
    }
    if (!t) t = newToken(taNormal, 0);
    if (t) t->Params[static_cast<size_t>(++t->NumChars)] = c;
  };
  auto newSet = [&] {
    if (TGrepToken* t = newToken(taSet, -1)) t->Params.fill(kNoMember);
    rangeStart = -1;
  };
  auto addRange = [&](int32_t a, int32_t b) {
    const int32_t lo = std::min(a, b), hi = std::max(a, b);
    if (hi > 255) {
      err = grepErrSetMember;
      return;
    }
    for (int32_t c = lo; c <= hi; ++c) cur().Params[static_cast<size_t>(c)] = kMember;
    rangeStart = lo;
  };
  auto member = [&](char16_t c) { addRange(c, c); };
  auto quantifier = [](char16_t c) {
    return c == u'*' ? taMult0 : c == u'+' ? taMult1 : taOpti;
  };
  // The quantifier after a character or ".".
  auto quantifyS1 = [&](TGrepTokenAct q) {
    TGrepToken& t = cur();
    if (t.Action == taNormal && t.NumChars == 1) {
      t.Action = q;
    } else if (t.Action == taNormal && t.NumChars > 1) {
      const char16_t last = t.Params[static_cast<size_t>(t.NumChars)];
      --t.NumChars;
      if (TGrepToken* nt = newToken(q, 1)) nt->Params[1] = last;
    } else if (t.Action == taAnyByte) {
      t.Action = q;
      t.NumChars = 0;
    } else {
      err = grepErrQuantifier;
    }
  };

  for (; i < len && err == 0; ++i) {
    const char16_t c = s[i];
    char16_t nx = 0;
    switch (st) {
      // S0, S4 and S6 share their transitions except for "$", the
      // quantifiers, "-" and "^".
      case S0:
      case S4:
      case S6:
        if (st == S0 && (c == u'$' || c == u'*' || c == u'+' || c == u'?')) {
          err = grepErrBadStart;
        } else if (c == u'$') {
          newToken(taEol, 0);
          st = S7;
        } else if (c == u'*' || c == u'+' || c == u'?') {
          const TGrepTokenAct want = st == S4 ? taSet : taNormal;
          if (cur().Action == want) cur().Action = quantifier(c);
          else err = grepErrQuantifier;
        } else if (c == u')') {
          err = grepErrGroupBrackets;
        } else if (c == u']') {
          err = grepErrSetBrackets;
        } else if (c == u'-' && st == S4) {
          err = grepErrMinus;
        } else if (c == u'^' && st != S0) {
          err = grepErrCircumflex;
        } else if (c == u'(') {
          newToken(taNormal, 0);
          st = S5;
        } else if (c == u'[') {
          newSet();
          st = S2;
        } else if (c == u'.') {
          newToken(taAnyByte, 0);
          st = S1;
        } else if (c == u'^') {
          newToken(taBol, 0);
          st = S1;
        } else if (c == u'\\') {
          if (next(nx)) newLiteral(nx);
          st = S1;
        } else {
          newLiteral(c);
          st = S1;
        }
        break;
      case S1:
        if (c == u'$') {
          newToken(taEol, 0);
          st = S7;
        } else if (c == u'*' || c == u'+' || c == u'?') {
          quantifyS1(quantifier(c));
        } else if (c == u'(') {
          newToken(taNormal, 0);
          st = S5;
        } else if (c == u')') {
          err = grepErrGroupBrackets;
        } else if (c == u']') {
          err = grepErrSetBrackets;
        } else if (c == u'^') {
          err = grepErrCircumflex;
        } else if (c == u'[') {
          newSet();
          st = S2;
        } else if (c == u'.') {
          newToken(taAnyByte, 0);
        } else if (c == u'\\') {
          if (next(nx)) append(nx, false);
        } else {
          append(c, false);
        }
        break;
      case S2:
        if (c == u'-') {
          err = grepErrMinus;
        } else if (c == u']') {
          err = grepErrEmptySet;
        } else if (c == u'^') {
          negate = true;
          st = S3;
        } else if (c == u'\\') {
          if (next(nx)) member(nx);
          st = S3;
        } else {
          member(c);
          st = S3;
        }
        break;
      case S3:
        if (c == u'-') {
          if (rangeStart < 0) err = grepErrMinus;
          else if (next(nx)) addRange(rangeStart, nx);
        } else if (c == u'\\') {
          if (next(nx)) member(nx);
        } else if (c == u']') {
          if (negate) {
            for (char16_t& e : cur().Params) e = e == kMember ? kNoMember : kMember;
            negate = false;
          }
          st = S4;
        } else if (c == u'^') {
          err = grepErrSetCircumflex;
        } else {
          member(c);
        }
        break;
      case S5:
        if (c == u')') {
          st = S6;
        } else if (c == u'\\') {
          if (next(nx)) append(nx, true);
        } else if (c == u'^') {
          err = grepErrCircumflex;
        } else {
          append(c, true);
        }
        break;
      case S7:
        err = grepErrAfterEol;
        break;
    }
  }
  FError = err;
  return err;
}

bool TGrep::MatchString(StringView Instring, int32_t& MatchPos) {
  if (Instring.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max() - 2)) return false;
  const int32_t L = static_cast<int32_t>(Instring.size());
  if (FLengRegExp == 1 && Tok(1).Action == taMult0) {
    if (L >= FSrcStartPos || L == 0) {
      FMatchEndPos = L;
      FMatchStartPos = MatchPos = 1;
      Tok(1).ValidFrom = 1;
      return true;
    }
    return false;
  }
  const int32_t first = std::max(FSrcStartPos, 1);
  if (FLengRegExp == 0) {
    if (first > L + 1) return false;
    FMatchStartPos = MatchPos = first;
    FMatchEndPos = first - 1;
    return true;
  }
  String folded;
  if (FIgnoreCase) {
    folded.assign(Instring);
    folded = AsciiLowerCase(folded);
    Instring = folded;
  }
  const int32_t last = std::min(Tok(1).Action == taBol ? first : L + 1, L + 1);

  // The plain search may give up half-way; its ValidFrom writes are undone.
  std::array<int32_t, kMaxGrepTokens> saved{};
  for (int32_t k = 1; k <= FLengRegExp; ++k) saved[static_cast<size_t>(k - 1)] = Tok(k).ValidFrom;

  Search search(*this, Instring, L);
  search.budget = static_cast<int64_t>(FPlainSearchFactor) * (L + 2) * FLengRegExp;
  bool found = search.RunPlain(first, last);
  if (search.aborted) {
    for (int32_t k = 1; k <= FLengRegExp; ++k) Tok(k).ValidFrom = saved[static_cast<size_t>(k - 1)];
    found = search.RunMemo(first, last, FMemo);
    if (FMemo.capacity() > (size_t{1} << 20)) std::vector<uint8_t>().swap(FMemo);
  }
  FMatchStartPos = MatchPos = Tok(1).ValidFrom;
  return found;
}

TGrepToken TGrep::GetRegExpToken(int32_t regix) const {
  if (regix > FLengRegExp) regix = FLengRegExp;
  if (regix < 1) regix = 1;
  return Tok(regix);
}

std::vector<String> TGrep::RegExpListing() const {
  std::vector<String> lines;
  for (int32_t k = 1; k <= FLengRegExp; ++k) {
    const TGrepToken& t = Tok(k);
    auto item = [&]() -> String {
      if (t.NumChars < 0) return u"(set) " + SetMembers(t);
      if (t.NumChars == 0) return u"(anychar) ";
      return u"(string) " + Literal(t);
    };
    switch (t.Action) {
      case taNormal: lines.push_back(u" taNormal: " + Literal(t)); break;
      case taAnyByte: lines.push_back(u"taAnyByte: "); break;
      case taEol: lines.push_back(u"    taEol: "); break;
      case taBol: lines.push_back(u"    taBol: "); break;
      case taSet: lines.push_back(u"    taSet: " + SetMembers(t)); break;
      case taMult0: lines.push_back(u"  taMult0: " + item()); break;
      case taMult1: lines.push_back(u"  taMult1: " + item()); break;
      case taOpti: lines.push_back(u"   taOpti: " + item()); break;
    }
  }
  lines.push_back(ErrorText(FError));
  return lines;
}

void TGrep::PrintRegExp(const String& FName) const {
  TTextFile f;
  f.SetEncoding(TTextEncoding::Utf8);
  f.Rewrite(FName);
  for (const String& line : RegExpListing()) f.WriteLn(line);
  f.Close();
}

}  // namespace kyn
