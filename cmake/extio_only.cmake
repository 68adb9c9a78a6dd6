# A tree for the ExtIO plugin's DLL, what it links and the project's host that
# tests it, without Qt: one for each Windows architecture, each against a
# static libusb-1.0 so that the DLL needs nothing beside it but Windows's own
# DLLs. scripts/windows-build makes both; by hand:
#   PKG_CONFIG_LIBDIR=STATIC_LIBUSB/lib/pkgconfig cmake -S . -B build-windows-extio-32 -G Ninja \
#     -DVEXA_EXTIO_ONLY=ON -DCMAKE_TOOLCHAIN_FILE=packaging/windows/mingw-w64-i686.cmake \
#     -DCMAKE_FIND_ROOT_PATH=STATIC_LIBUSB
# where scripts/windows-toolchain --static-libusb i686-w64-mingw32 prints STATIC_LIBUSB.
if(NOT WIN32)
  message(FATAL_ERROR "VEXA_EXTIO_ONLY builds the Windows DLL: configure with a toolchain file "
                      "of packaging/windows/")
endif()
enable_language(RC)

find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBUSB REQUIRED IMPORTED_TARGET libusb-1.0)

add_subdirectory(usb)
add_subdirectory(oscillator)
add_subdirectory(extio)
add_subdirectory(tests/windows/extio_host)
