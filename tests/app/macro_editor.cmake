# The macro editor's tests; included by tests/CMakeLists.txt.
halvard_test(macro_editor_tests
  SOURCES app/macro_editor_test.cpp app/recorder_test.cpp
  LIBS halvard_app)

if(WIN32)
  # The list on a real list view, with the kind icons from the program's pictures.
  halvard_test(macro_editor_win32_tests
    SOURCES app/macro_editor_win32_test.cpp ${HALVARD_ART_RC}
    LIBS halvard_main_win32)
  add_dependencies(macro_editor_win32_tests artwork)

  # Halvard.exe in simulation mode: the editor opened by a click, a recording by real input,
  # then the macro assigned to a button and written to the mouse.
  add_test(NAME macro_editor_scenario
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/scenarios/macro_editor.sh ${PROJECT_BINARY_DIR}
                   ${PROJECT_SOURCE_DIR}/out/build/native/tools/simmouse)
  set_tests_properties(macro_editor_scenario PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE)
endif()
