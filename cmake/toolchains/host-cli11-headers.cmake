# normcalc-cli parses its options with CLI11, which is header-only and the same
# for every target. As with Boost (host-boost-headers.cmake), only CLI/ is shown
# to the cross compiler, through a folder in the build tree that links to the
# host's copy, never /usr/include as a whole.
set(normcalc_host_cli11 "${CMAKE_BINARY_DIR}/host-cli11")
if(NOT EXISTS "${normcalc_host_cli11}/CLI")
  file(MAKE_DIRECTORY "${normcalc_host_cli11}")
  file(CREATE_LINK /usr/include/CLI "${normcalc_host_cli11}/CLI" SYMBOLIC)
endif()
set(CLI11_INCLUDE_DIR "${normcalc_host_cli11}" CACHE PATH "CLI11 headers (host copy)")
