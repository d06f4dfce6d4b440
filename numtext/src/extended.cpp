// Software double-extended arithmetic.
//
// A finite value is handled unpacked as (sign, e, m): m is a 64-bit significand
// with bit 63 set and the value is m * 2^(e - 63). Exact intermediate results
// are held in 128 bits, (hi:lo) with bit 127 set standing for (hi:lo) * 2^(e - 127);
// bits that fall off the right end are folded into bit 0 ("jammed"), which keeps
// round-to-nearest-even exact because at least two bits always lie between the
// rounding position and the jammed bit.

#include <bit>
#include <cstring>

#include "extended_wide.h"
#include "narrow_to_double.h"
#include "normcalc/binary_formats.h"
#include "normcalc/numtext.h"

namespace normcalc {
namespace {

using binary_format::Double;
using binary_format::ExtendedFormat;

constexpr std::uint16_t kSignBit = ExtendedFormat::kSignBit;
constexpr std::uint16_t kExponentMask = ExtendedFormat::kExponentMask;
constexpr std::uint64_t kIntegerBit = ExtendedFormat::kIntegerBit;
constexpr std::uint64_t kQuietBit = ExtendedFormat::kQuietBit;
constexpr int kBias = ExtendedFormat::kExponentBias;
// Unbiased exponent of the smallest normal value, 2^-16382; subnormals share it.
constexpr int kMinExponent = 1 - kBias;
constexpr int kMaxBiased = ExtendedFormat::kMaxFiniteExponentField;

struct Unpacked {
  bool negative;
  int exponent;
  std::uint64_t significand;  // bit 63 set
};

// Formats the x87 unit does not support (unnormals, pseudo-infinities,
// pseudo-NaNs) are invalid operands there; no routine here creates them.
bool IsUnsupported(Extended x) {
  const std::uint16_t field = x.BiasedExponent();
  return field != 0 && (x.Significand() & kIntegerBit) == 0;
}

bool IsSignalingNaN(Extended x) { return x.IsNaN() && (x.Significand() & kQuietBit) == 0; }

// A finite, non-zero value in normalised form. Subnormals (and the
// pseudo-denormals with the integer bit set in a zero exponent field) get an
// exponent below the normal range instead of leading zeros.
Unpacked Unpack(Extended x) {
  const std::uint16_t field = x.BiasedExponent();
  std::uint64_t m = x.Significand();
  if (field != 0) return {x.SignBit(), field - kBias, m};
  const int shift = std::countl_zero(m);
  return {x.SignBit(), kMinExponent - shift, m << shift};
}

Extended Make(bool negative, int biasedExponent, std::uint64_t significand) {
  return Extended::FromBits(static_cast<std::uint16_t>((negative ? kSignBit : 0) | biasedExponent),
                            significand);
}

Extended Zero(bool negative) { return Make(negative, 0, 0); }

// The same value with the given sign, in its canonical encoding: a
// pseudo-denormal (integer bit set in a zero exponent field) moves to field 1.
Extended CanonicalWithSign(Extended x, bool negative) {
  const bool pseudoDenormal = x.BiasedExponent() == 0 && (x.Significand() & kIntegerBit) != 0;
  return Make(negative, pseudoDenormal ? 1 : x.BiasedExponent(), x.Significand());
}

// Rounds (hi:lo) * 2^(e - 127), bit 127 set, to 64 bits, to nearest with ties
// to even. Below the normal range the value is first shifted to the subnormal
// grid, so the one rounding happens at the subnormal's own last place.
[[gnu::always_inline]] inline Extended Round(bool negative, int e, Wide128 v) {
  int biased = e + kBias;
  if (biased <= 0) {
    v = ShiftRightJam(v, 1 - biased);
    biased = 0;
  }
  std::uint64_t m = v.hi;
  const bool roundBit = (v.lo >> 63) != 0;
  const bool above = (v.lo << 1) != 0;
  if (roundBit && (above || (m & 1) != 0)) {
    ++m;
    if (m == 0) {  // carried out of the top: the significand becomes 2^63 one binade up
      m = kIntegerBit;
      ++biased;
    } else if (biased == 0 && (m & kIntegerBit) != 0) {
      biased = 1;  // a subnormal rounded up into the smallest normal
    }
  }
  if (biased > kMaxBiased) throw EOverflow();
  if (m == 0) return Zero(negative);
  return Make(negative, biased, m);
}

// x87 propagation: a signalling NaN is an invalid operand; otherwise the
// quiet NaN with the larger significand wins, and of two with the same
// significand the positive one, whichever operand it is.
Extended PropagateNaN(Extended a, Extended b) {
  if (IsSignalingNaN(a) || IsSignalingNaN(b)) throw EInvalidOp();
  if (!b.IsNaN()) return a;
  if (!a.IsNaN()) return b;
  const std::uint64_t aPayload = a.Significand() & ~kQuietBit;
  const std::uint64_t bPayload = b.Significand() & ~kQuietBit;
  if (aPayload != bPayload) return bPayload > aPayload ? b : a;
  return a.SignBit() ? b : a;
}

void RejectUnsupported(Extended a, Extended b) {
  if (IsUnsupported(a) || IsUnsupported(b)) throw EInvalidOp();
}

// Finite, non-zero operands of the usual kind: a biased exponent field from
// 1 to 0x7FFE and the integer bit set. Nearly every operand the calculator
// meets is one, and for these the unpacked form is the bit pattern itself, so
// one test replaces the sorting out of zeros, infinities, NaNs, subnormals
// and unsupported encodings that the operations do first otherwise.
bool IsNormal(Extended x) {
  return static_cast<unsigned>(x.BiasedExponent()) - 1 < unsigned{kMaxBiased} &&
         (x.Significand() & kIntegerBit) != 0;
}

bool BothNormal(Extended a, Extended b) { return IsNormal(a) && IsNormal(b); }

// The same unpacked form Unpack gives, for a normal value.
Unpacked UnpackNormal(Extended x) {
  return {x.SignBit(), x.BiasedExponent() - kBias, x.Significand()};
}

// x + y for finite non-zero values, rounded once.
[[gnu::always_inline]] inline Extended AddUnpacked(Unpacked x, Unpacked y) {
  if (x.exponent < y.exponent || (x.exponent == y.exponent && x.significand < y.significand)) {
    std::swap(x, y);
  }
  // Now |x| >= |y|; y is aligned to x's exponent. A shift of up to 64 keeps y
  // exact in 128 bits; beyond that y is below x's last place by 2^64 and its
  // lost bits only need to be seen as a sticky bit.
  const Wide128 wx{x.significand, 0};
  const Wide128 wy = ShiftRightJam(Wide128{y.significand, 0}, x.exponent - y.exponent);
  int e = x.exponent;
  if (x.negative == y.negative) {
    auto [sum, carry] = Add(wx, wy);
    if (carry) {
      sum = ShiftRightJam(sum, 1);
      sum.hi |= kIntegerBit;
      ++e;
    }
    return Round(x.negative, e, sum);
  }
  Wide128 difference = Subtract(wx, wy);
  if (difference.hi == 0 && difference.lo == 0) return Zero(false);
  const int shift = CountLeadingZeros(difference);
  return Round(x.negative, e - shift, ShiftLeft(difference, shift));
}

// a + b where b's sign is taken as bNegative (so that subtraction shares it),
// for operands that are not both normal.
[[gnu::noinline]] Extended AddSpecial(Extended a, Extended b, bool bNegative) {
  RejectUnsupported(a, b);
  if (a.IsNaN() || b.IsNaN()) return PropagateNaN(a, b);
  if (a.IsInfinite() || b.IsInfinite()) {
    if (a.IsInfinite() && b.IsInfinite() && a.SignBit() != bNegative) throw EInvalidOp();
    return a.IsInfinite() ? a : Extended::Infinity(bNegative);
  }
  if (b.IsZero()) {
    // Exact zeros of opposite sign sum to +0 when rounding to nearest.
    if (a.IsZero()) return Zero(a.SignBit() && bNegative);
    return CanonicalWithSign(a, a.SignBit());
  }
  if (a.IsZero()) return CanonicalWithSign(b, bNegative);
  Unpacked y = Unpack(b);
  y.negative = bNegative;
  return AddUnpacked(Unpack(a), y);
}

Extended AddWithSign(Extended a, Extended b, bool bNegative) {
  if (!BothNormal(a, b)) return AddSpecial(a, b, bNegative);
  Unpacked y = UnpackNormal(b);
  y.negative = bNegative;
  return AddUnpacked(UnpackNormal(a), y);
}

}  // namespace

// The doubles the inline FromDouble leaves: zeros, subnormals, infinities
// and NaNs (the normal ones give the same result here as there).
Extended Extended::FromDoubleSpecial(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const bool negative = (bits & Double::kSignBit) != 0;
  const int field = static_cast<int>((bits >> Double::kFractionBits) & Double::kMaxExponentField);
  const std::uint64_t fraction = bits & Double::kFractionMask;
  if (field == Double::kMaxExponentField) {
    // A signalling NaN comes out quiet: widening never fails, so that every
    // double can still be written as text.
    if (fraction == 0) return Infinity(negative);
    return Make(negative, kExponentMask,
                kIntegerBit | kQuietBit | (fraction << binary_format::kNarrowedBits));
  }
  if (field == 0) {
    if (fraction == 0) return Zero(negative);
    // A subnormal double is a normal extended value: 2^-1074 times the fraction.
    const int shift = std::countl_zero(fraction);
    return Make(negative, (63 - shift) + Double::kMinSubnormalExponent + kBias, fraction << shift);
  }
  return Make(negative, field - Double::kExponentBias + kBias,
              kIntegerBit | (fraction << binary_format::kNarrowedBits));
}

Extended Extended::Infinity(bool negative) { return Make(negative, kExponentMask, kIntegerBit); }

Extended Extended::QuietNaN(bool negative) {
  return Make(negative, kExponentMask, kIntegerBit | kQuietBit);
}

Extended Extended::Largest() { return Make(false, kMaxBiased, ~std::uint64_t{0}); }

bool Extended::IsNaN() const {
  return BiasedExponent() == kExponentMask && (significand_ << 1) != 0;
}

bool Extended::IsInfinite() const {
  return BiasedExponent() == kExponentMask && (significand_ << 1) == 0;
}

bool Extended::IsZero() const { return BiasedExponent() == 0 && significand_ == 0; }

Extended Extended::operator-() const { return FromBits(signExponent_ ^ kSignBit, significand_); }

Extended Extended::Abs() const {
  return FromBits(static_cast<std::uint16_t>(signExponent_ & kExponentMask), significand_);
}

Extended operator+(Extended a, Extended b) { return AddWithSign(a, b, b.SignBit()); }

Extended operator-(Extended a, Extended b) {
  return AddWithSign(a, b, b.IsNaN() ? b.SignBit() : !b.SignBit());
}

namespace {

// x * y for finite non-zero values, rounded once.
[[gnu::always_inline]] inline Extended MultiplyUnpacked(Unpacked x, Unpacked y) {
  // The product of two significands in [2^63, 2^64) lies in [2^126, 2^128).
  Wide128 product = Multiply(x.significand, y.significand);
  int e = x.exponent + y.exponent + 1;
  if ((product.hi & kIntegerBit) == 0) {
    product = ShiftLeft(product, 1);
    --e;
  }
  return Round(x.negative != y.negative, e, product);
}

[[gnu::noinline]] Extended MultiplySpecial(Extended a, Extended b) {
  RejectUnsupported(a, b);
  if (a.IsNaN() || b.IsNaN()) return PropagateNaN(a, b);
  const bool negative = a.SignBit() != b.SignBit();
  if (a.IsInfinite() || b.IsInfinite()) {
    if (a.IsZero() || b.IsZero()) throw EInvalidOp();
    return Extended::Infinity(negative);
  }
  if (a.IsZero() || b.IsZero()) return Zero(negative);
  return MultiplyUnpacked(Unpack(a), Unpack(b));
}

// x / y for finite non-zero values, rounded once.
[[gnu::always_inline]] inline Extended DivideUnpacked(Unpacked x, Unpacked y) {
  // q = floor(mx * 2^64 / my) lies in (2^63, 2^65), as mx < 2 my. Its bit 64
  // is whether mx >= my; taking my away from mx then leaves a dividend below
  // the divisor, whose quotient fits one word and gives q's low 64 bits.
  // With 65 bits, q's last bit is the rounding bit and the remainder the
  // sticky bit; with 64 bits, the rounding bit comes from comparing twice the
  // remainder with the divisor.
  const bool upperBit = x.significand >= y.significand;
  const std::uint64_t dividend = upperBit ? x.significand - y.significand : x.significand;
  const NarrowQuotient qr = DivideNarrow(Wide128{dividend, 0}, y.significand);
  Wide128 q;
  int e;
  if (upperBit) {
    q = Wide128{kIntegerBit | (qr.quotient >> 1),
                (qr.quotient << 63) | (qr.remainder != 0 ? 1 : 0)};
    e = x.exponent - y.exponent;
  } else {
    const bool half = qr.remainder >= y.significand - qr.remainder;
    const bool exactHalf = qr.remainder == y.significand - qr.remainder;
    const bool sticky = half ? !exactHalf : qr.remainder != 0;
    q = Wide128{qr.quotient, (half ? kIntegerBit : 0) | (sticky ? 1 : 0)};
    e = x.exponent - y.exponent - 1;
  }
  return Round(x.negative != y.negative, e, q);
}

[[gnu::noinline]] Extended DivideSpecial(Extended a, Extended b) {
  RejectUnsupported(a, b);
  if (a.IsNaN() || b.IsNaN()) return PropagateNaN(a, b);
  const bool negative = a.SignBit() != b.SignBit();
  if (a.IsInfinite()) {
    if (b.IsInfinite()) throw EInvalidOp();
    return Extended::Infinity(negative);
  }
  if (b.IsInfinite()) return Zero(negative);
  if (b.IsZero()) {
    if (a.IsZero()) throw EInvalidOp();
    throw EZeroDivide();
  }
  if (a.IsZero()) return Zero(negative);
  return DivideUnpacked(Unpack(a), Unpack(b));
}

}  // namespace

Extended operator*(Extended a, Extended b) {
  if (!BothNormal(a, b)) return MultiplySpecial(a, b);
  return MultiplyUnpacked(UnpackNormal(a), UnpackNormal(b));
}

Extended operator/(Extended a, Extended b) {
  if (!BothNormal(a, b)) return DivideSpecial(a, b);
  return DivideUnpacked(UnpackNormal(a), UnpackNormal(b));
}

namespace {

// The order of two values of the same encoding family, neither a NaN nor a
// zero pair: the sign decides, then the magnitude, in the order of (biased
// exponent, significand), which for these encodings is the order of value.
int CompareByEncoding(Extended a, Extended b) {
  if (a.SignBit() != b.SignBit()) return a.SignBit() ? -1 : 1;
  int magnitude = 0;
  if (a.BiasedExponent() != b.BiasedExponent()) {
    magnitude = a.BiasedExponent() < b.BiasedExponent() ? -1 : 1;
  } else if (a.Significand() != b.Significand()) {
    magnitude = a.Significand() < b.Significand() ? -1 : 1;
  }
  return a.SignBit() ? -magnitude : magnitude;
}

// -1, 0 or +1; raises on a NaN, as every ordered comparison does.
int Compare(Extended a, Extended b) {
  if (BothNormal(a, b)) return CompareByEncoding(a, b);
  RejectUnsupported(a, b);
  if (a.IsNaN() || b.IsNaN()) throw EInvalidOp();
  // A pseudo-denormal (integer bit set in a zero exponent field) is worth the
  // same significand in field 1, where the encoding order expects it.
  a = CanonicalWithSign(a, a.SignBit());
  b = CanonicalWithSign(b, b.SignBit());
  if (a.IsZero() && b.IsZero()) return 0;
  return CompareByEncoding(a, b);
}

}  // namespace

bool operator<(Extended a, Extended b) { return Compare(a, b) < 0; }
bool operator>(Extended a, Extended b) { return Compare(a, b) > 0; }
bool operator<=(Extended a, Extended b) { return Compare(a, b) <= 0; }
bool operator>=(Extended a, Extended b) { return Compare(a, b) >= 0; }
bool operator==(Extended a, Extended b) { return Compare(a, b) == 0; }
bool operator!=(Extended a, Extended b) { return Compare(a, b) != 0; }

// See narrow_to_double.h for how this differs from the reader's NarrowToDouble.
double Extended::ToDouble() const {
  const bool negative = SignBit();
  std::uint64_t bits = negative ? Double::kSignBit : 0;
  constexpr int kFractionBits = Double::kFractionBits;
  constexpr int kDroppedBits = binary_format::kNarrowedBits;  // below a double's last place
  constexpr int kDoubleBias = Double::kExponentBias;
  constexpr int kLargestDoubleField = Double::kMaxExponentField - 1;
  const int doubleField = BiasedExponent() - kBias + kDoubleBias;
  if (IsNormal(*this) && doubleField >= 1 && doubleField <= kLargestDoubleField) {
    bits |= RoundToNormalDoubleBits(significand_, doubleField);
    double result;
    std::memcpy(&result, &bits, sizeof result);
    return result;
  }
  if (IsNaN()) {
    bits |=
        Double::kInfinityBits | Double::kQuietBit | ((significand_ & ~kIntegerBit) >> kDroppedBits);
  } else if (IsInfinite()) {
    bits |= Double::kInfinityBits;
  } else if (!IsZero()) {
    if (IsUnsupported(*this)) throw EInvalidOp();
    const Unpacked x = Unpack(*this);
    int biased = x.exponent + kDoubleBias;
    // Shift so that the double's last place is bit 0 of `kept`; below the
    // normal range that place is 2^-1074, so the shift grows.
    const int shift = biased >= 1 ? kDroppedBits : kDroppedBits + 1 - biased;
    std::uint64_t kept = 0;
    bool roundUp = false;
    if (shift < 64) {
      kept = x.significand >> shift;
      const std::uint64_t rest = x.significand << (64 - shift);
      roundUp = rest > kIntegerBit || (rest == kIntegerBit && (kept & 1) != 0);
    } else if (shift == 64) {
      roundUp = x.significand > kIntegerBit;  // exactly half rounds to the even zero
    }
    if (roundUp) ++kept;
    if (biased >= 1) {
      if (kept >> (kFractionBits + 1)) {  // rounding carried into a new binade
        kept >>= 1;
        ++biased;
      }
      if (biased >= static_cast<int>(Double::kMaxExponentField)) {
        bits |= Double::kInfinityBits;
      } else {
        bits |=
            (static_cast<std::uint64_t>(biased) << kFractionBits) | (kept & Double::kFractionMask);
      }
    } else {
      // A subnormal that rounds up to 2^52 becomes the smallest normal double
      // by itself: bit 52 is the exponent field's lowest bit.
      bits |= kept;
    }
  }
  double result;
  std::memcpy(&result, &bits, sizeof result);
  return result;
}

Extended Extended::RoundToInteger() const {
  if (IsNaN() || IsInfinite() || IsZero()) return *this;
  if (IsUnsupported(*this)) throw EInvalidOp();
  const Unpacked x = Unpack(*this);
  if (x.exponent >= 63) return *this;
  if (x.exponent < -1) return Zero(x.negative);  // below one half
  if (x.exponent == -1) {                        // in [1/2, 1): exactly 1/2 goes to even 0
    return x.significand == kIntegerBit ? Zero(x.negative) : Make(x.negative, kBias, kIntegerBit);
  }
  const int fractionBits = 63 - x.exponent;
  const std::uint64_t one = std::uint64_t{1} << fractionBits;
  const std::uint64_t half = one >> 1;
  const std::uint64_t rest = x.significand & (one - 1);
  std::uint64_t kept = x.significand - rest;
  if (rest > half || (rest == half && (kept & one) != 0)) {
    kept += one;
    if (kept == 0) return Make(x.negative, x.exponent + 1 + kBias, kIntegerBit);
  }
  return Make(x.negative, x.exponent + kBias, kept);
}

}  // namespace normcalc
