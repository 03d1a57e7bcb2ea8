; Peer installer with the same tree, pages, records and uninstaller, for side-by-side timing.
; scripts/bench-outside lays out the payload and the licence from payload/manifest
; and builds it with Debian's makensis:
;   makensis -DLICENSE=licence.txt -DPAYLOAD=tree -DOUTFILE=peer.exe peer.nsi
Unicode true
Target amd64-unicode
!include "MUI2.nsh"
Name "Sorvanta v2.1"
OutFile "${OUTFILE}"
InstallDir "C:\Program Files"
RequestExecutionLevel user
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_LANGUAGE "Russian"
Section
  SetOutPath "$INSTDIR\Varkelo"
  File "${PAYLOAD}\Zelcap2-1.exe"
  File "${PAYLOAD}\Confile.man"
  File "${PAYLOAD}\pek.txt"
  File "${PAYLOAD}\psq.txt"
  File "${PAYLOAD}\pif.txt"
  SetOutPath "$INSTDIR\Varkelo\Help"
  File "${PAYLOAD}\Help\*.htm"
  SetOutPath "$INSTDIR\Varkelo\Info"
  File "${PAYLOAD}\Info\*.htm"
  SetOutPath "$INSTDIR\Varkelo"
  File "${PAYLOAD}\health.txt"
  SetOutPath "$INSTDIR\Varkelo\img"
  File "${PAYLOAD}\img\*.jpg"
  SetOutPath "$INSTDIR\Varkelo"
  CreateShortCut "$DESKTOP\Sorvanta v2.1.lnk" "$INSTDIR\Varkelo\Zelcap2-1.exe" "" "" 0 SW_SHOWNORMAL "" "Sorvanta"
  WriteINIStr "$INSTDIR\Varkelo\dir.ini" "info" "dir" "$INSTDIR\Varkelo\"
  ; As ours: an uninstaller and its entry in the list of programs.
  WriteUninstaller "$INSTDIR\Varkelo\uninstall.exe"
  WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\SorvantaPeer" "DisplayName" "Sorvanta v2.1"
  WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\SorvantaPeer" "UninstallString" '"$INSTDIR\Varkelo\uninstall.exe"'
  WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\SorvantaPeer" "InstallLocation" "$INSTDIR\Varkelo"
SectionEnd
Section "Uninstall"
  RMDir /r "$INSTDIR"
  DeleteRegKey HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\SorvantaPeer"
SectionEnd
