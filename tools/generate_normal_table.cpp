// Writes core/src/normal_table_data.h, the 3989 rows of the normal table as
// literal data. Run at development time only; the build never runs it, so the
// product does not depend on the platform's logarithm.
//
//   generate_normal_table core/src/normal_table_data.h
//
// The rows are spaced so that the standard normal density phi falls by 0.0001
// from each row to the next, starting at X = 0; P is the running trapezoid sum
// of phi over the table's own points. Each row i = 0 ... 3988 is made thus:
//   1. s = sqrt(2 pi) and phi_0 = 1 / s, in double;
//   2. phi_i = phi_(i-1) - 0.0001, in double, row after row;
//   3. X_i = sqrt(-2 ln(phi_i s)), each operation in double; X_0 = 0;
//   4. P_i = P_(i-1) + ((X_i - X_(i-1)) (phi_(i-1) + phi_i)) / 2, in Extended,
//      the running sum rounded to double after every row; P_0 = 0;
//   5. X_i and P_i are stored as their values rounded to 14 decimal places.
// Steps 1 to 3 need double arithmetic that rounds every operation to 53 bits;
// tools/CMakeLists.txt asks for SSE arithmetic where the target is 32-bit x86.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <stdexcept>
#include <string>

#include "normcalc/numtext.h"

namespace {

using normcalc::Extended;

constexpr int kRowCount = 3989;  // rows 1 ... 3989, the last with phi about 0.000142
constexpr double kDensityStep = 0.0001;
constexpr int kDecimalPlaces = 14;
constexpr std::uint64_t kDecimalScale = 100'000'000'000'000;  // 10^kDecimalPlaces

constexpr int kDoubleFractionBits = 52;
constexpr int kDoubleExponentBias = 1023;

// Wide enough for a 53-bit significand times 10^14.
__extension__ typedef unsigned __int128 Uint128;

struct Row {
  double x;
  double p;
};

// Step 5 without any floating-point text routine: the exact value m * 2^e of a
// non-negative double times 10^14, rounded to the nearest integer (ties to
// even). m < 2^53 and 10^14 < 2^47, so the product fits in 128 bits. The
// literal written from that integer reads back, in any conforming compiler, as
// the double nearest to the value rounded to 14 places.
std::uint64_t ScaledToFourteenPlaces(double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const auto biased = static_cast<int>(bits >> kDoubleFractionBits);  // sign bit is 0 here
  std::uint64_t significand = bits & ((std::uint64_t{1} << kDoubleFractionBits) - 1);
  int exponent = 1 - kDoubleExponentBias - kDoubleFractionBits;  // subnormal
  if (biased != 0) {
    significand |= std::uint64_t{1} << kDoubleFractionBits;
    exponent = biased - kDoubleExponentBias - kDoubleFractionBits;
  }
  if (std::signbit(value) || biased == 2 * kDoubleExponentBias + 1 || exponent >= 0) {
    throw std::runtime_error("table value outside [0, 2^52)");
  }
  const Uint128 product = static_cast<Uint128>(significand) * kDecimalScale;
  const int shift = -exponent;
  if (shift >= 101) return 0;  // product < 2^100: below half a unit of the 14th place
  const Uint128 whole = product >> shift;
  const Uint128 rest = product - (whole << shift);
  const Uint128 half = Uint128{1} << (shift - 1);
  const bool roundUp = rest > half || (rest == half && (whole & 1) != 0);
  return static_cast<std::uint64_t>(whole) + (roundUp ? 1 : 0);
}

// The value rounded to 14 places as a decimal literal without trailing zeros,
// written from the exact integer so that no float-to-text routine is involved.
std::string FourteenPlaceLiteral(double value) {
  const std::uint64_t scaled = ScaledToFourteenPlaces(value);
  std::string fraction = std::to_string(scaled % kDecimalScale);
  fraction.insert(0, kDecimalPlaces - fraction.size(), '0');
  while (fraction.size() > 1 && fraction.back() == '0') fraction.pop_back();
  return std::to_string(scaled / kDecimalScale) + "." + fraction;
}

// The area of one trapezoid added to the running sum, carried in Extended, the
// sum rounded to double once per row.
double AddTrapezoid(double sum, double previousX, double x, double previousPhi, double phi) {
  const Extended width = Extended::FromDouble(x) - Extended::FromDouble(previousX);
  const Extended heights = Extended::FromDouble(previousPhi) + Extended::FromDouble(phi);
  const Extended area = (width * heights) / Extended::FromUInt64(2);
  return (Extended::FromDouble(sum) + area).ToDouble();
}

void GenerateRows(Row (&rows)[kRowCount]) {
  // pi is the double nearest pi and 2 pi is that doubled: the square root of
  // this double, not the double nearest the true sqrt(2 pi) (one unit above),
  // is what reproduces the last rows of the table (row 3985 on).
  const double s = std::sqrt(2.0 * std::numbers::pi);
  const double firstPhi = 1.0 / s;  // phi_0 * s is exactly 1, so X_0 = 0
  double phi = firstPhi;
  rows[0] = {0.0, 0.0};
  for (int i = 1; i < kRowCount; ++i) {
    const double previousPhi = phi;
    phi = previousPhi - kDensityStep;
    const double logarithm = std::log(phi * s);
    const double x = std::sqrt(-2.0 * logarithm);
    rows[i] = {x, AddTrapezoid(rows[i - 1].p, rows[i - 1].x, x, previousPhi, phi)};
  }
}

void WriteSource(std::FILE* out, const Row (&rows)[kRowCount]) {
  std::fprintf(out,
               "// Generated by tools/generate_normal_table.cpp; do not edit. To make it again:\n"
               "//   cmake --build <build dir> --target generate_normal_table\n"
               "//   <build dir>/tools/generate_normal_table core/src/normal_table_data.h\n"
               "//\n"
               "// Row r is NormalTable[r - 1] = {X, P}: phi(X) falls by 0.0001 per row from\n"
               "// X = 0 and P is the running trapezoid sum of phi, with the sum carried in\n"
               "// Extended and rounded to double after each row; both columns are rounded\n"
               "// to 14 decimal places. tests/table checks every row against the rule.\n"
               "//\n"
               "// This is the definition of NormalTable, which core.h declares. It is\n"
               "// constexpr so that the source file that includes it (exactly one may) can\n"
               "// build the lookup's indexes from the rows while compiling.\n"
               "#pragma once\n"
               "\n"
               "#include \"normcalc/core.h\"\n"
               "\n"
               "namespace normcalc {\n"
               "\n"
               "constexpr std::array<TableRow, kNormalTableRows> NormalTable = {{\n");
  for (const Row& row : rows) {
    std::fprintf(out, "    {%s, %s},\n", FourteenPlaceLiteral(row.x).c_str(),
                 FourteenPlaceLiteral(row.p).c_str());
  }
  std::fprintf(out,
               "}};\n"
               "\n"
               "}  // namespace normcalc\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.h\n", argv[0]);
    return 2;
  }
  static Row rows[kRowCount];
  GenerateRows(rows);
  std::FILE* out = std::fopen(argv[1], "w");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  WriteSource(out, rows);
  if (std::fclose(out) != 0) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
