# One version resource per program, all from the version of the top project(): the installer and
# the portable zip take the same number from the build's cache. On Windows this sets
# HALVARD_VERSION_RC_<name> to the resource script each program lists among its sources.
if(WIN32)
  function(halvard_version_rc name file type description icon)
    set(HALVARD_RC_NAME ${name})
    set(HALVARD_RC_FILE ${file})
    set(HALVARD_RC_FILETYPE ${type})
    set(HALVARD_RC_DESCRIPTION "${description}")
    set(HALVARD_RC_ICON "${icon}")
    set(rc ${PROJECT_BINARY_DIR}/version/${name}.rc)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/version.rc.in ${rc} @ONLY)
    set(HALVARD_VERSION_RC_${name} ${rc} PARENT_SCOPE)
  endfunction()
  # The main program's icon 800 comes with its pictures; the monitor's 107 and 108 with its
  # strings. 800 is added to the monitor so both programs carry the suite's icon by one number.
  halvard_version_rc(Halvard Halvard.exe VFT_APP "Halvard configuration" "")
  halvard_version_rc(HalvardMonitor HalvardMonitor.exe VFT_APP "Halvard background monitor"
                     "800 ICON \"${PROJECT_BINARY_DIR}/art/800.ico\"")
  halvard_version_rc(HalvardOsd HalvardOsd.dll VFT_DLL "Halvard on-screen display" "")
  halvard_version_rc(HalvardHook HalvardHook.dll VFT_DLL "Halvard input hooks" "")
endif()
