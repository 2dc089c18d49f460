#include "kyn/platform/locale.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/ustring.h>

#include <cstring>
#include <memory>

namespace kyn {

namespace {

static_assert(sizeof(UChar) == sizeof(char16_t));

const UChar* U(StringView s) { return reinterpret_cast<const UChar*>(s.data()); }

using CaseMapFn = int32_t (*)(UChar*, int32_t, const UChar*, int32_t, const char*, UErrorCode*);

String MapCase(StringView s, CaseMapFn fn) {
  if (s.empty()) return String();
  const int32_t n = static_cast<int32_t>(s.size());
  String out(s.size() + 8, u'\0');
  UErrorCode err = U_ZERO_ERROR;
  int32_t len = fn(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()), U(s), n,
                   "", &err);
  if (err == U_BUFFER_OVERFLOW_ERROR) {
    out.assign(static_cast<size_t>(len), u'\0');
    err = U_ZERO_ERROR;
    len = fn(reinterpret_cast<UChar*>(out.data()), len, U(s), n, "", &err);
  }
  if (U_FAILURE(err)) return String(s);
  out.resize(static_cast<size_t>(len));
  return out;
}

// One collator per process, created on first use (thread-safe static) with
// secondary strength: base letters and accents count, case does not.
const icu::Collator* TextCollator() {
  static const std::unique_ptr<icu::Collator> coll = [] {
    UErrorCode err = U_ZERO_ERROR;
    icu::Locale loc = icu::Locale::getDefault();
    if (std::strcmp(loc.getName(), "en_US_POSIX") == 0 || loc.isBogus()) loc = icu::Locale::getRoot();
    std::unique_ptr<icu::Collator> c(icu::Collator::createInstance(loc, err));
    if (U_FAILURE(err) || !c) {
      err = U_ZERO_ERROR;
      c.reset(icu::Collator::createInstance(icu::Locale::getRoot(), err));
      if (U_FAILURE(err)) c.reset();
    }
    if (c) c->setStrength(icu::Collator::SECONDARY);
    return c;
  }();
  return coll.get();
}

}  // namespace

String LocaleUpper(StringView s) { return MapCase(s, &u_strToUpper); }
String LocaleLower(StringView s) { return MapCase(s, &u_strToLower); }

int LocaleCompareText(StringView a, StringView b) {
  const icu::Collator* c = TextCollator();
  if (c == nullptr) {
    // No collation data: fall back to comparing full case folds.
    UErrorCode err = U_ZERO_ERROR;
    return u_strCaseCompare(U(a), static_cast<int32_t>(a.size()), U(b), static_cast<int32_t>(b.size()),
                            U_FOLD_CASE_DEFAULT, &err);
  }
  UErrorCode err = U_ZERO_ERROR;
  const UCollationResult r = c->compare(U(a), static_cast<int32_t>(a.size()), U(b),
                                        static_cast<int32_t>(b.size()), err);
  return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
}

bool LocaleSameText(StringView a, StringView b) { return LocaleCompareText(a, b) == 0; }

}  // namespace kyn
