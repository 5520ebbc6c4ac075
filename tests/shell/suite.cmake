find_package(Qt6 REQUIRED COMPONENTS Test)
if(TARGET velkaris_shell)
  velkaris_add_test_suite(shell LIBRARIES velkaris_shell Qt6::Test)
endif()
