# The header-only libraries the project uses (Boost.Multiprecision in the tests,
# CLI11 in normcalc-cli) are the same for every target. /usr/include as a whole
# also holds the host's C library, which a cross compiler must never see, so
# each library's folder alone is shown to it, through a folder in the build
# tree that links to the host's copy.
function(normcalc_host_headers folder cache_variable)
  string(TOLOWER "${CMAKE_BINARY_DIR}/host-${folder}" shown)
  if(NOT EXISTS "${shown}/${folder}")
    file(MAKE_DIRECTORY "${shown}")
    file(CREATE_LINK "/usr/include/${folder}" "${shown}/${folder}" SYMBOLIC)
  endif()
  set(${cache_variable} "${shown}" CACHE PATH "${folder} headers (host copy)")
endfunction()

normcalc_host_headers(boost Boost_INCLUDE_DIR)
normcalc_host_headers(CLI CLI11_INCLUDE_DIR)
