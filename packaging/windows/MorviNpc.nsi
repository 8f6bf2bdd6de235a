; The Windows installer of MorviNpc, built by scripts/package.sh with NSIS (makensis):
;   makensis -DVERSION=1.0.0 -DVERSION4=1.0.0.0 -DSTAGE=<the zip's folder> -DICON=<.ico> -DSIZE_KB=<n> -DOUTFILE=<setup.exe> MorviNpc.nsi
; Installs for the current user only, without administrator rights, into
; %LOCALAPPDATA%\Programs\MorviNpc; Start-menu shortcuts for the window (started in
; %APPDATA%\MorviNpc, created here, where its MorviConfig.ini is kept) and for a command prompt
; with morvinpc (bin\morvinpc.exe) on its PATH; an uninstaller registered for the user. /S installs silently.
; The uninstaller removes what was installed and leaves the user's MorviConfig.ini and change
; history (%LOCALAPPDATA%\MorviNpc\history) alone.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define PRODUCT "MorviNpc"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\MorviNpc"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\MorviNpc"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=0 "CompanyName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "LegalCopyright" "2026 MorviNpc maintainers"

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartWindow
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

; The shortcuts' working folder: the window keeps MorviConfig.ini in its current directory.
!macro WORK_FOLDER
    SetShellVarContext current
    CreateDirectory "$APPDATA\MorviNpc"
!macroend

Function StartWindow
    !insertmacro WORK_FOLDER
    SetOutPath "$APPDATA\MorviNpc"
    Exec '"$INSTDIR\MorviNpc.exe"'
FunctionEnd

Section "MorviNpc"
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "${STAGE}/MorviNpc.exe"
    File "${STAGE}/README.txt"
    File "${STAGE}/MorviNpc-prompt.cmd"
    ; Windows' file names ignore case: MorviNpc.exe and morvinpc.exe cannot share a folder.
    SetOutPath "$INSTDIR\bin"
    File "${STAGE}/bin/morvinpc.exe"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    !insertmacro WORK_FOLDER
    CreateDirectory "$SMPROGRAMS\MorviNpc"
    ; CreateShortcut takes its working folder from the output path.
    SetOutPath "$APPDATA\MorviNpc"
    CreateShortcut "$SMPROGRAMS\MorviNpc\MorviNpc.lnk" "$INSTDIR\MorviNpc.exe" "" "$INSTDIR\MorviNpc.exe" 0 \
        SW_SHOWNORMAL "" "NPC placement editor for map regions"
    CreateShortcut "$SMPROGRAMS\MorviNpc\MorviNpc command prompt.lnk" "$SYSDIR\cmd.exe" \
        '/k "$INSTDIR\MorviNpc-prompt.cmd"' "$INSTDIR\bin\morvinpc.exe" 0 SW_SHOWNORMAL "" \
        "A command prompt with morvinpc on its PATH"
    SetOutPath "$INSTDIR"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "MorviNpc maintainers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "https://morvinpc.example.org"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\MorviNpc.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    Delete "$SMPROGRAMS\MorviNpc\MorviNpc.lnk"
    Delete "$SMPROGRAMS\MorviNpc\MorviNpc command prompt.lnk"
    RMDir "$SMPROGRAMS\MorviNpc"
    Delete "$INSTDIR\MorviNpc.exe"
    Delete "$INSTDIR\bin\morvinpc.exe"
    RMDir "$INSTDIR\bin"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\MorviNpc-prompt.cmd"
    Delete "$INSTDIR\uninstall.exe"
    ; Only when empty: nothing the user put there is removed.
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ; $APPDATA\MorviNpc (MorviConfig.ini) and $LOCALAPPDATA\MorviNpc (the change history) stay.
SectionEnd
