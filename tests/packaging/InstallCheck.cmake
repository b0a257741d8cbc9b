# Installs the build into a scratch DESTDIR, as a package build does, and
# checks that a desktop finds everything there: both programs, the menu entry,
# its icon and AppStream data under the names that tie them together, and the
# man pages.
#   cmake -DBUILD_DIR= -DDESTDIR= -DPREFIX= -DBINDIR= -DDATADIR= -DMANDIR= -DAPP_ID= -DWIDGETS= -P InstallCheck.cmake
cmake_minimum_required(VERSION 3.22)

set(failures "")
macro(fail text)
  string(APPEND failures "  ${text}\n")
endmacro()

file(REMOVE_RECURSE "${DESTDIR}")
set(ENV{DESTDIR} "${DESTDIR}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status})")
endif()
set(root "${DESTDIR}${PREFIX}")

set(expected
  ${BINDIR}/kestrovane-cli
  ${MANDIR}/man1/kestrovane-cli.1
  ${DATADIR}/bash-completion/completions/kestrovane-cli)
set(desktop ${DATADIR}/applications/${APP_ID}.desktop)
set(icon ${DATADIR}/icons/hicolor/scalable/apps/${APP_ID}.svg)
set(metainfo ${DATADIR}/metainfo/${APP_ID}.metainfo.xml)
if(WIDGETS)
  list(APPEND expected ${BINDIR}/kestrovane ${MANDIR}/man1/kestrovane.1 ${desktop} ${icon} ${metainfo})
endif()
foreach(path IN LISTS expected)
  if(NOT EXISTS "${root}/${path}")
    fail("missing ${path}")
  endif()
endforeach()

# A placeholder left in a generated file would reach users as it is.
foreach(path ${MANDIR}/man1/kestrovane-cli.1 ${metainfo})
  if(EXISTS "${root}/${path}")
    file(READ "${root}/${path}" text)
    if(text MATCHES "@[A-Z_]+@")
      fail("${path} still holds ${CMAKE_MATCH_0}")
    endif()
  endif()
endforeach()

# The man page lists every command the tool has.
execute_process(COMMAND "${root}/${BINDIR}/kestrovane-cli" --help RESULT_VARIABLE status OUTPUT_VARIABLE help)
if(NOT status EQUAL 0)
  fail("the installed kestrovane-cli --help failed (${status})")
elseif(EXISTS "${root}/${MANDIR}/man1/kestrovane-cli.1")
  file(READ "${root}/${MANDIR}/man1/kestrovane-cli.1" page)
  string(REGEX MATCHALL "\n  [a-z][a-z-]*" commands "${help}")
  foreach(command IN LISTS commands)
    string(STRIP "${command}" command)
    if(NOT page MATCHES "\n\\.SS ${command}\n")
      fail("the man page has no section for ${command}")
    endif()
  endforeach()
endif()

# Desktops find the program, its icon and its description through these names.
if(WIDGETS AND EXISTS "${root}/${desktop}" AND EXISTS "${root}/${metainfo}")
  file(STRINGS "${root}/${desktop}" exec REGEX "^Exec=")
  string(REGEX REPLACE "^Exec=([^ ]+).*" "\\1" exec "${exec}")
  if(NOT EXISTS "${root}/${BINDIR}/${exec}")
    fail("the desktop entry starts '${exec}', which is not installed")
  endif()
  file(STRINGS "${root}/${desktop}" icon_name REGEX "^Icon=")
  if(NOT icon_name STREQUAL "Icon=${APP_ID}")
    fail("the desktop entry names the icon '${icon_name}', installed as ${APP_ID}")
  endif()
  file(READ "${root}/${metainfo}" xml)
  if(NOT xml MATCHES "<id>${APP_ID}</id>")
    fail("the AppStream id is not ${APP_ID}")
  endif()
  if(NOT xml MATCHES "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>")
    fail("the AppStream data does not launch ${APP_ID}.desktop")
  endif()
endif()

if(failures)
  message(FATAL_ERROR "The installed tree is incomplete:\n${failures}")
endif()
message(STATUS "installed tree complete under ${root}")
