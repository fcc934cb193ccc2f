# The setup program: packaged from this build with tools/dist.sh, installed and uninstalled
# silently under Wine in a prefix of its own, the installed programs run in simulation mode.
if(WIN32)
  add_test(NAME install_scenario
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/scenarios/install.sh ${PROJECT_BINARY_DIR}
                   ${PROJECT_SOURCE_DIR}/out/build/native/tools/simmouse)
  set_tests_properties(install_scenario PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE)
endif()
