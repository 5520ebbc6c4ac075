# Reports are checked run by run; the Sun's, the Moon's and the planets'
# values against ERFA, independent of the program's own theories.
if(TARGET velkaris_reports)
  velkaris_add_test_suite(reports LIBRARIES velkaris_reports erfa)
endif()
