; The Windows installer: the program into Program Files for every user of the machine, its two
; Start-menu entries, and an uninstaller listed among the installed programs. Silent with /S.
; Made by tools/windows.sh:
;   makensis -XTarget amd64-unicode -INPUTCHARSET UTF8 -DVERSION=… -DEXE=… -DICON=…
;            -DFONT_LICENSE=… -DOUTFILE=… zakony-logiki.nsi
Unicode true
!include "MUI2.nsh"
!include "x64.nsh"

!define NAME "Законы логики"
!define CLASS_NAME "Законы логики — журнал класса"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\zakony-logiki"

Name "${NAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\zakony-logiki"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
Icon "${ICON}"
UninstallIcon "${ICON}"
BrandingText "${NAME} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "install"
  SetOutPath "$INSTDIR"
  File "/oname=zakony-logiki.exe" "${EXE}"
  File "/oname=zakony-logiki.ico" "${ICON}"
  File "/oname=PT-Sans-OFL.txt" "${FONT_LICENSE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\zakony-logiki.exe" "" \
    "$INSTDIR\zakony-logiki.exe" 0
  CreateShortCut "$SMPROGRAMS\${CLASS_NAME}.lnk" "$INSTDIR\zakony-logiki.exe" "--class" \
    "$INSTDIR\zakony-logiki.exe" 0
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Zakony Logiki"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zakony-logiki.ico"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The program's files only: the journal, the settings and the teacher's file stay.
Section "uninstall"
  Delete "$SMPROGRAMS\${NAME}.lnk"
  Delete "$SMPROGRAMS\${CLASS_NAME}.lnk"
  Delete "$INSTDIR\zakony-logiki.exe"
  Delete "$INSTDIR\zakony-logiki.ico"
  Delete "$INSTDIR\PT-Sans-OFL.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
