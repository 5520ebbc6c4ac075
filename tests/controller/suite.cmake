if(TARGET velkaris_controller)
  velkaris_add_test_suite(controller LIBRARIES velkaris_controller)
endif()

# velkaris-cli dso, in a scratch working directory with a catalogue of its own,
# and the minor planets of velkaris-cli ephemeris on the data folder.
velkaris_add_cli_test(test_controller_cli
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/controller/cli/DsoCommandTest.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/controller/cli/MinorEphemerisTest.cpp
  LIBRARIES erfa)
if(TARGET test_controller_cli)
  target_compile_definitions(test_controller_cli PRIVATE VELKARIS_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endif()
