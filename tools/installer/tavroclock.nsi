; The per-user installer: makensis -DVERSION=1.0.0.23 -DEXE=path\tavroclock.exe -DICON=path\tavroclock.ico
; -DOUTFILE=setup.exe [-DSIGN="command"] (tools/package.sh passes them; SIGN, given a file, signs it in
; place, and signs the installer and the uninstaller it writes). No administrator rights: everything
; goes under the user's profile and HKCU.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
; The same bytes from every build of one commit: no file times stored.
SetDateSave off
; A file that cannot be written stops the installation (silently too) instead of being skipped.
AllowSkipFiles off

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh

!define APP "TavroClock"
!define PUBLISHER "Quillmar-soft"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\Quillmar-soft\tavroClock"

!ifdef SIGN
  ; Quoted: the checkout's folder may hold a space.
  !finalize '"${SIGN}" "%1"' = 0
  !uninstfinalize '"${SIGN}" "%1"' = 0
!endif

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

BrandingText "${APP} ${VERSION}  ${PUBLISHER}"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
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
; No language prompt: the pages speak the language of Windows (Japanese where it is neither).
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
LangString ClockRunning ${LANG_JAPANESE} "TavroClock を終了できませんでした。TavroClock を終了してから、もう一度お試しください。"
LangString ClockRunning ${LANG_ENGLISH} "TavroClock could not be closed. Close it and try again."
LangString FileInUse ${LANG_JAPANESE} "$Failed は別のプログラムが使用中のため、書き換えられません。そのプログラムを終了してから、もう一度お試しください。"
LangString FileInUse ${LANG_ENGLISH} "$Failed is in use by another program and cannot be replaced. Close that program and try again."
LangString FileKept ${LANG_JAPANESE} "$Failed を削除できませんでした。使用中のプログラムを終了してから、もう一度アンインストールしてください。"
LangString FileKept ${LANG_ENGLISH} "$Failed could not be removed. Close the program that uses it and uninstall again."

Var Failed  ; the file named in a failure's message
Var ClockClosed  ; 1 once a running clock was closed

; Stops here with the message, and with exit code 2 in silent mode; nothing further changes.
!macro FAIL message
  MessageBox MB_OK|MB_ICONSTOP "${message}" /SD IDOK
  SetErrorLevel 2
  Abort
!macroend

; The clock is the window of class TavroClockMain, as the program hangs it: top-level, a child of
; the program manager, or a child of a top-level WorkerW (the icons' host on a split desktop).
; It is closed as its exit item closes it (WM_CLOSE: the desktop is put back), then awaited by its
; process, opened for SYNCHRONIZE from its window: the single-instance mutex goes at the end of
; wWinMain already, while the exe stays mapped through the runtime's exit and the process's end.
; A clock still starting has no window yet and is known by its mutex until it has one.
; $0 is "" once no clock runs, else "running".
!macro CLOSE_CLOCK un
Function ${un}FindClock
  FindWindow $0 "TavroClockMain"
  ${If} $0 == 0
    FindWindow $1 "Progman"
    ${IfThen} $1 != 0 ${|} FindWindow $0 "TavroClockMain" "" $1 ${|}
  ${EndIf}
  StrCpy $1 0
  StrCpy $2 0
  ${DoWhile} $0 == 0
    FindWindow $1 "WorkerW" "" 0 $1  ; the next top-level WorkerW, hidden ones too
    ${IfThen} $1 == 0 ${|} ${Break} ${|}
    FindWindow $0 "TavroClockMain" "" $1
    IntOp $2 $2 + 1
    ${IfThen} $2 >= 10000 ${|} ${Break} ${|}
  ${Loop}
FunctionEnd

Function ${un}CloseClock
  StrCpy $3 0  ; the close posted
  StrCpy $4 0
  ${Do}
    Call ${un}FindClock
    ${If} $0 != 0
    ${AndIf} $3 == 0
      StrCpy $3 1
      System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r5)'
      System::Call 'kernel32::OpenProcess(i 0x100000, i 0, i r5) p.r6'
      System::Call 'user32::PostMessageW(p r0, i 0x10, p 0, p 0)'
      StrCpy $ClockClosed 1
      ${If} $6 != 0
        System::Call 'kernel32::WaitForSingleObject(p r6, i 30000) i.r7'
        System::Call 'kernel32::CloseHandle(p r6)'
        StrCpy $0 "running"
        ${IfThen} $7 == 0 ${|} StrCpy $0 "" ${|}
        Return
      ${EndIf}
    ${EndIf}
    System::Call 'kernel32::OpenMutexW(i 0x100000, i 0, w "Local\Quillmar-soft.tavroClock") p.r1'
    ${If} $1 == 0
      StrCpy $0 ""
      Return
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r1)'
    Sleep 200
    IntOp $4 $4 + 1
  ${LoopUntil} $4 >= 150
  StrCpy $0 "running"
FunctionEnd
!macroend
!insertmacro CLOSE_CLOCK ""
!insertmacro CLOSE_CLOCK "un."

; Fails unless the file is missing or can be opened for writing (not held by another program)
; within 5 s: a process that has only just ended may hold its image a moment longer.
Function CheckReplaceable
  Exch $R0
  StrCpy $R2 0
  ${DoWhile} ${FileExists} $R0
    ClearErrors
    FileOpen $R1 $R0 a
    ${IfNot} ${Errors}
      FileClose $R1
      ${Break}
    ${EndIf}
    IntOp $R2 $R2 + 1
    ${If} $R2 >= 25
      StrCpy $Failed $R0
      !insertmacro FAIL "$(FileInUse)"
    ${EndIf}
    Sleep 200
  ${Loop}
  Pop $R0
