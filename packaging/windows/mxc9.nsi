; The Windows installer of MXC-9 Manager, made with makensis (the build does it:
; packaging/windows/CMakeLists.txt), from the program folder the build fills:
;   makensis -INPUTCHARSET UTF8 -DVERSION=2.2.0 -DSTAGE=FOLDER -DPICTURES=pictures.nsh
;            -DICON=mxc9.ico -DOUTFILE=mxc9-setup-2.2.0.exe [-DWINDOW] mxc9.nsi
; WINDOW: the folder holds mxc9.exe, the window program.
;
; For the user alone (the default, into %LOCALAPPDATA%\Programs\MXC-9 Manager, written to
; HKCU) or for everyone on the PC (an administrator's choice, into Program Files, HKLM).
; /S installs silently, /CurrentUser or /AllUsers choose without asking.
; The uninstaller takes away what this put there and nothing else: the settings in
; %APPDATA%\MXC9 and the user's .mxd files stay.

; A 64-bit installer: the default 32-bit one does nothing on a 64-bit-only system.
Target amd64-unicode
Unicode true
SetCompressor /SOLID lzma
ManifestDPIAware true
ManifestSupportedOS all

!macro Required NAME
  !ifndef ${NAME}
    !error "makensis -D${NAME}=... is missing"
  !endif
!macroend
!insertmacro Required VERSION
!insertmacro Required STAGE
!insertmacro Required PICTURES
!insertmacro Required ICON
!insertmacro Required OUTFILE

!define PRODUCT "MXC-9 Manager"
!define PUBLISHER "MXC-9 Manager developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\MXC9Manager"
!define CLASSES "Software\Classes"
!define PROGID "MXC9.SettingsFile"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

; Per user by default; an administrator may choose everyone. The folder of an earlier
; install in the same mode is taken again.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include "${PICTURES}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!ifdef WINDOW
  !define MUI_FINISHPAGE_RUN "$INSTDIR\mxc9.exe"
!endif

!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; English first: the texts where the system's language is neither.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString NeedsAdministrator ${LANG_ENGLISH} "${PRODUCT} was installed for everyone on this computer: only an administrator can remove it."
LangString NeedsAdministrator ${LANG_JAPANESE} "${PRODUCT} はこのコンピューターのすべてのユーザーにインストールされています。削除できるのは管理者だけです。"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "(C) 2026 ${PUBLISHER}, GPL-3.0-or-later"

Function .onInit
  SetRegView 64
  !insertmacro MULTIUSER_INIT
FunctionEnd

Section "Install"
  SetRegView 64
  SetOutPath "$INSTDIR"
!ifdef WINDOW
  File "${STAGE}/mxc9.exe"
!endif
  File "${STAGE}/mxc9ctl.exe"
  File "${STAGE}/USER-GUIDE.html"
  File "${STAGE}/USER-GUIDE.ja.html"
  File "${STAGE}/LICENSE.txt"
  SetOutPath "$INSTDIR\guide"
  !insertmacro InstallPictures
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "${SHORTCUT}" "$INSTDIR\mxc9.exe" "" "$INSTDIR\mxc9.exe" 0

  ; The .mxd file type: opened by the window, shown with its icon. Another program that
  ; already owns the extension keeps it; ours is offered beside it.
  WriteRegStr SHCTX "${CLASSES}\${PROGID}" "" "MXC-9 settings file"
  WriteRegStr SHCTX "${CLASSES}\${PROGID}\DefaultIcon" "" '"$INSTDIR\mxc9.exe",0'
  WriteRegStr SHCTX "${CLASSES}\${PROGID}\shell\open\command" "" '"$INSTDIR\mxc9.exe" "%1"'
  WriteRegStr SHCTX "${CLASSES}\.mxd\OpenWithProgids" "${PROGID}" ""
  ReadRegStr $0 SHCTX "${CLASSES}\.mxd" ""
  ${If} $0 == ""
    WriteRegStr SHCTX "${CLASSES}\.mxd" "" "${PROGID}"
  ${EndIf}

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\mxc9.exe",0'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"

  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'  ; SHCNE_ASSOCCHANGED
SectionEnd

Var OwnFolder

Function un.onInit
  SetRegView 64
  ; The folder this uninstaller stands in. MultiUser's mode functions put the folder their
  ; mode's key names into $INSTDIR: with a copy for the user and one for everyone both
  ; there, that may be the other copy.
  StrCpy $OwnFolder $INSTDIR
  !insertmacro MULTIUSER_UNINIT
  ; The mode of the install this uninstaller belongs to: the one whose key names this
  ; folder.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $OwnFolder
    Call un.MultiUser.InstallMode.AllUsers
    ${If} $MultiUser.InstallMode != "AllUsers"
      MessageBox MB_OK|MB_ICONSTOP "$(NeedsAdministrator)" /SD IDOK
      Quit
    ${EndIf}
  ${Else}
    Call un.MultiUser.InstallMode.CurrentUser
  ${EndIf}
  StrCpy $INSTDIR $OwnFolder
FunctionEnd

Section "Uninstall"
  SetRegView 64
!ifdef WINDOW
  Delete "$INSTDIR\mxc9.exe"
!endif
  Delete "$INSTDIR\mxc9ctl.exe"
  Delete "$INSTDIR\USER-GUIDE.html"
  Delete "$INSTDIR\USER-GUIDE.ja.html"
  Delete "$INSTDIR\LICENSE.txt"
  !insertmacro RemovePictures
  RMDir "$INSTDIR\guide"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"  ; only when empty: anything the user put there stays

  Delete "${SHORTCUT}"

  DeleteRegKey SHCTX "${CLASSES}\${PROGID}"
  DeleteRegValue SHCTX "${CLASSES}\.mxd\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty SHCTX "${CLASSES}\.mxd\OpenWithProgids"
  ReadRegStr $0 SHCTX "${CLASSES}\.mxd" ""
  ${If} $0 == "${PROGID}"
    DeleteRegValue SHCTX "${CLASSES}\.mxd" ""
  ${EndIf}
  DeleteRegKey /ifempty SHCTX "${CLASSES}\.mxd"

  ; The key goes with the copy it names, and only then.
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ${EndIf}
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'  ; SHCNE_ASSOCCHANGED
SectionEnd
