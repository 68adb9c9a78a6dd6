# The Debian package: `cpack -G DEB` in the build folder.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

set(VEXA_PACKAGE_MAINTAINER "Vexa SDR Control maintainers <sdr-control@vexa.org>" CACHE STRING
  "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vexa-sdr-control)
set(CPACK_PACKAGE_CONTACT "${VEXA_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION [[
Vexa SDR Control tunes the local oscillator of the Vexa USB
software-defined-radio receiver to a band preset, a start-up frequency or
any typed frequency, and calibrates its crystal. Its rig-control server,
vexa-sdr-rigctld, lets station software tune the receiver over the network
protocol of hamlib ("Hamlib NET rigctl"). A udev rule gives the logged-in
user access to the receiver.]])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link are found by dpkg-shlibdeps and added to this; the windows
# are laid out for Liberation Sans.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation2)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${CMAKE_CURRENT_LIST_DIR}/debian/postinst")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
