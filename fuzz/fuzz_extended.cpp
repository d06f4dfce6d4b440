// Extended against the x87 unit (x86 only): arbitrary 80-bit operands, every
// operation, the same result bits and the same faults. The x87 unit runs with
// its exceptions masked, so a fault shows as a flag: the flag that is set is
// the exception Extended must raise, and without a flag the bits must agree.
//
// Input layout: one byte choosing the operation, then two 10-byte operands in
// the x87 memory layout (significand, then sign and exponent); further bytes
// are ignored.

#include <cfenv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "normcalc/numtext.h"

namespace {

using normcalc::Extended;

constexpr std::size_t kOperandBytes = 10;
constexpr int kFaults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

Extended ToExtended(long double x) {
  std::uint64_t significand;
  std::uint16_t signExponent;
  std::memcpy(&significand, &x, 8);
  std::memcpy(&signExponent, reinterpret_cast<const char*>(&x) + 8, 2);
  return Extended::FromBits(signExponent, significand);
}

long double FromBytes(const std::uint8_t* bytes) {
  long double x = 0;
  std::memcpy(&x, bytes, kOperandBytes);
  return x;
}

enum class Fault { kNone, kInvalid, kZeroDivide, kOverflow };

Fault FaultOf(int flags) {
  // The x87 unit checks invalid operands first, then a zero divisor, and only
  // a computed result can overflow, so at most one of these is ever set.
  if (flags & FE_INVALID) return Fault::kInvalid;
  if (flags & FE_DIVBYZERO) return Fault::kZeroDivide;
  if (flags & FE_OVERFLOW) return Fault::kOverflow;
  return Fault::kNone;
}

template <typename Operation>
Fault FaultFrom(Operation operation, Extended& result) {
  try {
    result = operation();
  } catch (const normcalc::EInvalidOp&) {
    return Fault::kInvalid;
  } catch (const normcalc::EZeroDivide&) {
    return Fault::kZeroDivide;
  } catch (const normcalc::EOverflow&) {
    return Fault::kOverflow;
  }
  return Fault::kNone;
}

[[noreturn]] void Fail(const char* operation, long double a, long double b, const char* what) {
  const Extended ea = ToExtended(a);
  const Extended eb = ToExtended(b);
  std::fprintf(stderr, "%s on %04x:%016llx and %04x:%016llx: %s\n", operation, ea.SignExponent(),
               static_cast<unsigned long long>(ea.Significand()), eb.SignExponent(),
               static_cast<unsigned long long>(eb.Significand()), what);
  std::abort();
}

bool SameBits(Extended x, Extended y) {
  return x.SignExponent() == y.SignExponent() && x.Significand() == y.Significand();
}

// x87 arithmetic with the flags it raised. The operands are read through
// volatile after the flags are cleared and the result is stored through
// volatile before they are read, so the operation happens between the two.
struct X87Result {
  long double value;
  Fault fault;
};

template <typename Operation>
X87Result RunX87(long double a, long double b, Operation operation) {
  volatile long double va = a;
  volatile long double vb = b;
  std::feclearexcept(FE_ALL_EXCEPT);
  volatile long double r = operation(va, vb);
  const int flags = std::fetestexcept(kFaults);
  return {r, FaultOf(flags)};
}

void CheckArithmetic(const char* name, long double a, long double b, X87Result expected,
                     Fault fault, Extended got) {
  if (fault != expected.fault) Fail(name, a, b, "a different fault");
  if (fault == Fault::kNone && !SameBits(got, ToExtended(expected.value))) {
    Fail(name, a, b, "different result bits");
  }
}

// The pseudo-infinities and pseudo-NaNs (all-ones exponent without the integer
// bit) are invalid operands on the x87 unit. No routine in the system creates
// them, and the conversions that are not arithmetic (to double, to an integer)
// treat them by their fraction alone, so those two are checked without them.
bool IsPseudoSpecial(Extended x) {
  return x.BiasedExponent() == Extended::kMaxBiasedExponent && (x.Significand() >> 63) == 0;
}

// By the bits: std::isnan on the x87 unit also says "NaN" for the unsupported
// encodings, which compare unordered.
bool IsNaNEncoding(Extended x) {
  return x.BiasedExponent() == Extended::kMaxBiasedExponent && (x.Significand() << 1) != 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 + 2 * kOperandBytes) return 0;
  const long double a = FromBytes(data + 1);
  const long double b = FromBytes(data + 1 + kOperandBytes);
  const Extended ea = ToExtended(a);
  const Extended eb = ToExtended(b);
  Extended got;

