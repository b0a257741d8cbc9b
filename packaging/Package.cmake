# `cpack -G DEB` in the build folder makes one Debian package per install
# component: kestrovane-cli_<version>_<arch>.deb (the command-line tool, for
# machines without a display) and kestrovane_<version>_<arch>.deb (the window,
# which depends on the tool). dpkg-shlibdeps (dpkg-dev) reads the libraries
# the programs link; Qt's platform plugins are loaded at run time, so no
# linker sees them and they are named here.
set(CPACK_PACKAGE_NAME kestrovane)
set(CPACK_PACKAGE_VENDOR "The Kestrovane project")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL cli)
if(KESTROVANE_WIDGETS)
  list(APPEND CPACK_COMPONENTS_ALL app)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE kestrovane)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KESTROVANE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(KESTROVANE_HOMEPAGE_URL)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KESTROVANE_HOMEPAGE_URL}")
endif()

# Debian's description: a synopsis, then lines of at most 80 characters.
set(about_catalogs
  "Kestrovane records every file of a drive, a USB stick, a CD-ROM or any\n"
  "directory tree into a catalog: its name, size, date, folder and a comment\n"
  "of your own. Catalogs are filed under categories and can later be\n"
  "browsed, commented, searched all at once, compared for duplicate files,\n"
  "rescanned while keeping their comments, and listed in a report, whether\n"
  "or not the media are still plugged in.\n\n")
string(CONCAT CPACK_DEBIAN_CLI_DESCRIPTION
  "disk cataloguer for the command line\n" ${about_catalogs}
  "This package holds kestrovane-cli, which indexes, searches and reports\n"
  "on a catalog library without a display, for servers and scripts.")
string(CONCAT CPACK_DEBIAN_APP_DESCRIPTION
  "disk cataloguer: catalogue drives and disks and search them offline\n" ${about_catalogs}
  "This package holds the desktop program; kestrovane-cli works on the same\n"
  "library from the command line.")

set(CPACK_DEBIAN_CLI_PACKAGE_NAME kestrovane-cli)
set(CPACK_DEBIAN_CLI_PACKAGE_SUGGESTS "bash-completion")
set(CPACK_DEBIAN_APP_PACKAGE_NAME kestrovane)
# The platform plugins open the window; the SVG plugins draw its icon.
set(CPACK_DEBIAN_APP_PACKAGE_DEPENDS "kestrovane-cli (= ${PROJECT_VERSION}), qt6-qpa-plugins, libqt6svg6")

# A package must name a maintainer who can be written to; cpack (not the
# build) stops without one.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_SOURCE_DIR}/PackageCheck.cmake)

include(CPack)
