# The solar system is checked against ERFA (the Sun's and the Moon's frames and
# places) and against the Swiss Ephemeris with its JPL-based files (the
# planets), both independent of the program's own theories.
if(TARGET velkaris_solar)
  velkaris_add_test_suite(solar LIBRARIES velkaris_solar erfa swe)
endif()

# velkaris-cli ephemeris, on the series of the data folder and in a scratch
# working directory without them.
velkaris_add_cli_test(test_solar_cli
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/solar/cli/EphemerisCommandTest.cpp
  LIBRARIES Qt6::Core)
if(TARGET test_solar_cli)
  target_compile_definitions(test_solar_cli PRIVATE VELKARIS_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endif()
