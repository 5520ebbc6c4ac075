if(TARGET velkaris_controller)
  velkaris_add_test_suite(controller LIBRARIES velkaris_controller)
endif()
