# The performance page: its decisions and the per-profile pointer settings (portable), and the
# dialog (Win32). Included by app/CMakeLists.txt.
target_sources(halvard_app PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/config_page.h ${CMAKE_CURRENT_LIST_DIR}/config_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cfg_pointer.h ${CMAKE_CURRENT_LIST_DIR}/cfg_pointer.cpp)
if(WIN32)
  target_sources(halvard_main_win32 PRIVATE ${CMAKE_CURRENT_LIST_DIR}/config_page_win32.cpp)
  # The page pictures whose numbers the display library also uses lie in the art folder's
  # "pages" subfolder, named from the page templates' resource scripts.
  target_include_directories(Halvard PRIVATE ${HALVARD_ART_DIR})
endif()
