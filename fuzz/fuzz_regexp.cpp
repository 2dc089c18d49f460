// TGrep: random pattern, input, IgnoreCase and SearchStartPos through the
// compiler and the matcher. Checks the token invariants, the match bounds,
// that the search result does not depend on when the table of failures is
// used, and, where the plain recursion is cheap, equality with it.
#include <cstdlib>

#include "../stringl/tests/grep_reference.h"
#include "fuzz_helpers.h"
#include "kyn/stringl.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// Bytes to pattern or input characters: bytes below 0xF0 stand for
// themselves, the rest for characters above code 255.
kyn::String Chars(const std::string& bytes) {
  kyn::String s;
  for (unsigned char b : bytes) s += b < 0xF0 ? static_cast<char16_t>(b) : static_cast<char16_t>(0x3B0 + b);
  return s;
}

void CheckTokens(const kyn::TGrep& g) {
  Check(g.LastError() >= 0 && g.LastError() <= kyn::grepErrLast);
  Check(g.NrOfRegExpTokens() >= 0 && g.NrOfRegExpTokens() <= kyn::kMaxGrepTokens);
  for (int32_t k = 1; k <= g.NrOfRegExpTokens(); ++k) {
    const kyn::TGrepToken t = g.GetRegExpToken(k);
    switch (t.Action) {
      case kyn::taNormal: Check(t.NumChars >= 0 && t.NumChars <= 255); break;
      case kyn::taSet: Check(t.NumChars == -1); break;
      case kyn::taMult0:
      case kyn::taMult1:
      case kyn::taOpti: Check(t.NumChars >= -1 && t.NumChars <= 255); break;
      default: Check(t.NumChars == 0); break;
    }
  }
  const auto listing = g.RegExpListing();
  Check(listing.size() == static_cast<size_t>(g.NrOfRegExpTokens()) + 1);
  Check(listing.back() == kyn::TGrep::ErrorText(g.LastError()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kynfuzz::Input in(data, size);
  const uint8_t flags = in.take<uint8_t>();
  const int32_t start = static_cast<int8_t>(in.take<uint8_t>());
  const size_t patternLen = in.take<uint8_t>() + ((flags & 4) ? 256u : 0u);
  const kyn::String pattern = Chars(in.bytes(patternLen));
  const kyn::String text = Chars(in.bytes(3000));

  kyn::TGrep fast(nullptr), plain(nullptr);
  for (kyn::TGrep* g : {&fast, &plain}) {
    g->SetStopOnError(false);
    g->SetIgnoreCase(flags & 1);
    g->SetRegExp(pattern);
    g->SetSearchStartPos(start);
  }
  fast.SetPlainSearchFactor(0);
  CheckTokens(fast);
  Check(fast.LastError() == plain.LastError() && fast.NrOfRegExpTokens() == plain.NrOfRegExpTokens());

  kyntest::Reference ref(fast);
  ref.SetMaxCalls(20000);
  int32_t posFast = 0, posPlain = 0, posRef = 0;
  const bool found = fast.MatchString(text, posFast);
  Check(found == plain.MatchString(text, posPlain));
  Check(posFast == posPlain && fast.MatchEndPos() == plain.MatchEndPos());
  const int32_t L = static_cast<int32_t>(text.size());
  if (found) {
    Check(posFast >= 1 && posFast <= L + 1);
    Check(fast.MatchEndPos() >= posFast - 1 && fast.MatchEndPos() <= (L > 0 ? L : 1));
  }
  const bool refFound = ref.MatchString(text, start, posRef);
  if (!ref.Exhausted()) {
    Check(found == refFound && posFast == posRef && fast.MatchEndPos() == ref.EndPos());
    for (int32_t k = 1; k <= fast.NrOfRegExpTokens(); ++k)
      Check(fast.GetRegExpToken(k).ValidFrom == ref.ValidFrom(k));
  }
  for (int32_t k = 1; k <= fast.NrOfRegExpTokens(); ++k)
    Check(fast.GetRegExpToken(k).ValidFrom == plain.GetRegExpToken(k).ValidFrom);
  return 0;
}
