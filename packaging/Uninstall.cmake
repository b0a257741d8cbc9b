# Removes every file an install from this build folder put in place, as
# `cmake --install` listed it in install_manifest.txt (under $DESTDIR when it
# is set, as for the install), and the packages' own documentation folders
# once they are empty. Nothing else is touched.
#   cmake -DMANIFEST=<build>/install_manifest.txt -P Uninstall.cmake
cmake_minimum_required(VERSION 3.22)

if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "Nothing to uninstall: ${MANIFEST} does not exist, so nothing was installed "
                      "from this build folder (cmake --install writes it).")
endif()
file(STRINGS "${MANIFEST}" installed)
set(failed "")
foreach(path IN LISTS installed)
  set(path "$ENV{DESTDIR}${path}")
  if(NOT EXISTS "${path}" AND NOT IS_SYMLINK "${path}")
    message(STATUS "Already gone: ${path}")
    continue()
  endif()
  file(REMOVE "${path}")
  if(EXISTS "${path}" OR IS_SYMLINK "${path}")
    list(APPEND failed "${path}")
    continue()
  endif()
  message(STATUS "Removed: ${path}")
  get_filename_component(folder "${path}" DIRECTORY)
  if(folder MATCHES "/doc/kestrovane(-cli)?$")
    file(GLOB left LIST_DIRECTORIES true "${folder}/*" "${folder}/.*")
    if(left STREQUAL "")
      file(REMOVE_RECURSE "${folder}")
    endif()
  endif()
endforeach()
if(failed)
  list(JOIN failed "\n  " failed)
  message(FATAL_ERROR "Could not remove (run it as the user who installed):\n  ${failed}")
endif()
