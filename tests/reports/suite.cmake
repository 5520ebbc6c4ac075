# Reports are checked run by run; the Sun's, the Moon's and the planets'
# values against ERFA, independent of the program's own theories.
if(TARGET velkaris_reports)
  velkaris_add_test_suite(reports LIBRARIES velkaris_reports erfa)
endif()

# velkaris-cli report, in a scratch working directory with a sky of its own.
velkaris_add_cli_test(test_reports_cli
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/reports/cli/ReportCommandTest.cpp)
