#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "normcalc/core.h"

namespace {

using normcalc::EInvalidOp;
using normcalc::NormalTable;
using normcalc::PToX;
using normcalc::TableInterpolate;
using normcalc::TableNearestRow;
using normcalc::TableRow;
using normcalc::XToP;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::uint64_t Bits(double v) { return std::bit_cast<std::uint64_t>(v); }

// The double nearest a decimal text, for values given exactly by the table.
double Exact(const char* text) { return std::strtod(text, nullptr); }

std::string FifteenDigits(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.15g", v);
  return text;
}

struct Direction {
  const char* name;
  double (*lookup)(double);
};
constexpr Direction kXToP{"XToP", XToP};
constexpr Direction kPToX{"PToX", PToX};

// Interpolated results, known to 15 significant digits. The last three come
// out one digit different when the interpolation runs in double precision.
TEST(Lookup, WorkedValuesHoldToFifteenDigits) {
  struct Case {
    Direction direction;
    double input;
    const char* expected;
  };
  const Case cases[] = {
      {kXToP, 1, "0.341344279839592"},
      {kXToP, 0.5, "0.191461995503053"},
      {kXToP, 1.96, "0.475001646084327"},
      {kXToP, 0.000001, "3.98892280401339e-07"},  // row 1 to row 2
      {kPToX, 0.25, "0.674491219192245"},
      {kPToX, 0.475, "1.95997183815153"},
      {kPToX, 0.49, "2.32636507722823"},
      {kPToX, 0.4999, "3.7209171530403"},
      {kXToP, 0.0114, "0.00454737199657526"},
      {kXToP, 0.74, "0.270349535532154"},
      {kPToX, 0.0018, "0.00451249645189664"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FifteenDigits(c.direction.lookup(c.input)), c.expected)
        << c.direction.name << "(" << c.input << ")";
  }
}

// Results that are stored values, bit for bit: exact keys, zero of either
// sign, both clamps, infinities.
TEST(Lookup, ExactKeysZerosAndClampsGiveStoredValues) {
  struct Case {
    Direction direction;
    double input;
    double expected;
  };
  const double lastX = Exact("3.98466366361372");
  const double lastP = Exact("0.49996719678728");
  const Case cases[] = {
      {kXToP, 0, 0},
      {kPToX, 0, 0},
      {kXToP, -0.0, 0},  // -0 passes the lower clamp and lands on row 1: +0
      {kPToX, -0.0, 0},
      {kXToP, -0.5, 0},
      {kPToX, -0.5, 0},
      {kXToP, -kInf, 0},
      {kPToX, -kInf, 0},
      {kXToP, Exact("0.02239170599309"), Exact("0.00893187866566")},
      {kPToX, Exact("0.00893187866566"), Exact("0.02239170599309")},
      {kXToP, Exact("0.75969234978042"), Exact("0.27628028685462")},
      {kPToX, Exact("0.45252979179921"), Exact("1.66989825553333")},
      {kXToP, lastX, lastP},
      {kXToP, 4, lastP},
      {kXToP, 10, lastP},
      {kXToP, kInf, lastP},
      {kPToX, lastP, lastX},
      {kPToX, 0.5, lastX},
      {kPToX, 1, lastX},
      {kPToX, kInf, lastX},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Bits(c.direction.lookup(c.input)), Bits(c.expected))
        << c.direction.name << "(" << c.input << ")";
  }
}

// Full results, bit for bit, worked on the x87 unit (64-bit significand, round
// to nearest) in the same order of operations. Multiplying d by a precomputed
// slope instead gives each of these one unit in the last place apart.
TEST(Lookup, ProductWithTheDistanceComesBeforeTheDivision) {
  struct Case {
    Direction direction;
    double input;
    double expected;
  };
  const Case cases[] = {
      {kXToP, 0.000534, 0x1.beb60e42ae092p-13},
      {kXToP, 0.00737, 0x1.815487ddd50b2p-9},
      {kPToX, 0.0289492, 0x1.297df5cf2b6aap-4},
      {kPToX, 0.003195, 0x1.0676136840c3ap-7},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Bits(c.direction.lookup(c.input)), Bits(c.expected))
        << c.direction.name << "(" << c.input << ")";
  }
}

