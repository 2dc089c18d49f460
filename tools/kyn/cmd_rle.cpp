// kyn rle encode|decode [FILE]: run-length coding of a file or of standard
// input, written to standard output. Binary-safe.
#include <cstdio>
#include <iomanip>
#include <iostream>
#include <memory>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "kyn/dstruct.h"
#include "kyn/platform/random.h"
#include "kyn/platform/streams.h"

namespace {

using kyn::TBytes;
using Chunk = std::span<const uint8_t>;

constexpr int32_t kBlock = 1 << 16;

// Passes the bytes of FILE (standard input when empty) to fn chunk by chunk.
void ForEachChunk(const std::string& file, const std::function<void(Chunk)>& fn) {
  std::vector<uint8_t> buf(kBlock);
  if (file.empty()) {
    for (;;) {
      const size_t n = std::fread(buf.data(), 1, buf.size(), stdin);
      if (n > 0) fn(Chunk(buf.data(), n));
      if (n < buf.size()) {
        if (std::ferror(stdin)) throw kyn::cli::Failure("cannot read standard input", 1);
        return;
      }
    }
  }
  std::unique_ptr<kyn::TFileStream> in;
  try {
    in = std::make_unique<kyn::TFileStream>(kyn::cli::U16(file), kyn::fmOpenRead);
    for (;;) {
      const int64_t n = in->Read(buf.data(), static_cast<int64_t>(buf.size()));
      if (n <= 0) return;
      fn(Chunk(buf.data(), static_cast<size_t>(n)));
    }
  } catch (const kyn::Exception& e) {
    throw kyn::cli::Failure(e.what(), 1);
  }
}

void Write(const TBytes& block, int32_t n) {
  std::cout.write(reinterpret_cast<const char*>(block.data()), n);
}

void Encode(const std::string& file) {
  kyn::TRLEncoder rle(nullptr);
  rle.SetBufLeng(kBlock);
  TBytes block;
  ForEachChunk(file, [&](Chunk c) {
    if (rle.Encode(c))
      while (rle.GetResult(block)) Write(block, kBlock);
  });
  for (int32_t n; (n = rle.Finish(block)) > 0;) Write(block, n);
}

void Decode(const std::string& file) {
  kyn::TRLEncoder rle(nullptr);
  rle.SetBufLeng(kBlock);
  TBytes block;
  ForEachChunk(file, [&](Chunk c) {
    if (rle.Decode(c))
      while (rle.GetResult(block)) Write(block, kBlock);
  });
  for (int32_t n; (n = rle.FinishDecode(block)) > 0;) Write(block, n);
  if (rle.DecodeState() != kyn::rlData) {
    std::cout.flush();
    throw kyn::cli::Failure("rle decode: the input ends inside a run item", 1);
  }
}

const bool registered = kyn::cli::RegisterFamily("rle", [](CLI::App& app) {
  auto* rle = app.add_subcommand("rle", "Run-length coding (lead-in byte 0xA5) to standard output");
  rle->require_subcommand(1);
  auto file = std::make_shared<std::string>();
  auto* enc = rle->add_subcommand("encode", "Run-length encode FILE or standard input");
  enc->add_option("FILE", *file, "Input file (standard input when absent)");
  enc->callback([file] { Encode(*file); });
  auto* dec = rle->add_subcommand("decode", "Decode run-length coded FILE or standard input");
  dec->add_option("FILE", *file, "Input file (standard input when absent)");
  dec->callback([file] { Decode(*file); });
});

std::string Hex(const TBytes& b) {
  std::ostringstream s;
  for (size_t i = 0; i < b.size(); ++i)
    s << (i ? " " : "") << std::hex << std::uppercase << std::setw(2) << std::setfill('0') << int(b[i]);
  return s.str();
}

std::string Bits(const kyn::TBitFld& f) {
  std::string s;
  for (int32_t i = 0; i <= f.Size(); ++i) s += f.GetBit(i) ? '1' : '0';
  return s;
}

void Demo(kyn::cli::DemoContext& ctx) {
  std::ostream& out = ctx.out;
  kyn::TBitFld bits(nullptr);
  bits.SetSize(23);
  for (int32_t i : {0, 3, 5, 6, 7, 8, 20}) bits.SetBit(i, true);
  out << "bit field, Size 23:      " << Bits(bits) << "  (" << bits.CountTrueBits()
      << " true, first at " << bits.FirstTrueBit() << ")\n";
  kyn::TBitFld mask(nullptr);
  mask.SetSize(23);
  for (int32_t i = 4; i <= 12; ++i) mask.SetBit(i, true);
  bits.CombineWith(&mask, kyn::loANDNot);
  out << "and not bits 4..12:      " << Bits(bits) << "\n";
  const uint32_t seed = kyn::RandSeed();
  kyn::RandSeed(2024);
  bits.RandomFill(25.0);
  kyn::RandSeed(seed);
  out << "random fill with 25 %:   " << Bits(bits) << "  (" << bits.CountTrueBits() << " true)\n";

  kyn::TFifo fifo(nullptr);
  fifo.SetSize(6);
  for (char c : std::string("abcde")) fifo.PutByte(static_cast<uint8_t>(c));
  out << "FIFO of Size 6 holds abcde (full); PutByte('f') " << (fifo.PutByte('f') ? "accepted" : "refused")
      << ", ForceByte('f') " << (fifo.ForceByte('f') ? "dropped the oldest" : "fit") << "\n";
  uint8_t first = 0;
  fifo.GetByte(first);
  fifo.LoadBack('X');
  std::string rest;
  for (uint8_t b; fifo.GetByte(b);) rest += static_cast<char>(b);
  out << "GetByte gives " << static_cast<char>(first) << ", then LoadBack('X') puts X in front: " << rest
      << "\n";

  kyn::TStringAccu words(nullptr);
  for (const char16_t* w : {u"to", u"be", u"or", u"not", u"to", u"be"}) words.Add(w);
  out << "word counts of \"to be or not to be\":";
  for (int32_t i = 1; i <= words.Size(); ++i)
    out << " " << kyn::cli::U8(words.Elem(i)) << "=" << words.Count(i);
  out << "\n";

  const std::string text = "AAAAAAAAAAAABCCC\xA5wwwwwwww!";
  const TBytes in(text.begin(), text.end());
  kyn::TRLEncoder rle(nullptr);
  rle.Encode(in, static_cast<int32_t>(in.size()));
  TBytes coded;
  const int32_t n = rle.Finish(coded);
  coded.resize(static_cast<size_t>(n));
  out << "run-length coding of " << in.size() << " bytes " << Hex(in) << "\n  gives " << n << " bytes "
      << Hex(coded) << "\n";
  rle.Reset();
  rle.Decode(std::span<const uint8_t>(coded));
  TBytes back;
  back.resize(static_cast<size_t>(rle.FinishDecode(back)));
  out << "  and decodes back " << (back == in ? "to the same bytes" : "WRONGLY") << "\n";
}

const bool demo = kyn::cli::RegisterDemo(75, "Bit fields, FIFO and run-length coding", Demo);

}  // namespace
