find_package(Qt6 REQUIRED COMPONENTS Test)
if(TARGET velkaris_shell)
  velkaris_add_test_suite(shell LIBRARIES velkaris_shell Qt6::Test)

  # The main window on a real X display: run under xvfb-run where it is
  # installed; the test skips itself without an X display.
  add_executable(test_shell_display ${CMAKE_CURRENT_SOURCE_DIR}/shell/display/NightWindowTest.cpp)
  target_link_libraries(test_shell_display PRIVATE velkaris_shell Qt6::Test GTest::gtest GTest::gtest_main)
  find_program(VELKARIS_XVFB_RUN xvfb-run)
  if(VELKARIS_XVFB_RUN)
    add_test(NAME shell_display.NightWindow COMMAND ${VELKARIS_XVFB_RUN} -a $<TARGET_FILE:test_shell_display>)
    set(display_platform xcb)
  else()
    add_test(NAME shell_display.NightWindow COMMAND test_shell_display)
    set(display_platform offscreen)
  endif()
  set_tests_properties(shell_display.NightWindow PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=${display_platform};XDG_CONFIG_HOME=${VELKARIS_TEST_CONFIG_HOME}/shell_display"
    SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
endif()

# The option reader of velkaris-cli's commands, on its own.
if(TARGET test_shell)
  target_sources(test_shell PRIVATE ${CMAKE_SOURCE_DIR}/shell/cli/CommandOptions.cpp)
endif()
