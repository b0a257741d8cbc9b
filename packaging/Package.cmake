# `cpack -G DEB` in the build folder makes kestrovane_<version>_<arch>.deb
# from the install rules. dpkg-shlibdeps (dpkg-dev) reads the libraries the
# programs link; Qt's platform plugins are loaded at run time, so no linker
# sees them and they are named here.
set(CPACK_PACKAGE_NAME kestrovane)
set(CPACK_PACKAGE_VENDOR "The Kestrovane project")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "disk cataloguer: catalogue drives and disks and search them offline")
set(CPACK_PACKAGE_DESCRIPTION
  "Kestrovane records every file of a drive, a USB stick, a CD-ROM or any directory tree into a catalog: \
its name, size, date, folder and a comment of your own. Catalogs are filed under categories and can later \
be browsed, commented, searched all at once, compared for duplicate files, rescanned while keeping their \
comments, and listed in a report, whether or not the media are still plugged in. The command-line tool \
kestrovane-cli works on the same library.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
if(KESTROVANE_CONTACT_EMAIL)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Kestrovane project <${KESTROVANE_CONTACT_EMAIL}>")
else()
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Kestrovane project")
endif()
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(KESTROVANE_WIDGETS)
  # The platform plugins open the window; the SVG plugins draw its icon.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
endif()
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
if(KESTROVANE_HOMEPAGE_URL)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KESTROVANE_HOMEPAGE_URL}")
endif()

include(CPack)
