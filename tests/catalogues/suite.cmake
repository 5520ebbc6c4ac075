velkaris_add_test_suite(catalogues LIBRARIES velkaris_catalogues erfa)

# velkaris-cli stars, in a scratch working directory with catalogues of its own.
velkaris_add_cli_test(test_catalogues_cli
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/catalogues/cli/StarsCommandTest.cpp
  LIBRARIES erfa)
