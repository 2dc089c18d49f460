// TFifo operation sequences against a std::deque model.
#include <cstdint>
#include <cstdlib>
#include <deque>

#include "fuzz_helpers.h"
#include "kyn/dstruct/fifo.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kynfuzz::Input in(data, size);
  kyn::TFifo fifo(nullptr);
  std::deque<uint8_t> model;
  size_t capacity = 255;
  while (!in.empty()) {
    const uint8_t op = in.take<uint8_t>();
    const uint8_t v = in.take<uint8_t>();
    uint8_t b = 0;
    switch (op % 9) {
      case 0:
        Check(fifo.PutByte(v) == (model.size() < capacity));
        if (model.size() < capacity) model.push_back(v);
        break;
      case 1: {
        const bool full = model.size() >= capacity;
        Check(fifo.ForceByte(v) == full);
        if (full && !model.empty()) model.pop_front();
        if (model.size() < capacity) model.push_back(v);
        break;
      }
      case 2:
        Check(fifo.LoadBack(v) == (model.size() < capacity));
        if (model.size() < capacity) model.push_front(v);
        break;
      case 3:
      case 4:
        Check(fifo.GetByte(b) == !model.empty());
        if (!model.empty()) {
          Check(b == model.front());
          model.pop_front();
        }
        break;
      case 5: {
        const int32_t ix = static_cast<int8_t>(v);
        const bool held = ix >= 0 && static_cast<size_t>(ix) < model.size();
        Check(fifo.SenseByte(ix, b) == held);
        if (held) Check(b == model[static_cast<size_t>(ix)]);
        break;
      }
      case 6:
        if (v % 8 == 0) {
          fifo.Clear();
          model.clear();
        }
        break;
      case 7: {
        const int32_t n = static_cast<int32_t>(v % 40) - 2;  // some <= 0, ignored
        fifo.SetSize(n);
        if (n > 0) {
          capacity = static_cast<size_t>(n - 1);
          while (model.size() > capacity) model.pop_front();
        }
        break;
      }
      case 8:
        fifo.SetSize(static_cast<int32_t>(v) + 200);
        capacity = static_cast<size_t>(v) + 199;
        break;
    }
    Check(fifo.Size() == static_cast<int32_t>(capacity + 1));
    Check(fifo.CountBytes() == static_cast<int32_t>(model.size()));
    for (size_t i = 0; i < model.size(); ++i) Check(fifo.SenseByte(static_cast<int32_t>(i), b) && b == model[i]);
  }
  uint8_t b = 0;
  while (!model.empty()) {
    Check(fifo.GetByte(b) && b == model.front());
    model.pop_front();
  }
  Check(!fifo.GetByte(b));
  return 0;
}
