; The Windows installer of Quelro Programmer: 64-bit, per user (no
; administrator), a Start-menu entry, an uninstaller, and .DAT files opening
; with the program. makensis -DVERSION=x.y.z -DSTAGE=<folder> -DOUTFILE=<exe>
;   -DUNINSTALL=<file>  the Delete and RMDir lines of the staged files, deepest
;                       first (scripts/windows-uninstall-list.sh)
;   -DCOMPRESSION=off   a quick, uncompressed installer for the tests
Unicode true
Target amd64-unicode
RequestExecutionLevel user
!ifdef COMPRESSION
  SetCompress ${COMPRESSION}
!else
  SetCompressor /SOLID lzma
!endif

!define APP "Quelro Programmer"
!define PROGID "Quelro.DAT"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QuelroProgrammer"

Name "${APP}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quelro Programmer"
InstallDirRegKey HKCU "${UNINSTKEY}" "InstallLocation"
ShowInstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Install"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\quelro.exe"

  ; .DAT is a common extension: the program becomes its opener only where no
  ; other program already is, and is offered under "Open with" everywhere.
  WriteRegStr HKCU "Software\Classes\${PROGID}" "" "Quelro radio programming"
  WriteRegStr HKCU "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\quelro.exe,0"
  WriteRegStr HKCU "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\quelro.exe" "%1"'
  WriteRegStr HKCU "Software\Classes\.DAT\OpenWithProgids" "${PROGID}" ""
  ReadRegStr $0 HKCU "Software\Classes\.DAT" ""
  StrCmp $0 "" 0 +2
    WriteRegStr HKCU "Software\Classes\.DAT" "" "${PROGID}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr HKCU "${UNINSTKEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTKEY}" "Publisher" "Quelro Programmer developers"
  WriteRegStr HKCU "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\quelro.exe,0"
  WriteRegStr HKCU "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTKEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTKEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\${APP}.lnk"
  ReadRegStr $0 HKCU "Software\Classes\.DAT" ""
  StrCmp $0 "${PROGID}" 0 +2
    DeleteRegValue HKCU "Software\Classes\.DAT" ""
  DeleteRegValue HKCU "Software\Classes\.DAT\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty HKCU "Software\Classes\.DAT\OpenWithProgids"
  DeleteRegKey /ifempty HKCU "Software\Classes\.DAT"
  DeleteRegKey HKCU "Software\Classes\${PROGID}"
  DeleteRegKey HKCU "${UNINSTKEY}"
  ; Only what the installer put there goes: the folder may be one the user
  ; chose and shares with files of their own. The settings in %APPDATA%\quelro
  ; and the read backups stay: they are the user's.
  Delete "$INSTDIR\uninstall.exe"
  !include "${UNINSTALL}"
  RMDir "$INSTDIR"
SectionEnd
