# The LED page's tests; included by tests/CMakeLists.txt.
halvard_test(led_page_tests SOURCES app/led_page_test.cpp LIBS halvard_app)
