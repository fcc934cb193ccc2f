# The profile manager's tests: its decisions natively, the page under Wine.
halvard_test(profile_manager_tests SOURCES app/profile_manager_test.cpp LIBS halvard_app)
if(WIN32)
  # Halvard.exe in simulation mode: the page opened by a click and driven by clicks, keys and the
  # system's file dialogs; the mouse image is made and read with the native simmouse.
  add_test(NAME profile_manager_scenario
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/scenarios/profile_manager.sh ${PROJECT_BINARY_DIR}
                   ${PROJECT_SOURCE_DIR}/out/build/native/tools/simmouse)
  set_tests_properties(profile_manager_scenario PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE)
endif()
