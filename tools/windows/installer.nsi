; SPDX-License-Identifier: GPL-3.0-or-later
; The JOLV installer: for the current user (no administrator rights) or for
; all users, chosen on a page or by /CurrentUser or /AllUsers; /S installs
; silently. A Start-menu entry, and an uninstaller in "Apps & features" that
; removes the program and leaves the settings file (%APPDATA%\JOLV\JOLV.INI).
; Neither changes anything while the JOLV of the install folder runs: they ask
; to close it (retry or cancel); silently (/S) they end with exit code 2.
; Built by tools/windows/package.sh with VERSION, STAGE (the program folder),
; ICON and OUTFILE defined; STAGE.files.nsh lists what the uninstaller removes.
; A 64-bit installer for a 64-bit program: it also runs where 32-bit
; programs cannot (a Wine without its 32-bit half), and $PROGRAMFILES64 is
; the real Program Files folder.
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "JOLV"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!include MultiUser.nsh
!include MUI2.nsh

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"

; The installer's own version resource.
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1031 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1031 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "FileDescription" "${PRODUCT} ${VERSION} Installation"
VIAddVersionKey /LANG=1031 "LegalCopyright" "GPL-3.0-or-later"

!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\jolv.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

; Whether jolv.exe of the install folder runs, and if so the question until
; it is closed, or the end. Windows (and Wine alike) refuse to open the file
; of a running program for writing, though they let it be renamed: opening it
; to append, writing nothing, answers for exactly this copy, where a search
; for a window titled "JOLV" would also stop at a copy run from the zip.
!macro WAIT_UNTIL_JOLV_CLOSED PREFIX
Function ${PREFIX}WaitUntilJolvClosed
    Push $0
    retry:
    IfFileExists "$INSTDIR\jolv.exe" 0 closed
    ClearErrors
    FileOpen $0 "$INSTDIR\jolv.exe" a
    IfErrors running
    FileClose $0
    Goto closed
    running:
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "JOLV läuft noch ($INSTDIR\jolv.exe).$\r$\nBitte schließen Sie JOLV und wählen Sie dann „Wiederholen“." \
        /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Quit
    closed:
    Pop $0
FunctionEnd
!macroend
!insertmacro WAIT_UNTIL_JOLV_CLOSED ""
!insertmacro WAIT_UNTIL_JOLV_CLOSED "un."

Function .onInit
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "JOLV"
    Call WaitUntilJolvClosed
    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\jolv.exe" "" "$INSTDIR\jolv.exe" 0

    ; SHCTX is HKCU or HKLM, as the install mode chose.
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\jolv.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallMode" "$MultiUser.InstallMode"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer put there, by name, and the folder only if it is
; then empty: files a user kept there stay. The settings file lives in the
; user's application data and is not touched.
Section "Uninstall"
    Call un.WaitUntilJolvClosed
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    !include "${STAGE}.files.nsh"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
