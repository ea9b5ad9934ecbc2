# The Debian package, made by CPack from the install rules:
#   cmake -S . -B build-deb -G Ninja -DCMAKE_INSTALL_PREFIX=/usr
#   cmake --build build-deb && cpack --config build-deb/CPackConfig.cmake
# (scripts/build-deb.sh does this). The package installs under the prefix
# the build was configured with, because the menu entries and man pages
# name absolute paths under it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kestrane")
set(CPACK_PACKAGE_CONTACT "Kestrane developers <developers@kestrane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "destroy files for good by overwriting them")
set(CPACK_PACKAGE_DESCRIPTION [=[
Kestrane overwrites files one or more times with random bytes and fixed bit
patterns, then deletes them, so that their former contents are gone from
the disk.

The windowed program purge selects one file or the files of a folder that
match a pattern, lists them with a purge-time estimate, purges them with one
of three overwrite schemes, and writes a report of every run. Saved
operation files also run without a window, from the command line.

The console program veldran wipes one file, such as a swap file, by
overwriting it 4 to 18 times and deleting it.]=])
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://kestrane.example/")
# Libraries come from the binaries; what they cannot show is named here:
# the window needs Qt's platform plugins, and the links to the web site and
# the manual's menu entry open with xdg-open.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, xdg-utils")

include(CPack)
