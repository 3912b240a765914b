; The Windows installer: makensis -DSTAGE=folder -DVERSION=x.y -DOUTFILE=setup.exe k5x7.nsi
; STAGE holds the programs with everything they need, and files.nsh/uninstall-files.nsh
; that scripts/package-windows writes from its listing.
Unicode true
Target amd64-unicode
!include "MUI2.nsh"
!include "x64.nsh"

Name "図面管理 ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\k5x7"
InstallDirRegKey HKLM "Software\k5x7" "InstallDir"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1041 "ProductName" "図面管理"
VIAddVersionKey /LANG=1041 "FileDescription" "図面管理 インストーラー"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"

!define MUI_ICON "${STAGE}\k5x7.ico"
!define MUI_UNICON "${STAGE}\k5x7.ico"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\k5x7"

Section "Install"
  SetRegView 64
  !include "${STAGE}\files.nsh"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "Software\k5x7" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "図面管理"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\k5x7.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\図面管理"
  CreateShortcut "$SMPROGRAMS\図面管理\図面管理.lnk" "$INSTDIR\k5x7.exe" "" "$INSTDIR\k5x7.exe" 0
SectionEnd

; Removes what was installed, file by file: the user's settings (k5x7.dat) stay, and
; with them the folder.
Section "Uninstall"
  SetRegView 64
  SetShellVarContext all
  !include "${STAGE}\uninstall-files.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\図面管理\図面管理.lnk"
  RMDir "$SMPROGRAMS\図面管理"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\k5x7"
SectionEnd
