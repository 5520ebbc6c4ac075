if(TARGET velkaris_controller)
  velkaris_add_test_suite(controller LIBRARIES velkaris_controller)
endif()

# velkaris-cli dso, in a scratch working directory with a catalogue of its own.
velkaris_add_cli_test(test_controller_cli
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/controller/cli/DsoCommandTest.cpp
  LIBRARIES erfa)
