; The Windows installer of Kel Morvane: the program with its manual and licence in Program
; Files, a Start menu shortcut, the association of .kv3 projects, and an uninstaller listed
; under the installed programs. The user's settings (HKEY_CURRENT_USER) are never touched, so
; an upgrade keeps them and an uninstall leaves them.
;
; ./scripts/package builds it:
;   makensis -DVERSION=1.0.0.0 -DPROGRAM=<folder of KelMorvane.exe and guida.html>
;            -DRESOURCES=<resources folder> -DOUTFILE=<setup.exe> installer/kel_morvane.nsi

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Kel Morvane"
!define PUBLISHER "Kel Morvane"
!define EXECUTABLE "KelMorvane.exe"
!define UNINSTALLER "Disinstalla.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KelMorvane"
!define PROG_ID "KelMorvane.Progetto"
!define CLASSES "Software\Classes"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; An upgrade goes where the earlier version is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"
; The last line of both the install and the uninstall: one word true of either.
CompletedText "Completato"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1040 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1040 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1040 "FileDescription" "Installazione di ${PRODUCT}"
VIAddVersionKey /LANG=1040 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "LegalCopyright" "(c) 2026 Kel Morvane - Tutti i diritti riservati"

!define MUI_ICON "${RESOURCES}\kel_morvane.ico"
!define MUI_UNICON "${RESOURCES}\kel_morvane.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION RunAsTheUser
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\guida.html"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Leggi la guida"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${RESOURCES}\licenza.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

; "Esegui Kel Morvane" on the last page. The installer runs as an administrator, and a program
; it started itself would too, where Windows keeps the user's Explorer from dropping files on
; it. Handed to explorer.exe, the path reaches the user's own shell, which starts the program
; with the user's rights, as a double click would. Wine has no rights to drop and its
; explorer.exe opens a folder instead of a program, so there the program is started directly.
Function RunAsTheUser
  System::Call 'kernel32::GetModuleHandleW(w "ntdll.dll") p.r0'
  System::Call 'kernel32::GetProcAddress(p r0, m "wine_get_version") p.r1'
  ${If} $1 == 0
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\${EXECUTABLE}"'
  ${Else}
    Exec '"$INSTDIR\${EXECUTABLE}"'
  ${EndIf}
FunctionEnd

; The preview needs D3DX 9, which Windows does not always have; the user is told where it
; comes from (not in a silent install, whose administrator knows).
Function .onInit
  IfSilent done
  IfFileExists "$SYSDIR\d3dx9_43.dll" done
  MessageBox MB_OK|MB_ICONINFORMATION "${PRODUCT} usa D3DX 9 (d3dx9_43.dll), che in questo sistema non c'${U+00E8}.$\r$\nDopo l'installazione installa il $\"DirectX End-User Runtime$\" di Microsoft."
  done:
FunctionEnd

Section "${PRODUCT}"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${PROGRAM}\${EXECUTABLE}"
  File "${PROGRAM}\guida.html"
  File "${RESOURCES}\licenza.txt"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXECUTABLE}" "" "$INSTDIR\${EXECUTABLE}" 0 SW_SHOWNORMAL "" "Editor di mesh"

  WriteRegStr HKLM "${CLASSES}\.kv3" "" "${PROG_ID}"
  WriteRegStr HKLM "${CLASSES}\${PROG_ID}" "" "Progetto Kel Morvane"
  WriteRegStr HKLM "${CLASSES}\${PROG_ID}\DefaultIcon" "" "$INSTDIR\${EXECUTABLE},0"
  WriteRegStr HKLM "${CLASSES}\${PROG_ID}\shell\open\command" "" '"$INSTDIR\${EXECUTABLE}" "%1"'

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXECUTABLE},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ; Explorer shows the new icon and type name at once.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$INSTDIR\${EXECUTABLE}"
  Delete "$INSTDIR\guida.html"
  Delete "$INSTDIR\licenza.txt"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  ; .kv3 goes only while it still names our type: another program may have taken it since.
  ReadRegStr $0 HKLM "${CLASSES}\.kv3" ""
  StrCmp $0 "${PROG_ID}" 0 +2
    DeleteRegKey HKLM "${CLASSES}\.kv3"
  DeleteRegKey HKLM "${CLASSES}\${PROG_ID}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
