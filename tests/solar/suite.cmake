# The solar system is checked against ERFA (the Sun's and the Moon's frames and
# places) and against the Swiss Ephemeris with its JPL-based files (the
# planets), both independent of the program's own theories.
if(TARGET velkaris_solar)
  velkaris_add_test_suite(solar LIBRARIES velkaris_solar erfa swe)
endif()
