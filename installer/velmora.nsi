; The Velmora installer: closes the running monitors, puts the programs and
; help pages in one program directory, adds Start-menu shortcuts and an entry
; in the system's list of programs, then starts the monitor it closed again.
; Its uninstaller closes the monitors, lets the suite remove its own traces
; (the configuration program's uninstall mode and the uninstaller), then
; removes exactly what was installed, a file still in use at the next restart.
;
; Built by the win32 build: makensis -DSRCDIR=... -DFILES=... -DUNFILES=...
;   -DOUTFILE=... velmora.nsi

Unicode true
SetCompressor /SOLID lzma
; The installed files get the time of their installation: the installer keeps
; no file dates of the build, so two builds of the same sources are the same.
SetDateSave off
; A file in use is never skipped: the user may retry or cancel, and a silent
; install cancels and fails rather than leave old programs beside new ones.
AllowSkipFiles off

; The version from its three numbers in version.h, the one place it is written.
!searchparse /file "${SRCDIR}/resources/version.h" '#define VELMORA_VERSION_MAJOR ' VERSION_MAJOR
!searchparse /file "${SRCDIR}/resources/version.h" '#define VELMORA_VERSION_MINOR ' VERSION_MINOR
!searchparse /file "${SRCDIR}/resources/version.h" '#define VELMORA_VERSION_PATCH ' VERSION_PATCH
!define VERSION "${VERSION_MAJOR}.${VERSION_MINOR}.${VERSION_PATCH}"
!searchparse /file "${SRCDIR}/resources/version.h" '#define VELMORA_PUBLISHER "' PUBLISHER '"'
; The programs' files and the names the suite's programs find each other by,
; from names.h, where the programs take them from too.
!searchparse /file "${SRCDIR}/resources/names.h" '#define VELMORA_PRODUCT "' PRODUCT '"'
!searchparse /file "${SRCDIR}/resources/names.h" '#define VELMORA_VENDOR "' VENDOR '"'
!searchparse /file "${SRCDIR}/resources/names.h" '#define VELMORA_TRAY_MONITOR_FILE "' TRAY_MONITOR_FILE '"'
!searchparse /file "${SRCDIR}/resources/names.h" '#define VELMORA_CONFIG_FILE "' CONFIG_FILE '"'
!searchparse /file "${SRCDIR}/resources/names.h" '#define VELMORA_UNINSTALL_FILE "' UNINSTALL_FILE '"'
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
ShowInstDetails show
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "Win\WinNT.nsh"

; The installer and the uninstaller carry the suite's icon, Velmora.exe's,
; on their files and pages; the pages' foot names the product and its
; version, the same in every language, instead of NSIS.
!define MUI_ICON "${SRCDIR}/resources/velmora.ico"
!define MUI_UNICON "${SRCDIR}/resources/velmora.ico"
BrandingText "${PRODUCT} ${VERSION}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\${CONFIG_FILE}"
!define MUI_FINISHPAGE_RUN_TEXT "$(ConfigureNow)"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; With a file left to the next restart the page offers to restart now: only
; a deliberate choice restarts, never a bare Enter.
!define MUI_FINISHPAGE_REBOOTLATER_DEFAULT
!insertmacro MUI_UNPAGE_FINISH
; English and Chinese (Simplified), the one of the user's interface language,
; with no question asked; any other language gets the first, English.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"
; Our own texts, in each language.
LangString ConfigureNow ${LANG_ENGLISH} "Configure ${PRODUCT} now"
LangString ConfigureNow ${LANG_SIMPCHINESE} "立即配置 ${PRODUCT}"

; NSIS would give Simplified Chinese to every Chinese interface, Traditional
; included; the programs' resources give it to a Simplified Chinese one only,
; and English to the others. The installer and uninstaller do as they do.
!macro DEFINE_ON_INIT PREFIX
Function ${PREFIX}.onInit
  System::Call 'kernel32::GetUserDefaultUILanguage() i .r0'
  ${If} $0 <> ${LANG_SIMPCHINESE}
    StrCpy $LANGUAGE ${LANG_ENGLISH}
  ${EndIf}
FunctionEnd
!macroend
!insertmacro DEFINE_ON_INIT ""
!insertmacro DEFINE_ON_INIT "un"

; 1 once this run has closed a running monitor.
Var closedMonitor

; CloseMonitors (un.CloseMonitors in the uninstaller) asks each running
; monitor of this session to close and waits until its process has ended.
; Monitors are found by their window's class only: an Explorer window of a
; folder of the product's name has the product's name as its title. A window
; that does not answer within 2 s, or a process that does not end within 5 s,
; is asked again, at most ten times in all: a monitor that never closes cannot
; hold the installer up, and its file is then reported as in use.
!macro DEFINE_CLOSE_MONITORS PREFIX
Function ${PREFIX}CloseMonitors
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $0 0
  ${Do}
    FindWindow $1 "${PRODUCT}"
    ${If} $1 = 0
    ${OrIf} $0 >= 10
      ${Break}
    ${EndIf}
    IntOp $0 $0 + 1
    StrCpy $closedMonitor 1
    System::Call 'user32::GetWindowThreadProcessId(p r1, *i 0 r2)'
    System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r2) p .r3'
    SendMessage $1 ${WM_CLOSE} 0 0 /TIMEOUT=2000
    ${If} $3 P<> 0
      ; Windows keeps the program file in use until the process has ended, which may be well after its window.
      System::Call 'kernel32::WaitForSingleObject(p r3, i 5000)'
      System::Call 'kernel32::CloseHandle(p r3)'
    ${Else}
      Sleep 500
    ${EndIf}
  ${Loop}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_MONITORS ""
