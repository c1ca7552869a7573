; The Windows installer of RSF-Extractor, made by the windows_package target of a Windows build
; (cmake/WindowsPackage.cmake) from the folder `cmake --install` fills:
;   makensis -INPUTCHARSET UTF8 [-DPROGRAMS_64BIT] -DVERSION=1.3-beta1 "-DVERSION_TEXT=V 1.3 Beta 1"
;            -DSTAGE=<that folder> -DOUTFILE=<installer.exe> rsf-extractor.nsi
; It asks for no administrator rights: started as usual it installs for the current user into the
; user's own program folder (%LOCALAPPDATA%\Programs\RSF-Extractor); started elevated ("Run as
; administrator") it installs for all users into Program Files (the 64-bit one for the 64-bit
; programs). Either way: a Start-menu shortcut, and an uninstaller registered under the Uninstall
; key of that user (HKCU) or of the machine (HKLM), which removes what was installed and nothing
; else: files the user put into the program's folder stay, and so does the folder with them.
; /S installs silently, /CurrentUser installs for the current user even when elevated (as
; Wine's programs always are), /D=<folder> (last on the command line) chooses the folder.
Unicode true
!ifdef PROGRAMS_64BIT
  ; The installer is a 64-bit program itself: the registry and Program Files it sees are the
  ; 64-bit ones.
  Target amd64-unicode
  !define PROGRAM_FILES $PROGRAMFILES64
!else
  Target x86-unicode
  !define PROGRAM_FILES $PROGRAMFILES
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include LogicLib.nsh
!include FileFunc.nsh
!include MUI2.nsh

!define PRODUCT "RSF-Extractor"
!define PUBLISHER "The RSF-Extractor developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define UNINSTALLER "Uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
; FOLDERID_UserProgramFiles: %LOCALAPPDATA%\Programs, where programs installed for one user go.
!define FOLDERID_USER_PROGRAM_FILES {5CD7AEE2-2219-4A67-B85D-6C9CE15660CB}

Name "${PRODUCT} ${VERSION_TEXT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION_TEXT}"
ShowInstDetails show
ShowUninstDetails show

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\rsf-extractor.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

; The installed files, named once for installing and removing them.
!macro ForEachProgramFile action
  !insertmacro ${action} rsf-extractor.exe
  !insertmacro ${action} rsfx.exe
  !insertmacro ${action} wnaspi32.dll
  !insertmacro ${action} rsfextract.html
  !insertmacro ${action} README.md
  !insertmacro ${action} COPYRIGHT.txt
!macroend
!macro InstallFile name
  File "${STAGE}\${name}"
!macroend
!macro RemoveFile name
  Delete "$INSTDIR\${name}"
!macroend

Var AllUsers

Function .onInit
  ; An elevated installer installs for all users: the shell folders and SHCTX (the registry
  ; root) become the machine's.
  StrCpy $AllUsers 0
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    StrCpy $AllUsers 1
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/CurrentUser" $1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 0
  ${EndIf}
  ${If} $AllUsers == 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  ${If} $INSTDIR != ""
    Return  ; chosen with /D=
  ${EndIf}
  ${If} $AllUsers == 1
    StrCpy $INSTDIR "${PROGRAM_FILES}\${PRODUCT}"
  ${Else}
    GetKnownFolderPath $INSTDIR ${FOLDERID_USER_PROGRAM_FILES}
    ${If} $INSTDIR == ""
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs"
    ${EndIf}
    StrCpy $INSTDIR "$INSTDIR\${PRODUCT}"
  ${EndIf}
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  !insertmacro ForEachProgramFile InstallFile
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\rsf-extractor.exe"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\rsf-extractor.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  ; Installed for all users when the machine's Uninstall key names this folder; removing that
  ; needs the rights installing it had.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    UserInfo::GetAccountType
    Pop $1
    ${If} $1 != "Admin"
      MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} 是为所有用户安装的，请以管理员身份运行卸载程序。" /SD IDOK
      SetErrorLevel 5  ; ERROR_ACCESS_DENIED
      Quit
    ${EndIf}
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

Section "Uninstall"
  !insertmacro ForEachProgramFile RemoveFile
  Delete "${SHORTCUT}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"  ; only when empty: what the user put there stays
SectionEnd
