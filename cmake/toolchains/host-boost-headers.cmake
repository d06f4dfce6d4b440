# The tests use Boost header-only (Boost.Multiprecision), and Boost's headers
# are the same for every target. /usr/include as a whole also holds the host's
# C library, which a cross compiler must never see, so only boost/ is shown to
# it, through a folder in the build tree that links to the host's copy.
set(normcalc_host_boost "${CMAKE_BINARY_DIR}/host-boost")
if(NOT EXISTS "${normcalc_host_boost}/boost")
  file(MAKE_DIRECTORY "${normcalc_host_boost}")
  file(CREATE_LINK /usr/include/boost "${normcalc_host_boost}/boost" SYMBOLIC)
endif()
set(Boost_INCLUDE_DIR "${normcalc_host_boost}" CACHE PATH "Boost headers (host copy)")
