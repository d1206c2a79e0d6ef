; The per-user installer: no administrator rights, the program in the user's
; own programs folder, a Start-menu shortcut and an entry in the Apps list.
; Built by makensis with /D definitions of VERSION, SOURCE (the source tree),
; EXE (the built program), README, OUTFILE and LANGUAGES (the pages' languages
; and the help files, made from the shipped languages). Its pages are in the
; player's language where it is one of them, else in English.
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma
; No file times in the installer, so that it rebuilds bit for bit.
SetDateSave off

!include FileFunc.nsh
!include "${LANGUAGES}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quintara"
!define PUBLISHER "Quintara developers"

Name "Quintara ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quintara"
Icon "${SOURCE}/resources/quintara.ico"
UninstallIcon "${SOURCE}/resources/quintara.ico"
LicenseData "${SOURCE}/LICENSE"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "Quintara"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Quintara ${VERSION} setup"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (C) 2026 the Quintara developers. MIT License, see LICENSE."

Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section
  SetOutPath "$INSTDIR"
  File "/oname=quintara.exe" "${EXE}"
  !insertmacro INSTALL_HELP
  File "${SOURCE}/LICENSE"
  File "/oname=README.txt" "${README}"
  ; The two ball folders' own files: a recursive File would also take every
  ; folder of the same name below resources (the 2x pictures).
  SetOutPath "$INSTDIR\ColorIcons"
  File "${SOURCE}/resources/ColorIcons/*.bmp"
  SetOutPath "$INSTDIR\SportIcons"
  File "${SOURCE}/resources/SportIcons/*.bmp"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The shortcut starts in $OUTDIR, the install folder, where the program
  ; finds its ball folders.
  CreateShortcut "$SMPROGRAMS\Quintara.lnk" "$INSTDIR\quintara.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Quintara"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quintara.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes only what the installer put there; a file of the player's own in
; the install folder keeps the folder.
Section "Uninstall"
  Delete "$SMPROGRAMS\Quintara.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$INSTDIR\quintara.exe"
  !insertmacro REMOVE_HELP
  Delete "$INSTDIR\LICENSE"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\ColorIcons\ball?.bmp"
  Delete "$INSTDIR\SportIcons\sport?.bmp"
  RMDir "$INSTDIR\ColorIcons"
  RMDir "$INSTDIR\SportIcons"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
