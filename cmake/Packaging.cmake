# `cpack -G DEB` in the build folder makes orbistat_VERSION_ARCH.deb from the
# install rules: both programs, their launcher entries, the icon, the
# AppStream description and the man pages. The library dependencies are
# computed from the binaries (dpkg-shlibdeps), so they follow the Qt the
# package was built against. The fonts are built into the programs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orbistat)
set(CPACK_PACKAGE_VENDOR Orbistat)
set(CPACK_PACKAGE_CONTACT "Orbistat developers <orbistat@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "System monitor in the tray")
set(CPACK_PACKAGE_DESCRIPTION "Samples processor, memory, network, disk, GPU, battery and sensor readings every few
seconds, shows them as an image in the tray with a popover of cards, posts
notifications on sustained high load and offers desktop widgets.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Native Wayland sessions need Qt's Wayland plugin; X11 and XWayland do not.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
