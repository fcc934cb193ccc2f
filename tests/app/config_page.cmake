# The performance page's tests; included by tests/CMakeLists.txt.
halvard_test(config_page_tests SOURCES app/config_page_test.cpp LIBS halvard_app)
if(WIN32)
  # The system-settings seam against the real calls.
  halvard_test(system_settings_win32_tests
    SOURCES platform/win32/system_settings_win32_test.cpp
    LIBS halvard_platform_win32)
endif()
