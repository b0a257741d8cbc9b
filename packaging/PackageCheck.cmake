# Read by cpack before it makes each package. A Debian package must name a
# maintainer who can be written to; the build itself never needs one.
if(CPACK_GENERATOR STREQUAL "DEB" AND NOT CPACK_DEBIAN_PACKAGE_MAINTAINER MATCHES "<[^<>@ ]+@[^<>@ ]+>$")
  message(FATAL_ERROR "A Debian package needs the maintainer's mail address: configure with "
                      "-DKESTROVANE_CONTACT_EMAIL=ADDRESS, then run cpack again.")
endif()
