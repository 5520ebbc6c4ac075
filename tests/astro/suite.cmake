velkaris_add_test_suite(astro LIBRARIES velkaris_astro erfa)

# The time-and-place options of velkaris-cli and the "time" command itself.
if(TARGET velkaris_settings)
  velkaris_add_cli_test(test_astro_cli
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/astro/cli/TimeCommandTest.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/astro/ConstantsEnvironment.cpp
            ${CMAKE_SOURCE_DIR}/shell/cli/TimePlaceOptions.cpp
            ${CMAKE_SOURCE_DIR}/shell/cli/CommandOptions.cpp
    LIBRARIES velkaris_settings velkaris_astro velkaris_platform Qt6::Core)
endif()
