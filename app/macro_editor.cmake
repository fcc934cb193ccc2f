# The page's own sources; included by app/CMakeLists.txt.
target_sources(halvard_app PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/recorder.h ${CMAKE_CURRENT_LIST_DIR}/recorder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/macro_editor.h ${CMAKE_CURRENT_LIST_DIR}/macro_editor.cpp)
if(WIN32)
  target_sources(halvard_main_win32 PRIVATE ${CMAKE_CURRENT_LIST_DIR}/macro_editor_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/macro_edit_list_win32.h ${CMAKE_CURRENT_LIST_DIR}/macro_edit_list_win32.cpp)
endif()
