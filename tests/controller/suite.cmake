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

# The program the crash-safety test kills while it saves the settings or the
# outgoing slew file.
if(TARGET test_controller)
  add_executable(velkaris-save-loop ${CMAKE_CURRENT_SOURCE_DIR}/controller/helpers/SaveLoop.cpp)
  target_link_libraries(velkaris-save-loop PRIVATE velkaris_controller)
  add_dependencies(test_controller velkaris-save-loop)
  target_compile_definitions(test_controller PRIVATE VELKARIS_SAVE_LOOP="$<TARGET_FILE:velkaris-save-loop>")
endif()
