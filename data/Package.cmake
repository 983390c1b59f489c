# The Debian package (`cpack -G DEB`, driven by tools/make-deb.sh): everything
# `cmake --install` lays out, under /usr. Its dependencies are what dpkg-shlibdeps finds in
# the executable, plus the toolkit's X11 platform plugin (loaded at run time, so no library
# link shows it) and the font the swatch captions are drawn in.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME hexatint91)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Hexatint91 developers <maintainers@users.noreply.c-seed-eae3eaa4.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "web-safe colour picker with a hexagon of 91 swatches")
# (Lines under 80 characters: the control file shows them as they are.)
set(CPACK_PACKAGE_DESCRIPTION
    "Hexatint91 is a small tool window with the 91 web-safe colours that have at
least one channel at full strength, laid out as a hexagon over two gradient
panels. Hovering a swatch fades it; clicking it copies its #rrggbb code to the
clipboard and washes the backdrop in that colour. The window stays on top of
other windows unless that is turned off in its context menu.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://${HEXATINT_INFO_HOST}/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-konatu")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
include(CPack)