!insertmacro DEFINE_CLOSE_MONITORS "un."

; Starts the monitor this run closed again, as Windows starts it at the next
; log-on: the machine-wide Run value holds its quoted path and its command
; line (this 32-bit installer reads the programs' registry view). Without a
; Run value nothing starts; the finish page's configuration program does.
Function RestartMonitor
  ${If} $closedMonitor == 1
    StrCpy $closedMonitor 0
    ReadRegStr $0 HKLM "Software\Microsoft\Windows\CurrentVersion\Run" "${PRODUCT}"
    ; A monitor that never closed still runs: a second one is not started beside it.
    FindWindow $1 "${PRODUCT}"
    ${If} $0 != ""
    ${AndIf} $1 = 0
      ; On Windows it runs elevated, as one the finish page starts; it lets WM_CLOSE through from unelevated programs.
      Exec $0
    ${EndIf}
  ${EndIf}
FunctionEnd

; A failed install (a file in use, say) still gives the user their monitor back.
Function .onInstFailed
  Call RestartMonitor
FunctionEnd

Section "Install"
  SetShellVarContext all
  Call CloseMonitors
  SetOutPath "$INSTDIR"
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} Configuration.lnk" "$INSTDIR\${CONFIG_FILE}" "" "$INSTDIR\${CONFIG_FILE}" 0
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\Uninstall.exe" "" "$INSTDIR\Uninstall.exe" 0

  ; The entry last, once every file is in place: after a failed install the
  ; list of programs still shows the version that is there.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${TRAY_MONITOR_FILE},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"

  Call RestartMonitor
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Call un.CloseMonitors
  ; The suite's own clean-up: close the monitors, remove the Run values and
  ; the settings. A program already removed by hand is passed over.
  IfFileExists "$INSTDIR\${CONFIG_FILE}" 0 +2
    ExecWait '"$INSTDIR\${CONFIG_FILE}" -uninstall'
  IfFileExists "$INSTDIR\${UNINSTALL_FILE}" 0 +2
    ExecWait '"$INSTDIR\${UNINSTALL_FILE}" ${VENDOR} ${PRODUCT} N Y Y'

  ; A file still in use goes at the next restart, and the folder after it:
  ; on Windows another user's monitor, in another session, is out of reach.
  !include "${UNFILES}"
  Delete /REBOOTOK "$INSTDIR\Uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT} Configuration.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
