// A program using the installed library.
#include <iostream>

#include <kyn/kyn.h>

int main() {
  int32_t pos = 1;
  const double v = kyn::ScanFPNum(u"  -12.5e3x", true, 3, pos);
  std::cout << "scanned " << v << " up to position " << pos << "\n";
  std::cout << "hex " << kyn::StringToUtf8(kyn::IntToHexStr(65280, 6)) << "\n";
  std::cout << "kynbasepack works\n";
  return v == -12500 && pos == 10 ? 0 : 1;
}