  switch (data[0] % 8) {
    case 0: {
      const Fault fault = FaultFrom([&] { return ea + eb; }, got);
      CheckArithmetic("+", a, b, RunX87(a, b, [](long double x, long double y) { return x + y; }),
                      fault, got);
      break;
    }
    case 1: {
      const Fault fault = FaultFrom([&] { return ea - eb; }, got);
      CheckArithmetic("-", a, b, RunX87(a, b, [](long double x, long double y) { return x - y; }),
                      fault, got);
      break;
    }
    case 2: {
      const Fault fault = FaultFrom([&] { return ea * eb; }, got);
      CheckArithmetic("*", a, b, RunX87(a, b, [](long double x, long double y) { return x * y; }),
                      fault, got);
      break;
    }
    case 3: {
      const Fault fault = FaultFrom([&] { return ea / eb; }, got);
      CheckArithmetic("/", a, b, RunX87(a, b, [](long double x, long double y) { return x / y; }),
                      fault, got);
      break;
    }
    case 4: {
      // Extended compares as the x87 unit's ordered compare: a NaN of either
      // kind or an unsupported operand is an invalid operation, for == too.
      const X87Result less = RunX87(
          a, b, [](long double x, long double y) { return static_cast<long double>(x < y); });
      const bool invalid = IsNaNEncoding(ea) || IsNaNEncoding(eb) || less.fault == Fault::kInvalid;
      bool raised = false;
      int order = 0;
      try {
        order = (ea < eb) ? -1 : (ea == eb ? 0 : 1);
        if ((ea > eb) != (order == 1) || (ea <= eb) != (order != 1) ||
            (ea >= eb) != (order != -1) || (ea != eb) != (order != 0)) {
          Fail("compare", a, b, "the six comparisons disagree");
        }
      } catch (const normcalc::EInvalidOp&) {
        raised = true;
      }
      if (raised != invalid) Fail("compare", a, b, "a NaN or unsupported operand handled wrongly");
      if (!invalid && order != (a < b ? -1 : (a == b ? 0 : 1)))
        Fail("compare", a, b, "wrong order");
      break;
    }
    case 5: {
      if (IsPseudoSpecial(ea)) break;
      double converted = 0;
      bool raised = false;
      try {
        converted = ea.ToDouble();
      } catch (const normcalc::EInvalidOp&) {
        raised = true;
      }
      const X87Result expected = RunX87(a, b, [](long double x, long double) {
        return static_cast<long double>(static_cast<double>(x));
      });
      // A NaN converts quietly in Extended (the x87 unit flags a signalling one).
      const bool invalid = expected.fault == Fault::kInvalid && !IsNaNEncoding(ea);
      if (raised != invalid) Fail("ToDouble", a, b, "a different fault");
      const double x87 = static_cast<double>(expected.value);
      if (!raised && std::memcmp(&converted, &x87, sizeof x87) != 0) {
        Fail("ToDouble", a, b, "different double bits");
      }
      break;
    }
    case 6: {
      if (IsPseudoSpecial(ea) || IsNaNEncoding(ea)) break;
      const Fault fault = FaultFrom([&] { return ea.RoundToInteger(); }, got);
      const X87Result expected =
          RunX87(a, b, [](long double x, long double) { return std::rint(x); });
      CheckArithmetic("RoundToInteger", a, b, expected, fault, got);
      break;
    }
    case 7: {
      // Widening a double is exact; a signalling NaN comes out quiet.
      double d;
      std::memcpy(&d, data + 1, sizeof d);
      if (std::isnan(d)) break;
      if (!SameBits(Extended::FromDouble(d), ToExtended(static_cast<long double>(d)))) {
        Fail("FromDouble", a, b, "different bits");
      }
      break;
    }
  }
  return 0;
}
