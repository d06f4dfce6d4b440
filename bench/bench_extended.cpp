// Extended +, -, *, / beside the hardware's long double (the x87 unit on x86)
// in the same run, over the same operands. Each call takes fresh operands from
// a ring of values of the kind the lookup and the number conversions work on,
// so those figures are per independent call; the *Chain runs of multiply and
// divide feed each result into the next call and give the latency. After the
// usual report, one line per operation gives ns/call for both and the ratio of
// ours to long double's.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "normcalc/numtext.h"
#include "ratio_report.h"

namespace {

using normcalc::Extended;

constexpr std::size_t kRingSize = 1024;  // a power of two, so the index wraps by a mask
// The goal for multiply and divide: within this factor of long double.
constexpr double kGoalRatio = 4.0;

struct Operands {
  std::array<Extended, kRingSize> extendedA;
  std::array<Extended, kRingSize> extendedB;
  std::array<long double, kRingSize> longA;
  std::array<long double, kRingSize> longB;
  // Factors in [1, 2) each followed by its reciprocal, so that a chain of
  // products or quotients over the ring stays near 1 however long it runs.
  std::array<Extended, kRingSize> extendedFactor;
  std::array<long double, kRingSize> longFactor;
};

// Values between 2^-40 and 2^40 with full random significands, both signs:
// every operation rounds, none overflows or meets a special value.
const Operands& TheOperands() {
  static const Operands operands = [] {
    Operands o;
    std::uint64_t state = 0x6E6F726D63616C63;
    auto next = [&state] {  // SplitMix64
      std::uint64_t z = (state += 0x9E37'79B9'7F4A'7C15);
      z = (z ^ (z >> 30)) * 0xBF58'476D'1CE4'E5B9;
      z = (z ^ (z >> 27)) * 0x94D0'49BB'1331'11EB;
      return z ^ (z >> 31);
    };
    for (std::size_t i = 0; i < kRingSize; ++i) {
      for (int side = 0; side < 2; ++side) {
        const std::uint64_t r = next();
        const auto exponent = static_cast<std::uint16_t>(Extended::kExponentBias - 40 + r % 81);
        const std::uint16_t sign = (r >> 20) & 1 ? 0x8000 : 0;
        const std::uint64_t significand = next() | 0x8000'0000'0000'0000;
        const Extended x =
            Extended::FromBits(static_cast<std::uint16_t>(sign | exponent), significand);
        // The same value as a long double, built from parts the exact way:
        // significand * 2^(exponent - bias - 63), all steps exact.
        long double l = static_cast<long double>(significand);
        for (int e = exponent - Extended::kExponentBias - 63; e < 0; ++e) l /= 2;
        for (int e = exponent - Extended::kExponentBias - 63; e > 0; --e) l *= 2;
        if (sign != 0) l = -l;
        (side == 0 ? o.extendedA : o.extendedB)[i] = x;
        (side == 0 ? o.longA : o.longB)[i] = l;
      }
    }
    for (std::size_t i = 0; i < kRingSize; i += 2) {
      const std::uint64_t significand = next() | 0x8000'0000'0000'0000;
      o.extendedFactor[i] = Extended::FromBits(Extended::kExponentBias, significand);
      o.extendedFactor[i + 1] = Extended::FromUInt64(1) / o.extendedFactor[i];
      o.longFactor[i] = static_cast<long double>(significand) / 0x1p63L;
      o.longFactor[i + 1] = 1.0L / o.longFactor[i];
    }
    return o;
  }();
  return operands;
}

template <typename Op>
void RunExtended(benchmark::State& state, Op op) {
  const Operands& o = TheOperands();
  std::size_t i = 0;
  for (auto _ : state) {
    Extended r = op(o.extendedA[i], o.extendedB[i]);
    benchmark::DoNotOptimize(r);
    i = (i + 1) & (kRingSize - 1);
  }
}

template <typename Op>
void RunLongDouble(benchmark::State& state, Op op) {
  const Operands& o = TheOperands();
  std::size_t i = 0;
  for (auto _ : state) {
    long double r = op(o.longA[i], o.longB[i]);
    benchmark::DoNotOptimize(r);
    i = (i + 1) & (kRingSize - 1);
  }
}

// Each call waits for the one before: the latency of the operation rather
// than the rate at which independent calls go through.
template <typename Op>
void ChainExtended(benchmark::State& state, Op op) {
  const Operands& o = TheOperands();
  Extended r = Extended::FromUInt64(1);
  std::size_t i = 0;
  for (auto _ : state) {
    r = op(r, o.extendedFactor[i]);
    i = (i + 1) & (kRingSize - 1);
  }
  benchmark::DoNotOptimize(r);
}

template <typename Op>
void ChainLongDouble(benchmark::State& state, Op op) {
  const Operands& o = TheOperands();
  long double r = 1;
  std::size_t i = 0;
  for (auto _ : state) {
    r = op(r, o.longFactor[i]);
    benchmark::DoNotOptimize(r);
    i = (i + 1) & (kRingSize - 1);
  }
}

void ExtendedAdd(benchmark::State& s) {
  RunExtended(s, [](Extended a, Extended b) { return a + b; });
}
void ExtendedSubtract(benchmark::State& s) {
  RunExtended(s, [](Extended a, Extended b) { return a - b; });
}
void ExtendedMultiply(benchmark::State& s) {
  RunExtended(s, [](Extended a, Extended b) { return a * b; });
}
void ExtendedDivide(benchmark::State& s) {
  RunExtended(s, [](Extended a, Extended b) { return a / b; });
}
void LongDoubleAdd(benchmark::State& s) {
  RunLongDouble(s, [](long double a, long double b) { return a + b; });
}
void LongDoubleSubtract(benchmark::State& s) {
  RunLongDouble(s, [](long double a, long double b) { return a - b; });
}
void LongDoubleMultiply(benchmark::State& s) {
  RunLongDouble(s, [](long double a, long double b) { return a * b; });
}
void LongDoubleDivide(benchmark::State& s) {
  RunLongDouble(s, [](long double a, long double b) { return a / b; });
}

void ExtendedMultiplyChain(benchmark::State& s) {
  ChainExtended(s, [](Extended a, Extended b) { return a * b; });
}
void ExtendedDivideChain(benchmark::State& s) {
  ChainExtended(s, [](Extended a, Extended b) { return a / b; });
}
void LongDoubleMultiplyChain(benchmark::State& s) {
  ChainLongDouble(s, [](long double a, long double b) { return a * b; });
}
void LongDoubleDivideChain(benchmark::State& s) {
  ChainLongDouble(s, [](long double a, long double b) { return a / b; });
}

BENCHMARK(ExtendedAdd);
BENCHMARK(LongDoubleAdd);
BENCHMARK(ExtendedSubtract);
BENCHMARK(LongDoubleSubtract);
BENCHMARK(ExtendedMultiply);
BENCHMARK(LongDoubleMultiply);
BENCHMARK(ExtendedDivide);
BENCHMARK(LongDoubleDivide);
BENCHMARK(ExtendedMultiplyChain);
BENCHMARK(LongDoubleMultiplyChain);
BENCHMARK(ExtendedDivideChain);
BENCHMARK(LongDoubleDivideChain);

}  // namespace

int main(int argc, char** argv) {
  std::vector<normcalc::bench::RatioPair> pairs;
  for (const char* operation : {"Add", "Subtract"}) {
    pairs.push_back({std::string("Extended") + operation, std::string("LongDouble") + operation});
  }
  for (const char* operation : {"Multiply", "Divide", "MultiplyChain", "DivideChain"}) {
    pairs.push_back(
        {std::string("Extended") + operation, std::string("LongDouble") + operation, kGoalRatio});
  }
  return normcalc::bench::RunWithRatios(argc, argv, std::move(pairs));
}