FunctionEnd

; Bytes of a file ($R0) added to $R2.
Function AddFileSize
  ${GetSize} "$INSTDIR" "/M=$R0 /S=0B /G=0" $R1 $R3 $R4
  IntOp $R2 $R2 + $R1
FunctionEnd

Section "!$(SecProgram)" SecProgramId
  SectionIn RO
  ; Everything that can fail is tried before anything changes.
  Call CloseClock
  ${If} $0 != ""
    !insertmacro FAIL "$(ClockRunning)"
  ${EndIf}
  Push "$INSTDIR\tavroclock.exe"
  Call CheckReplaceable
  Push "$INSTDIR\uninstall.exe"
  Call CheckReplaceable
  SetOutPath "$INSTDIR"
  File "/oname=tavroclock.exe" "${EXE}"
  ClearErrors
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ${If} ${Errors}
    StrCpy $Failed "$INSTDIR\uninstall.exe"
    !insertmacro FAIL "$(FileInUse)"
  ${EndIf}
  CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\tavroclock.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tavroclock.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; Our two files only, in KB rounded up: the folder may hold other things.
  StrCpy $R2 0
  StrCpy $R0 "tavroclock.exe"
  Call AddFileSize
  StrCpy $R0 "uninstall.exe"
  Call AddFileSize
  IntOp $R2 $R2 + 1023
  IntOp $R2 $R2 / 1024
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $R2
SectionEnd

Section "$(SecLogon)" SecLogonId
  WriteRegStr HKCU "${RUN_KEY}" "${APP}" '"$INSTDIR\tavroclock.exe"'
SectionEnd

Section "-"
  ${IfNot} ${SectionIsSelected} ${SecLogonId}
    DeleteRegValue HKCU "${RUN_KEY}" "${APP}"
  ${EndIf}
SectionEnd

; A silent install or upgrade (an update tool's setup.exe /S, which shows no finish page) starts
; again the clock it closed, as the user who runs it; one that failed starts the copy still there.
Function StartClosedClock
  ${If} ${Silent}
  ${AndIf} $ClockClosed == 1
  ${AndIf} ${FileExists} "$INSTDIR\tavroclock.exe"
    Exec '"$INSTDIR\tavroclock.exe"'
  ${EndIf}
FunctionEnd

Function .onInstSuccess
  Call StartClosedClock
FunctionEnd

Function .onInstFailed
  Call StartClosedClock
FunctionEnd

; An upgrade offers the log-on choice the user has: off when the installed copy does not start at
; log-on (a value turned off in the startup apps stays as it is: it is rewritten unchanged).
Function .onInit
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "UninstallString"
  ReadRegStr $1 HKCU "${RUN_KEY}" "${APP}"
  ${If} $0 != ""
  ${AndIf} $1 == ""
    !insertmacro UnselectSection ${SecLogonId}
  ${EndIf}
FunctionEnd

Section "un.$(SecProgramUn)"
  SectionIn RO
  Call un.CloseClock
  ${If} $0 != ""
    !insertmacro FAIL "$(ClockRunning)"
  ${EndIf}
  ; A clock that was killed left our mosaic and colour on the desktop, and its record of the
  ; user's own in the settings: put back before the program and perhaps the settings go.
  ${If} ${FileExists} "$INSTDIR\tavroclock.exe"
    ExecWait '"$INSTDIR\tavroclock.exe" /restore-desktop'
  ${EndIf}
  ; A clock that has only just ended may still hold its exe for a moment.
  StrCpy $2 0
  ${DoWhile} ${FileExists} "$INSTDIR\tavroclock.exe"
    Delete "$INSTDIR\tavroclock.exe"
    ${IfNot} ${FileExists} "$INSTDIR\tavroclock.exe"
      ${Break}
    ${EndIf}
    Sleep 100
    IntOp $2 $2 + 1
    ${If} $2 >= 50
      ; Kept findable: the entry stays while the exe is there.
      StrCpy $Failed "$INSTDIR\tavroclock.exe"
      !insertmacro FAIL "$(FileKept)"
    ${EndIf}
  ${Loop}
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "${APP}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.$(SecSettingsUn)" SecSettingsUnId
  ; The program's own files too: its picture where its key says it wrote one (only a mosaic.bmp),
  ; the holiday list and the copies of pictures under %LOCALAPPDATA%\TavroClock. A file that is the
  ; wallpaper now (a copy an exit could not put back) stays.
  ReadRegStr $2 HKCU "Control Panel\Desktop" "Wallpaper"
  ReadRegStr $0 HKCU "${SETTINGS_KEY}" "wallpaperFile"
  StrCpy $1 $0 "" -11
  ${If} $1 == "\mosaic.bmp"
  ${AndIf} $0 != $2
    Delete $0
  ${EndIf}
  Delete "$LOCALAPPDATA\TavroClock\syukujitsu.csv"
  Delete "$LOCALAPPDATA\TavroClock\syukujitsu.csv.part"
  FindFirst $3 $1 "$LOCALAPPDATA\TavroClock\wallpaper*"
  ${DoWhile} $1 != ""
    ${IfThen} "$LOCALAPPDATA\TavroClock\$1" != $2 ${|} Delete "$LOCALAPPDATA\TavroClock\$1" ${|}
    FindNext $3 $1
  ${Loop}
  FindClose $3
  RMDir "$LOCALAPPDATA\TavroClock"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Quillmar-soft"
SectionEnd

; "uninstall.exe /S /removesettings": a silent removal of the settings too (no page to tick it on).
Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/removesettings" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecSettingsUnId}
  ${EndIf}
FunctionEnd
