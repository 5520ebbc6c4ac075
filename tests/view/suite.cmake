velkaris_add_test_suite(view LIBRARIES velkaris_view)

# velkaris-cli render, run as the user runs it, in a scratch working
# directory with a small catalogue of its own. Built only with the tool.
if(TARGET velkaris-cli)
  find_package(Qt6 REQUIRED COMPONENTS Gui)
  add_executable(test_view_cli ${CMAKE_CURRENT_SOURCE_DIR}/view/cli/RenderCommandTest.cpp)
  target_link_libraries(test_view_cli PRIVATE Qt6::Gui GTest::gtest GTest::gtest_main)
  target_compile_definitions(test_view_cli PRIVATE VELKARIS_CLI="$<TARGET_FILE:velkaris-cli>")
  add_dependencies(test_view_cli velkaris-cli)
  gtest_discover_tests(test_view_cli
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${VELKARIS_TEST_CONFIG_HOME}/view_cli"
    DISCOVERY_MODE PRE_TEST)
endif()
