// XToP and PToX on arbitrary 8-byte patterns (the first eight bytes of the
// input): every value but a NaN gives a
// result inside the table's range of the other column, and a NaN raises
// EInvalidOp and nothing else.

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "normcalc/core.h"

namespace {

// The last row of the table: the largest X and the largest P it holds.
constexpr double kLastX = 3.98466366361372;
constexpr double kLastP = 0.49996719678728;

[[noreturn]] void Fail(const char* name, double input, double result, const char* what) {
  std::fprintf(stderr, "%s(%a = 0x%016llx) = %a: %s\n", name, input,
               static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(input)), result, what);
  std::abort();
}

void Check(const char* name, double (*lookup)(double), double input, double highest) {
  if (std::isnan(input)) {
    try {
      const double result = lookup(input);
      Fail(name, input, result, "a NaN raised nothing");
    } catch (const normcalc::EInvalidOp&) {
    }
    return;
  }
  const double result = lookup(input);
  // Written as negations so that a NaN result fails too.
  if (!(result >= 0.0 && result <= highest)) Fail(name, input, result, "outside the table's range");
  if (std::signbit(result)) Fail(name, input, result, "negative zero");
  if (input <= 0.0 && result != 0.0) Fail(name, input, result, "not 0 at or below the first key");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < sizeof(double)) return 0;
  double input;
  std::memcpy(&input, data, sizeof input);
  Check("XToP", normcalc::XToP, input, kLastP);
  Check("PToX", normcalc::PToX, input, kLastX);
  return 0;
}
