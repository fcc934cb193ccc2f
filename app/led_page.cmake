# The LED page: its decisions (portable) and the dialog (Win32). Included by app/CMakeLists.txt.
target_sources(halvard_app PRIVATE ${CMAKE_CURRENT_LIST_DIR}/led_page.h ${CMAKE_CURRENT_LIST_DIR}/led_page.cpp)
if(WIN32)
  target_sources(halvard_main_win32 PRIVATE ${CMAKE_CURRENT_LIST_DIR}/led_page_win32.cpp)
endif()
