; The Windows installer: both programs into Program Files\Kalvorintu, a
; Start-menu shortcut for each ("Torvane", "Murak"), the licences, an
; uninstaller and an entry in "Apps" / "Add or remove programs".
; scripts/package-windows builds it:
;
;   makensis -DVERSION=1.0.0 -DSTAGE=<folder with the files> -DOUTFILE=<setup.exe> installer.nsi
;
; STAGE holds tiles.exe, counters.exe, LICENSE.txt, font-LICENSE.txt and
; THIRD-PARTY.txt. /S installs and uninstalls without asking anything.

Unicode true
; A 64-bit installer: it writes the 64-bit registry and Program Files, and
; a 64-bit-only Windows (or Wine prefix) runs it.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Kalvorintu!"
!define PUBLISHER "Kalvorintu maintainers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kalvorintu"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Kalvorintu"
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
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "Kalvorintu!"
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
