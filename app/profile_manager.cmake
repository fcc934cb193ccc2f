# The page's own sources; included by app/CMakeLists.txt.
target_sources(halvard_app PRIVATE ${CMAKE_CURRENT_LIST_DIR}/profile_manager.cpp ${CMAKE_CURRENT_LIST_DIR}/profile_manager.h)
if(WIN32)
  target_sources(halvard_main_win32 PRIVATE ${CMAKE_CURRENT_LIST_DIR}/profile_manager_win32.cpp)
endif()
