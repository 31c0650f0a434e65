; The peer for the benchmarks: an NSIS installer doing Setup_TORVALINK's job.
; makensis -DPAYLOAD=<file> -DOUTFILE=<exe> [-DAMD64] nsis_installer.nsi
!ifdef AMD64
Target amd64-unicode
!else
Target x86-unicode
!endif
Name "TORVALINK"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
SilentInstall silent
; Both installers carry the payload as it is: the size comparison is of overheads.
SetCompress off

Section
  File "/oname=$TEMP\TORVALINK.ocx" "${PAYLOAD}"
  ClearErrors
  GetDLLVersion "$TEMP\TORVALINK.ocx" $R0 $R1
  IfErrors done
  IfFileExists "$SYSDIR\TORVALINK.ocx" 0 copy
    GetDLLVersion "$SYSDIR\TORVALINK.ocx" $R2 $R3
    IfErrors unregister
    IntCmpU $R0 $R2 0 done unregister
    IntCmpU $R1 $R3 done done unregister
  unregister:
    UnRegDLL "$SYSDIR\TORVALINK.ocx"
  copy:
    CopyFiles /SILENT "$TEMP\TORVALINK.ocx" "$SYSDIR\TORVALINK.ocx"
    RegDLL "$SYSDIR\TORVALINK.ocx"
  done:
  Delete "$TEMP\TORVALINK.ocx"
SectionEnd
