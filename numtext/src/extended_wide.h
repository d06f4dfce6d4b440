// 128-bit unsigned helpers for the extended arithmetic: the exact sums,
// products and quotients of two 64-bit significands before they are rounded.
// Compilers with a 128-bit integer type use it; the portable path uses only
// 64-bit operations and gives the same results.
#pragma once

#include <bit>
#include <cstdint>

namespace normcalc {

struct Wide128 {
  std::uint64_t hi;
  std::uint64_t lo;
};

struct WideSum {
  Wide128 sum;
  bool carry;
};

// A quotient that fits one word, and its remainder.
struct NarrowQuotient {
  std::uint64_t quotient;
  std::uint64_t remainder;
};

inline WideSum Add(Wide128 a, Wide128 b) {
  const std::uint64_t lo = a.lo + b.lo;
  const std::uint64_t carryLo = lo < a.lo ? 1 : 0;
  const std::uint64_t hi = a.hi + b.hi + carryLo;
  const bool carry = hi < a.hi || (hi == a.hi && carryLo != 0);
  return {{hi, lo}, carry};
}

// a - b for a >= b.
inline Wide128 Subtract(Wide128 a, Wide128 b) {
  const std::uint64_t borrow = a.lo < b.lo ? 1 : 0;
  return {a.hi - b.hi - borrow, a.lo - b.lo};
}

inline int CountLeadingZeros(Wide128 v) {
  return v.hi != 0 ? std::countl_zero(v.hi) : 64 + std::countl_zero(v.lo);
}

// Shift left by 0 <= s < 128.
inline Wide128 ShiftLeft(Wide128 v, int s) {
  if (s == 0) return v;
  if (s >= 64) return {v.lo << (s - 64), 0};
  return {(v.hi << s) | (v.lo >> (64 - s)), v.lo << s};
}

// Shift right by s >= 0, folding every bit shifted out into bit 0, so that the
// result still tells "exact" from "a little more".
inline Wide128 ShiftRightJam(Wide128 v, int s) {
  if (s <= 0) return v;
  if (s >= 128) return {0, (v.hi | v.lo) != 0 ? 1u : 0u};
  std::uint64_t hi;
  std::uint64_t lo;
  bool sticky;
  if (s < 64) {
    sticky = (v.lo << (64 - s)) != 0;
    lo = (v.lo >> s) | (v.hi << (64 - s));
    hi = v.hi >> s;
  } else if (s == 64) {
    sticky = v.lo != 0;
    lo = v.hi;
    hi = 0;
  } else {
    sticky = v.lo != 0 || (v.hi << (128 - s)) != 0;
    lo = v.hi >> (s - 64);
    hi = 0;
  }
  return {hi, lo | (sticky ? 1u : 0u)};
}

namespace portable {

inline Wide128 Multiply(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t aLo = a & 0xFFFF'FFFF;
  const std::uint64_t aHi = a >> 32;
  const std::uint64_t bLo = b & 0xFFFF'FFFF;
  const std::uint64_t bHi = b >> 32;
  const std::uint64_t ll = aLo * bLo;
  const std::uint64_t lh = aLo * bHi;
  const std::uint64_t hl = aHi * bLo;
  const std::uint64_t hh = aHi * bHi;
  const std::uint64_t middle = (ll >> 32) + (lh & 0xFFFF'FFFF) + (hl & 0xFFFF'FFFF);
  return {hh + (lh >> 32) + (hl >> 32) + (middle >> 32), (middle << 32) | (ll & 0xFFFF'FFFF)};
}

// n / d for n.hi < d, so that the quotient fits one word: one quotient bit at
// a time; the remainder stays below d, so it never needs more than 65 bits,
// and the 65th bit is carried in `overflow`.
inline NarrowQuotient DivideNarrow(Wide128 n, std::uint64_t d) {
  std::uint64_t r = n.hi;
  std::uint64_t q = 0;
  for (int bit = 63; bit >= 0; --bit) {
    const bool overflow = (r >> 63) != 0;
    r = (r << 1) | ((n.lo >> bit) & 1);
    if (overflow || r >= d) {
      r -= d;
      q |= std::uint64_t{1} << bit;
    }
  }
  return {q, r};
}

}  // namespace portable

// NORMCALC_PORTABLE_WIDE forces the portable path, so that a test can build
// and check it on a compiler that has the 128-bit type.
#if defined(__SIZEOF_INT128__) && !defined(NORMCALC_PORTABLE_WIDE)

__extension__ typedef unsigned __int128 UInt128;  // __extension__: not ISO C++, and we know

inline Wide128 Multiply(std::uint64_t a, std::uint64_t b) {
  const UInt128 p = static_cast<UInt128>(a) * b;
  return {static_cast<std::uint64_t>(p >> 64), static_cast<std::uint64_t>(p)};
}

inline NarrowQuotient DivideNarrow(Wide128 n, std::uint64_t d) {
#if defined(__x86_64__)
  // The processor divides 128 bits by 64 in one instruction when the quotient
  // fits 64 bits, which n.hi < d guarantees (it faults otherwise); the
  // compiler's 128-bit division goes through a library routine instead.
  std::uint64_t q;
  std::uint64_t r;
  __asm__("divq %[d]" : "=a"(q), "=d"(r) : [d] "rm"(d), "a"(n.lo), "d"(n.hi) : "cc");
  return {q, r};
#else
  const UInt128 wide = (static_cast<UInt128>(n.hi) << 64) | n.lo;
  return {static_cast<std::uint64_t>(wide / d), static_cast<std::uint64_t>(wide % d)};
#endif
}

#else

inline Wide128 Multiply(std::uint64_t a, std::uint64_t b) { return portable::Multiply(a, b); }
inline NarrowQuotient DivideNarrow(Wide128 n, std::uint64_t d) {
  return portable::DivideNarrow(n, d);
}

#endif

}  // namespace normcalc
