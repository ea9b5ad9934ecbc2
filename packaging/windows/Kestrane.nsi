; The Windows installer: purge.exe, the purge library, the program texts, the
; user manual's ZIP file and veldran.exe in one program folder, the Start
; menu entries that the Help message speaks of, an entry in Add/Remove
; Programs, and an uninstaller that takes away exactly what was added.
;
;   makensis -DVERSION=8.27 -DFILES_DIR=<folder of the five files>
;            -DOUT_FILE=<setup exe> Kestrane.nsi
;
; The installer is a 64-bit program, as purge.exe is: it sees the real
; Program Files folder and the 64-bit registry without redirection. "/S"
; installs silently, "/D=<folder>" (last on the line) chooses the folder.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!ifndef VERSION | FILES_DIR | OUT_FILE
  !error "VERSION, FILES_DIR and OUT_FILE must be defined (-DNAME=value)"
!endif

!define PRODUCT "Kestrane"
!define PUBLISHER "Talvane Systems"
; The Help message calls the program folder the "kz" & version-without-dots
; program files folder, so that is its name.
!searchreplace VERSION_DIGITS "${VERSION}" "." ""
!define PROGRAM_FOLDER "kz${VERSION_DIGITS}"
; The Help message calls the Start menu folder the Kestrane program menu.
!define MENU_FOLDER "$SMPROGRAMS\${PRODUCT}"
!define MENU_PROGRAM "${MENU_FOLDER}\${PRODUCT}.lnk"
!define MENU_MANUAL "${MENU_FOLDER}\${PRODUCT} User Manual.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define UNINSTALLER "uninstall.exe"

!include "MUI2.nsh"
!include "FileFunc.nsh"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\${PROGRAM_FOLDER}"
; A new version goes where the last one is, so that no second copy is left
; behind unregistered; /D= still wins.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!define MUI_ABORTWARNING
; No "run the program now" on the last page: it would start the file purger
; with the installer's administrator rights.
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Entries for all users, since the program folder is shared by all of them.
Function .onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "Kestrane" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${FILES_DIR}\purge.exe"
  File "${FILES_DIR}\torvix.dll"
  File "${FILES_DIR}\kz_text.dat"
  File "${FILES_DIR}\kz_user_manual.zip"
  File "${FILES_DIR}\veldran.exe"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; The shortcuts start in the program folder ($OUTDIR).
  CreateDirectory "${MENU_FOLDER}"
  CreateShortcut "${MENU_PROGRAM}" "$INSTDIR\purge.exe" "" "$INSTDIR\purge.exe" 0
  CreateShortcut "${MENU_MANUAL}" "$INSTDIR\kz_user_manual.zip"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\purge.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; Only the files the installer put there are deleted, one by one, and the
; folders only when that leaves them empty: whatever else someone keeps in
; the program folder stays, and so does the folder with it.
Section "Uninstall"
  Delete "$INSTDIR\purge.exe"
  Delete "$INSTDIR\torvix.dll"
  Delete "$INSTDIR\kz_text.dat"
  Delete "$INSTDIR\kz_user_manual.zip"
  Delete "$INSTDIR\veldran.exe"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"

  Delete "${MENU_PROGRAM}"
  Delete "${MENU_MANUAL}"
  RMDir "${MENU_FOLDER}"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
