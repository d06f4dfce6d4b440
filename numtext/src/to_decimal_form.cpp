// The decimal digits and point position of an extended value, rounded to a
// given number of significant digits.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

#include "extended_wide.h"
#include "normcalc/numtext_stages.h"
#include "powers_of_ten.h"

namespace normcalc {

namespace {

constexpr int kMinPrecision = 2;
constexpr int kMaxPrecision = 18;
// The scaled value is rounded to an integer of this many digits before it is
// cut to the precision.
constexpr int kIntegerDigits = 18;
constexpr std::uint64_t kInfinitySignificand = std::uint64_t{1} << 63;  // integer bit alone
// 19728 / 65536 = 0.301025390625 lies just below log10(2) = 0.30102999...: the
// estimate of the decimal exponent from the binary one is never more than one
// too low (the shortfall over the whole extended range stays below 0.08 of a
// decade) and, for negative exponents, at most one too high.
constexpr std::int32_t kLog10Of2Times65536 = 19728;
constexpr int kLog10Of2Shift = 16;

// The value of a non-negative integral Extended below 2^64.
std::uint64_t IntegerValue(Extended integer) {
  if (integer.IsZero()) return 0;
  int exponent = static_cast<int>(integer.BiasedExponent()) - Extended::kExponentBias;
  if (exponent < 0) return 0;
  if (exponent > 63) return UINT64_MAX;
  return integer.Significand() >> (63 - exponent);
}

// Writes the kHalfDigits decimal digits of value < 10^kHalfDigits, leading
// zeros included.
constexpr int kHalfDigits = kIntegerDigits / 2;
constexpr std::uint64_t kHalfBase = 1'000'000'000;  // 10^kHalfDigits
void WriteHalfDigits(std::uint32_t value, char* digits) {
  for (int i = kHalfDigits - 1; i >= 0; --i) {
    digits[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
}

// Writes the kIntegerDigits decimal digits of value, leading zeros included.
// The upper and lower nine digits are two independent chains of divisions by
// ten, which the processor can run side by side. Each half is below 10^9 <
// 2^32. A value of 10^18 or more (only a saturated IntegerValue) gives its
// low 18 digits, as a single chain of eighteen would.
void WriteFixedDigits(std::uint64_t value, char* digits) {
  WriteHalfDigits(static_cast<std::uint32_t>((value / kHalfBase) % kHalfBase), digits);
  WriteHalfDigits(static_cast<std::uint32_t>(value % kHalfBase), digits + kHalfDigits);
}

constexpr std::uint64_t kTenToThe17 = 100'000'000'000'000'000;
constexpr std::uint64_t kTenToThe18 = 1'000'000'000'000'000'000;

// Integer arithmetic for the scaling below where it is a single product with
// a tabulated power: the same rounding as Extended's product and
// RoundToInteger, on the finite normal values met there.

// value * 10^power rounded to 64 significant bits (to nearest, ties to even)
// and then to an integer, for 0 <= power < kPowersOfTenLowCount; nothing when
// that integer would not lie below 2^63.
std::optional<std::uint64_t> ScaledInteger(Extended value, int power) {
  int exponent = static_cast<int>(value.BiasedExponent()) - Extended::kExponentBias;
  std::uint64_t significand = value.Significand();
  if (power != 0) {
    const Extended& ten = PowersOfTenLow[power];
    Wide128 product = Multiply(significand, ten.Significand());
    exponent += static_cast<int>(ten.BiasedExponent()) - Extended::kExponentBias + 1;
    if ((product.hi >> 63) == 0) {
      product = ShiftLeft(product, 1);
      --exponent;
    }
    constexpr std::uint64_t kHalf = std::uint64_t{1} << 63;
    significand = product.hi;
    if (product.lo > kHalf || (product.lo == kHalf && (significand & 1) != 0)) {
      if (++significand == 0) {
        significand = kHalf;
        ++exponent;
      }
    }
  }
  // The value is significand * 2^(exponent - 63); its integer, ties to even.
  if (exponent < 0 || exponent > 62) return std::nullopt;
  const int fractionBits = 63 - exponent;
  const std::uint64_t one = std::uint64_t{1} << fractionBits;
  const std::uint64_t half = one >> 1;
  const std::uint64_t rest = significand & (one - 1);
  std::uint64_t integer = significand >> fractionBits;
  if (rest > half || (rest == half && (integer & 1) != 0)) ++integer;
  return integer;
}

// The 18-digit integer and point position that the general path below finds
// with Extended arithmetic, found in integers where the scaling is a single
// product by a power up to 10^31: every double from about 10^-13 up to 10^18.
struct EighteenDigits {
  std::uint64_t integer;
  int pointPosition;
};

std::optional<EighteenDigits> ScaleInIntegers(Extended magnitude, int pointPosition) {
  // Unnormal encodings (no integer bit) are invalid operands: the general path raises.
  if ((magnitude.Significand() >> 63) == 0) return std::nullopt;
  int power = kIntegerDigits - pointPosition;
  if (power < 0 || power >= kPowersOfTenLowCount) return std::nullopt;
  std::optional<std::uint64_t> scaled = ScaledInteger(magnitude, power);
  if (!scaled) return std::nullopt;
  if (*scaled >= kTenToThe18) {
    // One decade too low. The Extended quotient of the integer by ten keeps
    // at least four bits below the point (the integer is below 2^63, the
    // quotient above 2^56), so its fraction r / 10 rounds below one half for
    // r < 5, to one half for r = 5 and above it for r > 5: rounding that
    // to an integer is rounding q + r / 10 half to even.
    const std::uint64_t q = *scaled / 10;
    const std::uint64_t r = *scaled % 10;
    return EighteenDigits{q + ((r > 5 || (r == 5 && (q & 1) != 0)) ? 1 : 0), pointPosition + 1};
  }
  if (*scaled < kTenToThe17) {
    // One decade too high: scaled again, and taken as it comes.
    ++power;
    if (power >= kPowersOfTenLowCount) return std::nullopt;
    scaled = ScaledInteger(magnitude, power);
    if (!scaled || *scaled >= kTenToThe18) return std::nullopt;
    return EighteenDigits{*scaled, pointPosition - 1};
  }
  return EighteenDigits{*scaled, pointPosition};
}

constexpr std::uint64_t kPowersOfTen[] = {1,
                                          10,
                                          100,
                                          1'000,
                                          10'000,
                                          100'000,
                                          1'000'000,
                                          10'000'000,
                                          100'000'000,
                                          1'000'000'000,
                                          10'000'000'000,
                                          100'000'000'000,
                                          1'000'000'000'000,
                                          10'000'000'000'000,
                                          100'000'000'000'000,
                                          1'000'000'000'000'000,
                                          10'000'000'000'000'000,
                                          kTenToThe17,
                                          kTenToThe18};

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The eight digits of value < 10^8, two at a time.
void WriteEightDigits(std::uint32_t value, char* out) {
  const std::uint32_t high = value / 10'000;
  const std::uint32_t low = value % 10'000;
  std::copy_n(kDigitPairs + 2 * (high / 100), 2, out);
  std::copy_n(kDigitPairs + 2 * (high % 100), 2, out + 2);
  std::copy_n(kDigitPairs + 2 * (low / 100), 2, out + 4);
  std::copy_n(kDigitPairs + 2 * (low % 100), 2, out + 6);
}

// The digits of an 18-digit integer cut to kPrecision digits as the general
// path cuts them: half up on the first dropped digit only, the 9s carried
// into and trailing zeros dropped. A template, so that the divisions by
// powers of ten are by constants.
template <int kPrecision>
void CutToPrecision(std::uint64_t integer, int pointPosition, DecimalForm& form) {
  constexpr std::uint64_t kDropped = kPowersOfTen[kIntegerDigits - kPrecision];
  std::uint64_t kept = integer / kDropped;  // kPrecision digits, the first not 0
  int count = kPrecision;
  if (kPrecision < kIntegerDigits && integer % kDropped >= 5 * (kDropped / 10)) {
    if (++kept == kPowersOfTen[kPrecision]) {  // carried out of the first digit
      kept = 1;
      count = 1;
      ++pointPosition;
    }
  }
  // All 18 places, leading zeros included, then the last count of them.
  constexpr std::uint64_t kTenToThe8 = 100'000'000;
  char places[kIntegerDigits];
  const std::uint64_t high = kept / kTenToThe8;
  std::copy_n(kDigitPairs + 2 * (high / kTenToThe8), 2, places);
  WriteEightDigits(static_cast<std::uint32_t>(high % kTenToThe8), places + 2);
  WriteEightDigits(static_cast<std::uint32_t>(kept % kTenToThe8), places + 10);
  // kPrecision places copied whole (a fixed length); the terminator cuts.
  const char* digits = places + kIntegerDigits - count;
  while (count > 1 && digits[count - 1] == '0') --count;
  std::copy_n(places + kIntegerDigits - kPrecision, kPrecision, form.DigitString);
  if (count == 1) form.DigitString[0] = digits[0];
  form.DigitString[count] = '\0';
  form.PointPosition = static_cast<std::int16_t>(pointPosition);
}

using CutFunction = void (*)(std::uint64_t, int, DecimalForm&);

template <int... kPrecisions>
constexpr std::array<CutFunction, sizeof...(kPrecisions)> MakeCuts(
    std::integer_sequence<int, kPrecisions...>) {
  return {CutToPrecision<kPrecisions + kMinPrecision>...};
}

// Indexed by precision - kMinPrecision.
constexpr auto kCuts =
    MakeCuts(std::make_integer_sequence<int, kMaxPrecision - kMinPrecision + 1>());

}  // namespace

DecimalForm ToDecimalForm(Extended value, int precision) {
  precision = std::clamp(precision, kMinPrecision, kMaxPrecision);
  DecimalForm form;

  if (value.BiasedExponent() == 0) return form;  // zero of either sign
  if (value.BiasedExponent() == Extended::kMaxBiasedExponent) {
    if (value.Significand() == kInfinitySignificand) {
      form.PointPosition = DecimalForm::kInfinity;
      form.SignMinus = value.SignBit();
    } else {
      form.PointPosition = DecimalForm::kNaN;
    }
    return form;
  }

  // Arithmetic right shift rounds the product toward minus infinity, which is
  // the floor the estimate needs for negative exponents too.
  std::int32_t binaryExponent =
      static_cast<std::int32_t>(value.BiasedExponent()) - Extended::kExponentBias;
  int pointPosition =
      static_cast<int>((binaryExponent * kLog10Of2Times65536) >> kLog10Of2Shift) + 1;

  Extended magnitude = value.Abs();
  form.SignMinus = value.SignBit();
  if (const auto digits = ScaleInIntegers(magnitude, pointPosition)) {
    kCuts[static_cast<std::size_t>(precision - kMinPrecision)](digits->integer,
                                                               digits->pointPosition, form);
    return form;
  }

  Extended scaled = ScaleByPowerOfTen(magnitude, kIntegerDigits - pointPosition).RoundToInteger();
  if (scaled >= PowersOfTenLow[kIntegerDigits]) {
    // One decade too low. The integer is divided by ten in one extended
    // division, rounded to 64 bits, and only that quotient is made an integer.
    scaled = (scaled / PowersOfTenLow[1]).RoundToInteger();
    ++pointPosition;
  } else if (scaled < PowersOfTenLow[kIntegerDigits - 1]) {
    // One decade too high: scale again so the integer has 18 digits.
    --pointPosition;
    scaled = ScaleByPowerOfTen(magnitude, kIntegerDigits - pointPosition).RoundToInteger();
  }

  char digits[kIntegerDigits];
  WriteFixedDigits(IntegerValue(scaled), digits);

  // Half up on the first dropped digit only: the 18-digit integer already
  // carries the rounding of everything below it.
  int kept = precision;
  if (precision < kIntegerDigits && digits[precision] >= '5') {
    int last = precision - 1;
    while (last >= 0 && digits[last] == '9') --last;  // each 9 carried into is dropped
    if (last < 0) {
      digits[0] = '1';
      kept = 1;
      ++pointPosition;
    } else {
      ++digits[last];
      kept = last + 1;
    }
  } else {
    while (kept > 0 && digits[kept - 1] == '0') --kept;
  }

  form.PointPosition = static_cast<std::int16_t>(pointPosition);
  form.SignMinus = value.SignBit();
  std::copy(digits, digits + kept, form.DigitString);
  form.DigitString[kept] = '\0';
  return form;
}

}  // namespace normcalc