// 0.759912486114255 lies exactly halfway between the keys of rows 1001 and
// 1002; the tie goes to row 1001, and the result is anchored there.
TEST(Lookup, HalfwayValueAnchorsAtTheLowerRow) {
  const double value = 0.759912486114255;
  // Both differences are exact in double (the operands are within a factor of
  // two), so this states the tie itself.
  ASSERT_EQ(value - NormalTable[1000][0], NormalTable[1001][0] - value);
  EXPECT_EQ(TableNearestRow(value, NormalTable, 1), 1001);
  EXPECT_EQ(FifteenDigits(XToP(value)), "0.27634608390544");
}

TEST(Lookup, NaNRaisesInvalidOperation) {
  EXPECT_THROW(XToP(kNaN), EInvalidOp);
  EXPECT_THROW(PToX(-kNaN), EInvalidOp);
  EXPECT_THROW(TableNearestRow(kNaN, NormalTable, 1), EInvalidOp);
}

// A small table whose ties and anchors can be worked by hand. Keys (column 1)
// 0, 0.3, 1.3, 2, 2.5; values (column 2) 0, 0.3, 0.7, 1, 1.5.
class SmallTable : public ::testing::Test {
 protected:
  static constexpr TableRow kRows[] = {
      {0.0, 0.0}, {0.3, 0.3}, {1.3, 0.7}, {2.0, 1.0}, {2.5, 1.5},
  };
};

TEST_F(SmallTable, NearestRowTakesTheLowerRowOnATieInRoundedDistance) {
  struct Case {
    double value;
    int keyColumn;
    int row;
  };
  const Case cases[] = {
      // Two rows left: 0.15 is as far from 0 as from 0.3; row 1.
      {0.15, 1, 1},
      // The upper half answers with its first row (3), which is weighed against
      // row 2: 0.3 - 0.8 is -0.50000000000000005551... exactly, which rounds
      // to -0.5, the same as 1.3 - 0.8. The tie keeps row 2, although row 3 is
      // nearer in exact arithmetic.
      {0.8, 1, 2},
      {0.3, 1, 2},   // the key at the split point
      {2.0, 1, 4},   // an exact key in the upper half
      {2.2, 1, 4},   // nearer to 2 than to 2.5
      {2.3, 1, 5},   // nearer to 2.5
      {-1.0, 1, 1},  // below every key
      {9.0, 1, 5},   // above every key
      {0.5, 2, 3},   // on column 2: 0.7 - 0.5 rounds below 0.5 - 0.3
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TableNearestRow(c.value, kRows, c.keyColumn), c.row)
        << c.value << " on column " << c.keyColumn;
  }
}

// Expected results worked on the x87 unit (64-bit significand, round to
// nearest) with the same sequence of operations.
TEST_F(SmallTable, InterpolationIsAnchoredAtTheNearestRow) {
  struct Case {
    double value;
    int keyColumn;
    double expected;
  };
  const Case cases[] = {
      // Anchored at row 2 (the tie above): 0.3 + 0.5 * 0.4 / 1 lands one unit
      // below 0.5; anchored at row 3 it would give 0.5 itself.
      {0.8, 1, 0x1.fffffffffffffp-2},
      {2.2, 1, 0x1.3333333333334p+0},
      {0.5, 2, 0x1.999999999999ap-1},
      {0.3, 1, 0.3},  // an exact key gives its value
      {-0.0, 1, 0.0},
      {-1.0, 1, 0.0},  // lower clamp
      {9.0, 1, 1.5},   // upper clamp
      {kInf, 2, 2.5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Bits(TableInterpolate(c.value, kRows, c.keyColumn)), Bits(c.expected))
        << c.value << " on column " << c.keyColumn;
  }
}

// With one or two rows there is no comparison of the value with a key in the
// search; the first ordered comparison is then the distance comparison or the
// lower clamp, and it raises.
TEST_F(SmallTable, NaNRaisesAtItsFirstComparison) {
  const std::span<const TableRow> one(kRows, 1);
  const std::span<const TableRow> two(kRows, 2);
  EXPECT_EQ(TableNearestRow(kNaN, one, 1), 1);
  EXPECT_THROW(TableInterpolate(kNaN, one, 1), EInvalidOp);
  EXPECT_THROW(TableNearestRow(kNaN, two, 1), EInvalidOp);
  EXPECT_THROW(TableInterpolate(kNaN, kRows, 2), EInvalidOp);
}

}  // namespace
