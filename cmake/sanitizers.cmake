# A sanitizer tree (-DVEXA_SANITIZE=ON): every object with AddressSanitizer and
# UndefinedBehaviorSanitizer, the first report ending the process, so that a
# test with a memory error, a leak or undefined behaviour fails.
option(VEXA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(VEXA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# Test folders whose tests are quick and need nothing built beyond their own
# targets, with their ctest label. `ctest -L "unit|integration"` runs them, and
# the target unit_and_integration_tests builds just what they need; the
# packaging, end-to-end and soak tests stay out.
set(VEXA_TEST_FOLDER_LABELS
  about unit
  app unit
  oscillator unit
  usb integration
  emulated_receiver integration)

# Runs once the whole tree is read, when every test folder is known.
function(vexa_label_test_folders)
  if(NOT VEXA_BUILD_TESTS)
    return()
  endif()
  get_property(known DIRECTORY ${PROJECT_SOURCE_DIR}/tests PROPERTY SUBDIRECTORIES)
  add_custom_target(unit_and_integration_tests)
  set(labels ${VEXA_TEST_FOLDER_LABELS})
  while(labels)
    list(POP_FRONT labels folder label)
    set(dir ${PROJECT_SOURCE_DIR}/tests/${folder})
    if(NOT dir IN_LIST known)
      continue()
    endif()
    set_property(DIRECTORY ${dir} APPEND PROPERTY LABELS ${label})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      if(type STREQUAL "EXECUTABLE")
        add_dependencies(unit_and_integration_tests ${target})
      endif()
    endforeach()
  endwhile()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL vexa_label_test_folders)
