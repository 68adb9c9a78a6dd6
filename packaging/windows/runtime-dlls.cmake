# The folders that hold the DLLs a Windows program of this project loads: Qt's,
# libusb's and the compiler's runtime. Windows's own DLLs are on every machine.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
  OUTPUT_VARIABLE libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
  OUTPUT_VARIABLE winpthread OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(libstdcxx_folder "${libstdcxx}" DIRECTORY)
get_filename_component(winpthread_folder "${winpthread}" DIRECTORY)
set(VEXA_WINDOWS_DLL_FOLDERS
  "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}"
  "${LIBUSB_PREFIX}/bin"
  "${libstdcxx_folder}"
  "${winpthread_folder}")
