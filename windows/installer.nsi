; The Windows installer: both programs into Program Files\Kalvorintu, a
; Start-menu shortcut for each ("Torvane", "Murak"), the licences, an
; uninstaller and an entry in "Apps" / "Add or remove programs".
; scripts/package-windows builds it:
;
;   makensis -DVERSION=1.0.0 -DSTAGE=<folder with the files> -DOUTFILE=<setup.exe> installer.nsi
;
; STAGE holds tiles.exe, counters.exe, LICENSE.txt, font-LICENSE.txt and
; THIRD-PARTY.txt. /S installs and uninstalls without asking anything.
;
; Over an installed version it upgrades in place: the installed version's
; own uninstaller first removes what that version installed, so that no
; file the new version no longer has is left behind, and there is one
; uninstall entry, the new one's. The same version installs over itself (a
; repair). Over a newer version it refuses: it says why in a message box
; (silently, with /S, it says nothing) and ends with exit status 2,
; changing nothing.

Unicode true
; A 64-bit installer: it writes the 64-bit registry and Program Files, and
; a 64-bit-only Windows (or Wine prefix) runs it.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "WordFunc.nsh"

!define PRODUCT "Kalvorintu!"
!define PUBLISHER "Kalvorintu maintainers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kalvorintu"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Kalvorintu"
; An upgrade goes where the installed version is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
Caption "${PRODUCT} ${VERSION}"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} ${VERSION} installer"

!define MUI_ICON "${STAGE}\tiles.ico"
!define MUI_UNICON "${STAGE}\tiles.ico"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Estonian"

; Shortcuts and the uninstall entry are for every user of the machine, as
; the programs are.
Function .onInit
  SetShellVarContext all
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "DisplayVersion"
  ${If} $0 != ""
    ${VersionCompare} $0 "${VERSION}" $1
    ${If} $1 == 1
      MessageBox MB_OK|MB_ICONSTOP "Sellesse arvutisse on paigaldatud ${PRODUCT} uuem versioon $0.$\r$\n\
See paigaldaja on versioon ${VERSION} ega paigalda vanemat versiooni uuema asemele.$\r$\n\
Kui soovid vanemat versiooni, eemalda enne uuem." /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "Kalvorintu!"
  ; The installed version's uninstaller, run where it is (_?=) so that it is
  ; waited for, removes that version's files, shortcuts and entry.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0\uninstall.exe"
    ExecWait '"$0\uninstall.exe" /S _?=$0'
    Delete "$0\uninstall.exe"
    RMDir "$0"
  ${EndIf}
  SetOutPath "$INSTDIR"
  ; No file times in the installer: makensis would store each file's time
  ; as the build machine reports it, and a rebuild would differ. The
  ; installed files carry the time of installing.
  SetDateSave off
  File "${STAGE}\tiles.exe"
  File "${STAGE}\counters.exe"
  File "${STAGE}\LICENSE.txt"
  File "${STAGE}\font-LICENSE.txt"
  File "${STAGE}\THIRD-PARTY.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortCut "$SMPROGRAMS\Torvane.lnk" "$INSTDIR\tiles.exe" "" "$INSTDIR\tiles.exe" 0
  CreateShortCut "$SMPROGRAMS\Murak.lnk" "$INSTDIR\counters.exe" "" "$INSTDIR\counters.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} (Torvane, Murak)"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tiles.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; The size the list shows, in KB.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\Torvane.lnk"
  Delete "$SMPROGRAMS\Murak.lnk"
  Delete "$INSTDIR\tiles.exe"
  Delete "$INSTDIR\counters.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\font-LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
