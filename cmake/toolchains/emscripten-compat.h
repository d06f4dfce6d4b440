// Debian's emscripten 3.1.6 ships a C++ library from before std::bit_cast,
// while its compiler has the builtin that the standard one wraps. The web
// toolchain includes this ahead of every C++ source so that the project's
// code stays plain C++20.
#pragma once
#ifdef __cplusplus
#include <version>
#ifndef __cpp_lib_bit_cast
#include <type_traits>
namespace std {
template <class To, class From>
requires(sizeof(To) == sizeof(From) && is_trivially_copyable_v<To> &&
         is_trivially_copyable_v<From>) constexpr To bit_cast(const From& from) noexcept {
  return __builtin_bit_cast(To, from);
}
}  // namespace std
#endif
#endif
