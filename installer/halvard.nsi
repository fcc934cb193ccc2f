; The per-user installer of the Halvard suite. tools/dist.sh stages the files and calls makensis:
;   makensis -DVERSION=1.0.0 -DSTAGE=<folder with the programs, Languages, HELP, MEDIA>
;            -DOUTFILE=<setup.exe> -DICON=<800.ico> installer/halvard.nsi
; Options of the setup program:
;   /S              silent
;   /LANG=<name>    language of the tray menu and of the setup: English or German (or 1033, 1031)
;   /NOTRAY         no tray icon ("Disable System Tray" = 1)
;   /D=<folder>     installation folder (last on the command line, no quotes)
; The uninstaller removes the programs, the shortcuts, the Run entry and the installation values,
; and leaves the user's data (Documents\Halvard, the other values of Software\Halvard) alone.

; 64-bit like the programs it installs (and runnable by a 64-bit-only Wine).
Target amd64-unicode
!ifndef VERSION | STAGE | OUTFILE | ICON
  !error "VERSION, STAGE, OUTFILE and ICON must be defined"
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define PRODUCT "Halvard"
!define PUBLISHER "Vornex"
!define SETTINGS_KEY "Software\Halvard"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Halvard"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Halvard Monitor"
!define ID_EXIT 2100

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Halvard"
RequestExecutionLevel user
SetCompressor /SOLID lzma
ShowInstDetails show
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Vornex Halvard Gaming Mouse"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
; The language chosen at the start is also the tray menu's; the uninstaller speaks it too.
!define MUI_LANGDLL_REGISTRY_ROOT HKCU
!define MUI_LANGDLL_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "Installer Language"
!define MUI_LANGDLL_ALLLANGUAGES
!define MUI_LANGDLL_ALWAYSSHOW
!define MUI_LANGDLL_WINDOWTITLE "Halvard"
!define MUI_LANGDLL_INFO "Language of the setup and the tray menu:$\r$\nSprache der Installation und des Menüs:"
!define MUI_FINISHPAGE_RUN "$INSTDIR\HalvardMonitor.exe"
!define MUI_FINISHPAGE_RUN_TEXT "$(RunNow)"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The languages of the Languages folder.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"

LangString SecProgramsName ${LANG_ENGLISH} "Halvard programs"
LangString SecProgramsName ${LANG_GERMAN} "Halvard-Programme"
LangString SecProgramsDesc ${LANG_ENGLISH} "The configuration window, the background monitor, the on-screen display, the hooks, the translations and the help documents."
LangString SecProgramsDesc ${LANG_GERMAN} "Das Konfigurationsfenster, der Hintergrundmonitor, die Bildschirmanzeige, die Hooks, die Übersetzungen und die Hilfedokumente."
LangString SecTrayName ${LANG_ENGLISH} "Tray icon"
LangString SecTrayName ${LANG_GERMAN} "Symbol im Infobereich"
LangString SecTrayDesc ${LANG_ENGLISH} "The monitor shows an icon with its menu in the notification area."
LangString SecTrayDesc ${LANG_GERMAN} "Der Monitor zeigt ein Symbol mit seinem Menü im Infobereich."
LangString BadLang ${LANG_ENGLISH} "Unknown language in /LANG=: use English or German."
LangString BadLang ${LANG_GERMAN} "Unbekannte Sprache in /LANG=: English oder German angeben."
LangString StillRunning ${LANG_ENGLISH} "Halvard is still running. Close the configuration window and choose Exit in the tray menu, then try again."
LangString StillRunning ${LANG_GERMAN} "Halvard läuft noch. Schließen Sie das Konfigurationsfenster und wählen Sie im Infobereich Beenden, dann versuchen Sie es erneut."
LangString RunNow ${LANG_ENGLISH} "Start Halvard now"
LangString RunNow ${LANG_GERMAN} "Halvard jetzt starten"
LangString LinkMonitor ${LANG_ENGLISH} "Halvard Monitor"
LangString LinkMonitor ${LANG_GERMAN} "Halvard Monitor"
LangString LinkUninstall ${LANG_ENGLISH} "Uninstall Halvard"
LangString LinkUninstall ${LANG_GERMAN} "Halvard deinstallieren"

; Ends the suite's programs of this installation: the monitor through its Exit command (which
; closes the main program too), then a main program running alone. A handle value is used only
; when its window belongs to a program of this folder, since stale values can name any window.
!macro ProgramBusy file  ; sets $0 to 1 when the file exists and cannot be opened for writing
  ${If} ${FileExists} "${file}"
    ClearErrors
    FileOpen $2 "${file}" a
    ${If} ${Errors}
      StrCpy $0 1
    ${Else}
      FileClose $2
    ${EndIf}
  ${EndIf}
!macroend

