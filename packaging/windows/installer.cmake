# The Windows installer and a ZIP of the program's folder: `cpack` in the build
# folder makes both. The installer is a 64-bit one, installs into Program Files,
# adds Start-menu entries and an uninstaller, and lists the program among the
# system's installed programs with its version and publisher.
if(NOT WIN32)
  return()
endif()

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME "Vexa SDR Control")
set(CPACK_PACKAGE_VENDOR "Vexa SDR")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# The installer's and the ZIP's name, less .exe or .zip; the tests take them from here.
set(VEXA_WINDOWS_PACKAGE vexa-sdr-control-${PROJECT_VERSION}-windows-x64)
set(CPACK_PACKAGE_FILE_NAME ${VEXA_WINDOWS_PACKAGE})
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Vexa SDR Control")
# The rig-control server's entry starts it with its defaults, in a console
# window of its own: it is a console program.
set(CPACK_PACKAGE_EXECUTABLES
  vexa-sdr-control "Vexa SDR Control"
  vexa-sdr-rigctld "Vexa SDR Rig-Control Server")
set(CPACK_STRIP_FILES ON)

# A 64-bit installer: the default 32-bit one cannot run where 32-bit programs can't.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_PACKAGE_NAME "Vexa SDR Control")
set(CPACK_NSIS_DISPLAY_NAME "Vexa SDR Control")
set(CPACK_NSIS_INSTALLED_ICON_NAME vexa-sdr-control.exe)
set(CPACK_NSIS_MUI_ICON "${PROJECT_SOURCE_DIR}/packaging/icons/vexa-sdr-control.ico")
set(CPACK_NSIS_MUI_UNIICON "${PROJECT_SOURCE_DIR}/packaging/icons/vexa-sdr-control.ico")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# The USB report is a console program: its entry opens a console window that
# stays until Enter is pressed. (Backslashes are doubled for each of CPack's two passes.)
set(CPACK_NSIS_CREATE_ICONS_EXTRA
  "CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\Vexa SDR USB report.lnk' '$INSTDIR\\\\vexa-sdr-usb-report.exe' '--pause'")
set(CPACK_NSIS_DELETE_ICONS_EXTRA
  "Delete '$SMPROGRAMS\\\\$MUI_TEMP\\\\Vexa SDR USB report.lnk'")

include(CPack)
