velkaris_add_test_suite(catalogues LIBRARIES velkaris_catalogues erfa)

# velkaris-cli stars, run as the user runs it, in a scratch working directory
# with catalogues of its own. Built only with the tool it tests.
if(TARGET velkaris-cli)
  add_executable(test_catalogues_cli ${CMAKE_CURRENT_SOURCE_DIR}/catalogues/cli/StarsCommandTest.cpp)
  target_link_libraries(test_catalogues_cli PRIVATE erfa GTest::gtest GTest::gtest_main)
  target_compile_definitions(test_catalogues_cli PRIVATE
    VELKARIS_CLI="$<TARGET_FILE:velkaris-cli>"
    VELKARIS_TEST_FIXTURES="${CMAKE_CURRENT_SOURCE_DIR}/fixtures")
  add_dependencies(test_catalogues_cli velkaris-cli)
  gtest_discover_tests(test_catalogues_cli
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${VELKARIS_TEST_CONFIG_HOME}/catalogues_cli"
    DISCOVERY_MODE PRE_TEST)
endif()
