; The demo's installer: a 64-bit NSIS installer (32-bit ones do not run under
; a 64-bit-only Wine) that installs for the current user without elevation.
; Silent with /S. Build: makensis -DVERSION=2.0.0 -DOUTFILE=/abs/setup.exe
Target amd64-unicode
Unicode true

!ifndef VERSION
    !define VERSION "2.0.0"
!endif
!ifndef OUTFILE
    !define OUTFILE "HovrelDemoApp-${VERSION}-setup.exe"
!endif

Name "Hovrel Demo App ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\HovrelDemoApp"

Section "App"
    SetOutPath "$INSTDIR"
    File "app\hovrel-demo-app.txt"
    FileOpen $0 "$INSTDIR\version.txt" w
    FileWrite $0 "${VERSION}$\r$\n"
    FileClose $0
SectionEnd
