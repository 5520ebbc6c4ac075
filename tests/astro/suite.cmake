velkaris_add_test_suite(astro LIBRARIES velkaris_astro erfa)

# The time-and-place options of velkaris-cli and the "time" command itself,
# run as the user runs it. Built only with the tool it tests.
if(TARGET velkaris-cli AND TARGET velkaris_settings)
  add_executable(test_astro_cli
    ${CMAKE_CURRENT_SOURCE_DIR}/astro/cli/TimeCommandTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/astro/ConstantsEnvironment.cpp
    ${CMAKE_SOURCE_DIR}/shell/cli/TimePlaceOptions.cpp)
  target_link_libraries(test_astro_cli PRIVATE velkaris_settings velkaris_astro velkaris_platform Qt6::Core
    GTest::gtest GTest::gtest_main)
  target_compile_definitions(test_astro_cli PRIVATE VELKARIS_CLI="$<TARGET_FILE:velkaris-cli>")
  add_dependencies(test_astro_cli velkaris-cli)
  gtest_discover_tests(test_astro_cli
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${VELKARIS_TEST_CONFIG_HOME}/astro_cli"
    DISCOVERY_MODE PRE_TEST)
endif()
