; Uninstall.exe: what a user or a script runs to remove Korvale. NSIS's own uninstaller first
; copies itself to the temporary folder, starts the copy and ends at once with 0, whatever the
; copy then does: a silent uninstall while Korvale runs would report success and remove nothing.
; This launcher checks first, in its own process, so that its exit code says it (2 while Korvale
; runs), and only then hands over to the real uninstaller (Uninstall.dat) as NSIS's first stage
; would. Built by makensis from the installer's script: makensis -DTARGET=... -DOUT=... -DICON=...
Unicode true
Target ${TARGET}
Name "Korvale"
OutFile "${OUT}"
Icon "${ICON}"
RequestExecutionLevel user
SetCompressor zlib

!include "LogicLib.nsh"
!include "FileFunc.nsh"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\English.nlf"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\SimpChinese.nlf"
LangString KorvaleRunning ${LANG_ENGLISH} "Korvale is running. Close it, then choose Retry."
LangString KorvaleRunning ${LANG_SIMPCHINESE} "Korvale 正在运行。请先关闭它，然后选择“重试”。"

; Windows refuses to open a running program's file for writing: while that fails, Korvale runs.
; Everything happens here, before any window of the launcher's own would show.
Function .onInit
  retry:
  ClearErrors
  FileOpen $0 "$EXEDIR\Korvale.exe" a
  ${If} ${Errors}
  ${AndIf} ${FileExists} "$EXEDIR\Korvale.exe"
    ${If} ${Silent}
      SetErrorLevel 2
      Quit
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(KorvaleRunning)" IDRETRY retry
    SetErrorLevel 2
    Quit
  ${EndIf}
  FileClose $0
  ; The real uninstaller runs from a copy, so that it can remove the installed folder, this
  ; launcher included once it has ended.
  GetTempFileName $1
  ClearErrors
  CopyFiles /SILENT "$EXEDIR\Uninstall.dat" $1
  ${If} ${Errors}
    SetErrorLevel 2
    Quit
  ${EndIf}
  ${GetParameters} $2
  Exec '"$1" $2 _?=$EXEDIR'
  SetErrorLevel 0
  Quit
FunctionEnd

Section
SectionEnd