!macro CloseSuite un
  Function ${un}WindowOfProgram  ; in: $0 registry value, $1 program file; out: $2 window or 0
    Push $3
    Push $4
    Push $5
    StrCpy $2 0
    ClearErrors
    ReadRegDWORD $3 HKCU "${SETTINGS_KEY}" $0
    ${If} ${Errors}
    ${OrIf} $3 == 0
    ${OrIf} $3 == -1
    ${OrIf} $3 == 4294967295
      Goto done
    ${EndIf}
    System::Call 'user32::IsWindow(p r3) i .r4'
    IntCmp $4 0 done
    System::Call 'user32::GetWindowThreadProcessId(p r3, *i .r4) i'
    System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i r4) p .r5'
    StrCmp $5 0 done
    StrCpy $4 ""
    System::Call 'kernel32::QueryFullProcessImageNameW(p r5, i 0, w .r4, *i ${NSIS_MAX_STRLEN})'
    System::Call 'kernel32::CloseHandle(p r5)'
    StrCmp $4 "$INSTDIR\$1" 0 done
    StrCpy $2 $3
  done:
    Pop $5
    Pop $4
    Pop $3
  FunctionEnd

  Function ${un}CloseSuite
    Push $0
    Push $1
    Push $2
    Push $3
    StrCpy $0 "Monitor Handle"
    StrCpy $1 "HalvardMonitor.exe"
    Call ${un}WindowOfProgram
    ${If} $2 != 0
      SendMessage $2 ${WM_COMMAND} ${ID_EXIT} 0 /TIMEOUT=5000
    ${EndIf}
    StrCpy $0 "Process Handle"
    StrCpy $1 "Halvard.exe"
    Call ${un}WindowOfProgram
    ${If} $2 != 0
      SendMessage $2 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    ${EndIf}
    ; The processes end a little after their windows; a running program cannot be opened for
    ; writing.
    StrCpy $3 0
    ${Do}
      StrCpy $0 0
      !insertmacro ProgramBusy "$INSTDIR\HalvardMonitor.exe"
      !insertmacro ProgramBusy "$INSTDIR\Halvard.exe"
      ${If} $0 == 0
        ${Break}
      ${EndIf}
      IntOp $3 $3 + 1
      ${If} $3 > 50
        MessageBox MB_OK|MB_ICONSTOP "$(StillRunning)" /SD IDOK
        SetErrorLevel 3
        Quit
      ${EndIf}
      Sleep 100
    ${Loop}
    Pop $3
    Pop $2
    Pop $1
    Pop $0
  FunctionEnd
!macroend
!insertmacro CloseSuite ""
!insertmacro CloseSuite "un."

Section "!$(SecProgramsName)" SecPrograms
  SectionIn RO
  SetShellVarContext current
  Call CloseSuite
  SetOutPath "$INSTDIR"
  File "${STAGE}\Halvard.exe"
  File "${STAGE}\HalvardMonitor.exe"
  File "${STAGE}\HalvardOsd.dll"
  File "${STAGE}\HalvardHook.dll"
  SetOutPath "$INSTDIR\Languages"
  File "${STAGE}\Languages\*.txt"
  SetOutPath "$INSTDIR\HELP"
  File "${STAGE}\HELP\*.html"
  SetOutPath "$INSTDIR\MEDIA"
  File "${STAGE}\MEDIA\*.MP4"
  SetOutPath "$INSTDIR"

  ; The installation values the programs read.
  WriteRegStr HKCU "${SETTINGS_KEY}" "Path" "$INSTDIR"
  WriteRegStr HKCU "${SETTINGS_KEY}" "Locate APP" "$INSTDIR\Halvard.exe"
  WriteRegDWORD HKCU "${SETTINGS_KEY}" "Language" $LANGUAGE
  WriteRegDWORD HKCU "${SETTINGS_KEY}" "Disable System Tray" 1

  ; The monitor runs while the user is logged on; at log-on it waits in the tray.
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\HalvardMonitor.exe" /Automation'

  CreateDirectory "$SMPROGRAMS\Halvard"
  CreateShortcut "$SMPROGRAMS\Halvard\Halvard.lnk" "$INSTDIR\Halvard.exe"
  CreateShortcut "$SMPROGRAMS\Halvard\$(LinkMonitor).lnk" "$INSTDIR\HalvardMonitor.exe" "/Automation"
  CreateShortcut "$SMPROGRAMS\Halvard\$(LinkUninstall).lnk" "$INSTDIR\uninstall.exe"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Halvard"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Halvard.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "Installer Language" $LANGUAGE
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "$(SecTrayName)" SecTray
  WriteRegDWORD HKCU "${SETTINGS_KEY}" "Disable System Tray" 0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecPrograms} "$(SecProgramsDesc)"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecTray} "$(SecTrayDesc)"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  SetShellVarContext current
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/LANG=" $R1
  ${If} ${Errors}
    !insertmacro MUI_LANGDLL_DISPLAY
  ${Else}
    ${If} $R1 == "English"
    ${OrIf} $R1 == "1033"
      StrCpy $LANGUAGE ${LANG_ENGLISH}
    ${ElseIf} $R1 == "German"
    ${OrIf} $R1 == "Deutsch"
    ${OrIf} $R1 == "1031"
      StrCpy $LANGUAGE ${LANG_GERMAN}
    ${Else}
      MessageBox MB_OK|MB_ICONSTOP "$(BadLang)" /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/NOTRAY" $R1
  ${IfNot} ${Errors}
    SectionGetFlags ${SecTray} $R1
    IntOp $R1 $R1 & 0xFFFFFFFE
    SectionSetFlags ${SecTray} $R1
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext current
  !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.CloseSuite
  Delete "$INSTDIR\Halvard.exe"
  Delete "$INSTDIR\HalvardMonitor.exe"
  Delete "$INSTDIR\HalvardOsd.dll"
  Delete "$INSTDIR\HalvardHook.dll"
  RMDir /r "$INSTDIR\Languages"
  RMDir /r "$INSTDIR\HELP"
  RMDir /r "$INSTDIR\MEDIA"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  RMDir /r "$SMPROGRAMS\Halvard"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ; Only what the installer wrote: profiles' values and the data folder stay the user's.
  DeleteRegValue HKCU "${SETTINGS_KEY}" "Path"
  DeleteRegValue HKCU "${SETTINGS_KEY}" "Locate APP"
  DeleteRegValue HKCU "${SETTINGS_KEY}" "Language"
  DeleteRegValue HKCU "${SETTINGS_KEY}" "Disable System Tray"
  DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
