; The Windows installer: makensis -DVERSION=x.y.z -DSOURCE=<deployed folder>
;   -DICON=<baldo7.ico> -DOUTFILE=<setup.exe> baldo7.nsi
; Installs the deployed folder for all users, with a Start menu entry, an optional
; desktop icon and the .rdat file type. The uninstaller removes what the installer put
; in place and nothing else: the user's settings (HKCU\Software\Olvis\BALDO-7) and
; data files stay.
Unicode true
; 64-bit stub: the programs are 64-bit, and so is Debian's wine.
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "x64.nsh"

!define PRODUCT "BALDO-7"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\BALDO-7"
!define FILE_CLASS "BALDO7.RadioData"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\baldo7.exe"
; The language asked at start is kept for the uninstaller.
!define MUI_LANGDLL_REGISTRY_ROOT HKLM
!define MUI_LANGDLL_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "InstallerLanguage"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString SecProgram ${LANG_ENGLISH} "BALDO-7 programming software"
LangString SecProgram ${LANG_SIMPCHINESE} "BALDO-7 写频软件"
LangString SecDesktop ${LANG_ENGLISH} "Desktop icon"
LangString SecDesktop ${LANG_SIMPCHINESE} "桌面图标"
LangString FileTypeName ${LANG_ENGLISH} "BALDO-7 radio data"
LangString FileTypeName ${LANG_SIMPCHINESE} "BALDO-7 电台数据"
LangString UninstallName ${LANG_ENGLISH} "Uninstall BALDO-7"
LangString UninstallName ${LANG_SIMPCHINESE} "卸载 BALDO-7"
LangString Needs64 ${LANG_ENGLISH} "BALDO-7 needs 64-bit Windows."
LangString Needs64 ${LANG_SIMPCHINESE} "BALDO-7 需要 64 位 Windows。"

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP "$(Needs64)" /SD IDOK
        Abort
    ${EndIf}
    SetRegView 64
    !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

Function un.onInit
    SetRegView 64
    !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

Section "$(SecProgram)" SecMain
    SectionIn RO
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File /r "${SOURCE}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\baldo7.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\$(UninstallName).lnk" "$INSTDIR\uninstall.exe"

    ; .rdat files open in the program.
    WriteRegStr HKLM "Software\Classes\.rdat" "" "${FILE_CLASS}"
    WriteRegStr HKLM "Software\Classes\${FILE_CLASS}" "" "$(FileTypeName)"
    WriteRegStr HKLM "Software\Classes\${FILE_CLASS}\DefaultIcon" "" "$INSTDIR\baldo7.exe,0"
    WriteRegStr HKLM "Software\Classes\${FILE_CLASS}\shell\open\command" "" '"$INSTDIR\baldo7.exe" "%1"'
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "BALDO-7 programming software developers"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\baldo7.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "$(SecDesktop)" SecDesktopIcon
    SetShellVarContext all
    CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\baldo7.exe"
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$DESKTOP\${PRODUCT}.lnk"
    RMDir /r "$SMPROGRAMS\${PRODUCT}"
    ; The file type only while it is still ours.
    ReadRegStr $0 HKLM "Software\Classes\.rdat" ""
    ${If} $0 == "${FILE_CLASS}"
        DeleteRegKey HKLM "Software\Classes\.rdat"
    ${EndIf}
    DeleteRegKey HKLM "Software\Classes\${FILE_CLASS}"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    ; Only what the installer put there: a folder the user added files to stays.
    RMDir /r "$INSTDIR\platforms"
    RMDir /r "$INSTDIR\styles"
    RMDir /r "$INSTDIR\imageformats"
    RMDir /r "$INSTDIR\translations"
    RMDir /r "$INSTDIR\help"
    Delete "$INSTDIR\*.exe"
    Delete "$INSTDIR\*.dll"
    Delete "$INSTDIR\Init.dat"
    Delete "$INSTDIR\qt.conf"
    RMDir "$INSTDIR"
SectionEnd
