// CRC-32 against zlib, CRC-16 against the one-byte table loop, SHA-1 against
// OpenSSL, and the ASCII85 coder's throughput between memory streams.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <benchmark/benchmark.h>
#include <openssl/sha.h>
#include <zlib.h>

#include <cstring>
#include <random>

#include "kyn/dstruct/checksums.h"

namespace {

const kyn::TBytes& Data(size_t n) {
  static kyn::TBytes data = [] {
    kyn::TBytes d(size_t(256) << 20);
    std::mt19937_64 gen(42);
    for (size_t i = 0; i + 8 <= d.size(); i += 8) {
      const uint64_t v = gen();
      std::memcpy(d.data() + i, &v, 8);
    }
    return d;
  }();
  (void)n;
  return data;
}

constexpr size_t k256M = size_t(256) << 20;
constexpr size_t k16M = size_t(16) << 20;

void Crc32Kyn(benchmark::State& st) {
  const kyn::TBytes& d = Data(k256M);
  for (auto _ : st) benchmark::DoNotOptimize(kyn::CRC32ofBuffer(d, static_cast<int32_t>(k256M)));
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * k256M));
}
void Crc32Zlib(benchmark::State& st) {
  const kyn::TBytes& d = Data(k256M);
  for (auto _ : st) benchmark::DoNotOptimize(crc32(0, d.data(), static_cast<uInt>(k256M)));
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * k256M));
}
BENCHMARK(Crc32Kyn)->Name("crc32/kyn")->Unit(benchmark::kMillisecond);
BENCHMARK(Crc32Zlib)->Name("crc32/zlib")->Unit(benchmark::kMillisecond);

template <kyn::TCRC16Mode Mode>
void Crc16Kyn(benchmark::State& st) {
  const kyn::TBytes& d = Data(k16M);
  for (auto _ : st) benchmark::DoNotOptimize(kyn::CRC16ofBuffer(d, static_cast<int32_t>(k16M), Mode));
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * k16M));
}
template <kyn::TCRC16Mode Mode>
void Crc16Bytewise(benchmark::State& st) {
  const kyn::TBytes& d = Data(k16M);
  for (auto _ : st) {
    uint16_t crc = Mode == kyn::crcCCITT ? 0xFFFF : 0;
    for (size_t i = 0; i < k16M; ++i) crc = kyn::CalcNextCRC16(d[i], crc);
    benchmark::DoNotOptimize(crc);
  }
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * k16M));
}
BENCHMARK(Crc16Kyn<kyn::crcZModem>)->Name("crc16_zmodem/kyn")->Unit(benchmark::kMillisecond);
BENCHMARK(Crc16Bytewise<kyn::crcZModem>)->Name("crc16_zmodem/bytewise")->Unit(benchmark::kMillisecond);
BENCHMARK(Crc16Kyn<kyn::crcCCITT>)->Name("crc16_ccitt/kyn")->Unit(benchmark::kMillisecond);
BENCHMARK(Crc16Bytewise<kyn::crcCCITT>)->Name("crc16_ccitt/bytewise")->Unit(benchmark::kMillisecond);

void Sha1Kyn(benchmark::State& st) {
  const kyn::TBytes& d = Data(k256M);
  for (auto _ : st) {
    kyn::TSHA1Context ctx;
    ctx.Update(d.data(), k256M);
    benchmark::DoNotOptimize(ctx.Final());
  }
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * k256M));
}
void Sha1OpenSSL(benchmark::State& st) {
  const kyn::TBytes& d = Data(k256M);
  unsigned char md[SHA_DIGEST_LENGTH];
  for (auto _ : st) {
    SHA1(d.data(), k256M, md);
    benchmark::DoNotOptimize(md);
  }
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * k256M));
}
BENCHMARK(Sha1Kyn)->Name("sha1/kyn")->Unit(benchmark::kMillisecond);
BENCHMARK(Sha1OpenSSL)->Name("sha1/openssl")->Unit(benchmark::kMillisecond);

// ASCII85 between memory streams; bytes_processed counts the bytes read
// from the source (raw bytes when encoding, coded characters when decoding).
void Ascii85Encode(benchmark::State& st) {
  const kyn::TBytes& d = Data(k16M);
  kyn::TMemoryStream src, dst;
  src.WriteBuffer(d.data(), static_cast<int64_t>(k16M));
  for (auto _ : st) {
    src.SetPosition(0);
    dst.SetPosition(0);
    kyn::EncodeASCII85(src, dst);
  }
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * k16M));
}
void Ascii85Decode(benchmark::State& st) {
  const kyn::TBytes& d = Data(k16M);
  kyn::TMemoryStream raw, coded, dst;
  raw.WriteBuffer(d.data(), static_cast<int64_t>(k16M));
  raw.SetPosition(0);
  kyn::EncodeASCII85(raw, coded);
  const int64_t codedSize = coded.Size();
  for (auto _ : st) {
    coded.SetPosition(0);
    dst.SetPosition(0);
    benchmark::DoNotOptimize(kyn::DecodeASCII85(coded, dst));
  }
  st.SetBytesProcessed(st.iterations() * codedSize);
}
BENCHMARK(Ascii85Encode)->Name("ascii85_encode/kyn")->Unit(benchmark::kMillisecond);
BENCHMARK(Ascii85Decode)->Name("ascii85_decode/kyn")->Unit(benchmark::kMillisecond);

}  // namespace
