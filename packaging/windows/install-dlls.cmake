# Run at install time: copies into DESTINATION every DLL that the files in
# BINARIES load, and the DLLs those load in turn, taking each from the first of
# DLL_FOLDERS that holds it. A DLL that none holds is one of Windows's own,
# except the Qt, libusb and compiler runtime DLLs, which must be found.
# (file(GET_RUNTIME_DEPENDENCIES) looks for lower-cased names, which a
# case-sensitive file system of the build machine does not have.) With
# `cmake --install --strip`, and so in the packages, the copies are stripped
# where file(INSTALL) put them: under $DESTDIR when a packager stages one.
set(pending ${BINARIES})
set(seen)
while(pending)
  list(POP_FRONT pending binary)
  execute_process(COMMAND "${OBJDUMP}" -p "${binary}"
    OUTPUT_VARIABLE headers COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
  list(TRANSFORM imports REPLACE "^DLL Name: " "")
  foreach(dll IN LISTS imports)
    list(FIND seen "${dll}" index)
    if(index GREATER -1)
      continue()
    endif()
    list(APPEND seen "${dll}")
    set(found)
    foreach(folder IN LISTS DLL_FOLDERS)
      if(EXISTS "${folder}/${dll}")
        set(found "${folder}/${dll}")
        break()
      endif()
    endforeach()
    if(found)
      file(INSTALL "${found}" DESTINATION "${DESTINATION}")
      if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND "${STRIP}" --strip-unneeded "$ENV{DESTDIR}${DESTINATION}/${dll}"
          COMMAND_ERROR_IS_FATAL ANY)
      endif()
      list(APPEND pending "${found}")
    elseif(dll MATCHES "^(Qt6|lib)")
      message(FATAL_ERROR "${dll}, which ${binary} loads, is in none of: ${DLL_FOLDERS}")
    endif()
  endforeach()
endwhile()
