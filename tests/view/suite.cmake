velkaris_add_test_suite(view LIBRARIES velkaris_view)

# velkaris-cli render, in a scratch working directory with a small catalogue of its own.
velkaris_add_cli_test(test_view_cli
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/view/cli/RenderCommandTest.cpp
  LIBRARIES Qt6::Gui)
