# The macro editor's tests; included by tests/CMakeLists.txt.
halvard_test(macro_editor_tests
  SOURCES app/macro_editor_test.cpp app/recorder_test.cpp
  LIBS halvard_app)
