; The per-user installer: makensis -DVERSION=1.0.0.23 -DEXE=path\tavroclock.exe -DOUTFILE=setup.exe
; (tools/package.sh passes them). No administrator rights: everything goes under the user's profile
; and HKCU.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define APP "TavroClock"
!define PUBLISHER "Quillmar-soft"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\Quillmar-soft\tavroClock"

Name "${APP}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "${APP}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${APP} Setup"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "© ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\tavroclock.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro MUI_LANGUAGE "English"

LangString SecProgram ${LANG_JAPANESE} "TavroClock 本体とスタート メニューのショートカット"
LangString SecProgram ${LANG_ENGLISH} "TavroClock and its Start menu shortcut"
LangString SecLogon ${LANG_JAPANESE} "ログオン時に TavroClock を起動する"
LangString SecLogon ${LANG_ENGLISH} "Start TavroClock when I log on"
LangString SecProgramUn ${LANG_JAPANESE} "TavroClock 本体"
LangString SecProgramUn ${LANG_ENGLISH} "TavroClock itself"
LangString SecSettingsUn ${LANG_JAPANESE} "設定 (表示モードと目標日時) も削除する"
LangString SecSettingsUn ${LANG_ENGLISH} "Remove my settings too (view and countdown target)"

; The clock is the window of class TavroClockMain, top-level or a child of the program manager.
; It is closed as its exit item closes it (WM_CLOSE: the desktop is put back), then awaited: its
; single-instance mutex goes when the process ends, and only then can its exe be replaced.
!macro CLOSE_CLOCK un
Function ${un}CloseClock
  FindWindow $0 "TavroClockMain"
  ${If} $0 == 0
    FindWindow $1 "Progman"
    ${If} $1 != 0
      FindWindow $0 "TavroClockMain" "" $1
    ${EndIf}
  ${EndIf}
  ${If} $0 != 0
    System::Call 'user32::PostMessageW(p r0, i 0x10, p 0, p 0)'
  ${EndIf}
  StrCpy $2 0
  ${Do}
    System::Call 'kernel32::OpenMutexW(i 0x100000, i 0, w "Local\Quillmar-soft.tavroClock") p.r1'
    ${If} $1 == 0
      ${Break}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r1)'
    Sleep 200
    IntOp $2 $2 + 1
  ${LoopUntil} $2 >= 100
FunctionEnd
!macroend
!insertmacro CLOSE_CLOCK ""
!insertmacro CLOSE_CLOCK "un."

Function .onInit
  !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

Function un.onInit
  !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

Section "!$(SecProgram)"
  SectionIn RO
  Call CloseClock
  SetOutPath "$INSTDIR"
  File "/oname=tavroclock.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\tavroclock.exe"
  ; The log-on section below writes it again when it is chosen.
  DeleteRegValue HKCU "${RUN_KEY}" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tavroclock.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "$(SecLogon)"
  WriteRegStr HKCU "${RUN_KEY}" "${APP}" '"$INSTDIR\tavroclock.exe"'
SectionEnd

Section "un.$(SecProgramUn)"
  SectionIn RO
  Call un.CloseClock
  ; A clock that has only just ended may still hold its exe for a moment.
  StrCpy $2 0
  ${DoWhile} ${FileExists} "$INSTDIR\tavroclock.exe"
    Delete "$INSTDIR\tavroclock.exe"
    Sleep 100
    IntOp $2 $2 + 1
    ${IfThen} $2 >= 50 ${|} ${Break} ${|}
  ${Loop}
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "${APP}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.$(SecSettingsUn)"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Quillmar-soft"
SectionEnd
