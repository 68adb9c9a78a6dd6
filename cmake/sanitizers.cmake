# A sanitizer tree (-DVEXA_SANITIZE=ON): every object with AddressSanitizer and
# UndefinedBehaviorSanitizer, the first report ending the process, so that a
# test with a memory error, a leak or undefined behaviour fails. It runs the
# tests labelled "unit" and "integration" (tests/CMakeLists.txt).
option(VEXA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(VEXA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
