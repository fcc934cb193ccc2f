# The performance page's tests; included by tests/CMakeLists.txt.
halvard_test(config_page_tests SOURCES app/config_page_test.cpp LIBS halvard_app)
if(WIN32)
  # The system-settings seam against the real calls.
  halvard_test(system_settings_win32_tests
    SOURCES platform/win32/system_settings_win32_test.cpp
    LIBS halvard_platform_win32)
endif()
if(WIN32)
  # Both pages of Halvard.exe in simulation mode, opened from the full page and driven by clicks
  # and keys; the mouse images come from the native simmouse, which `make test` builds first.
  add_test(NAME config_led_scenario
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/scenarios/config_led.sh ${PROJECT_BINARY_DIR}
                   ${PROJECT_SOURCE_DIR}/out/build/native/tools/simmouse)
  set_tests_properties(config_led_scenario PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE)
endif()
