# A packager's staged install of the program's folder, `DESTDIR=... cmake
# --install --strip`: every file lands, stripped, under DESTDIR, and nothing is
# written to (or stripped in) the prefix itself.
#   cmake -D TREE=BUILD_DIR -D SCRATCH=FOLDER -P staged_install_test.cmake
set(destdir ${SCRATCH}/destdir)
set(prefix ${SCRATCH}/prefix)
file(REMOVE_RECURSE ${SCRATCH})

execute_process(
  COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${destdir}
          ${CMAKE_COMMAND} --install ${TREE} --prefix ${prefix} --strip
  RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(failed)
  message(FATAL_ERROR "the staged install failed:\n${log}")
endif()
# The program, DLLs of its own install rules and those the DLL walk copies.
foreach(file vexa-sdr-control.exe platforms/qwindows.dll extio-32bit/ExtIO_VexaSDR.dll
             Qt6Core.dll libusb-1.0.dll libstdc++-6.dll)
  if(NOT EXISTS ${destdir}${prefix}/${file})
    message(FATAL_ERROR "${file} is missing under DESTDIR:\n${log}")
  endif()
endforeach()
if(EXISTS ${prefix})
  message(FATAL_ERROR "the staged install wrote into the prefix itself:\n${log}")
endif()
