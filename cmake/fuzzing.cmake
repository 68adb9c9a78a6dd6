# A tree for the libFuzzer targets and the plain C++ code they exercise, with
# neither the toolkit nor the other tests. libFuzzer comes with clang only:
#   CXX=clang++ cmake -S . -B build-fuzz -DVEXA_FUZZ=ON
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "VEXA_FUZZ needs clang for libFuzzer: configure with CXX=clang++")
endif()

# Every object carries the coverage the fuzzer steers by and the checks that
# turn memory errors and undefined behaviour into findings.
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined
                    -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)

# usb/ also holds the libusb implementation, hence libusb.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBUSB REQUIRED IMPORTED_TARGET libusb-1.0)

add_subdirectory(usb)
add_subdirectory(oscillator)
add_subdirectory(inspection)
add_subdirectory(rigctld)
enable_testing()
add_subdirectory(tests/fuzz)
