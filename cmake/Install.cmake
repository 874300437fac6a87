# Installing the programs, and the Debian package built from that installation with
# `cpack -G DEB` in the build folder. The package's dependencies are worked out from the
# binaries (dpkg-shlibdeps), so they follow whatever Qt the build used.
include(GNUInstallDirs)
install(TARGETS zyrk RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET zyrk-sim)
  install(TARGETS zyrk-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS zyrk-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES LICENSE README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME zyrk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The ZYRK tool developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop programming tool for the ZYRK engine control unit")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The ZYRK tool developers <zyrk@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
