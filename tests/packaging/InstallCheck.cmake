# Installs the build into a scratch DESTDIR, as a package build does, and
# checks that a desktop finds everything there: both programs, the menu entry,
# its icon and AppStream data under the names that tie them together, the
# man pages and each package's copyright and changelog. Then uninstalls it
# again, which must leave no file behind.
#   cmake -DBUILD_DIR= -DDESTDIR= -DPREFIX= -DBINDIR= -DDATADIR= -DMANDIR= -DAPP_ID= -DWIDGETS= -DVERSION=
#         -DRELEASE_DATE= -DUNINSTALL= -P InstallCheck.cmake
cmake_minimum_required(VERSION 3.22)

set(failures "")
macro(fail text)
  string(APPEND failures "  ${text}\n")
endmacro()

# The install lists what it installed in the build folder, where the
# uninstall target reads it: keep the list of a real install there.
set(manifest "${BUILD_DIR}/install_manifest.txt")
set(check_manifest "${DESTDIR}-manifest.txt")
if(EXISTS "${manifest}")
  file(RENAME "${manifest}" "${manifest}.kept")
endif()
file(REMOVE_RECURSE "${DESTDIR}")
set(ENV{DESTDIR} "${DESTDIR}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" RESULT_VARIABLE status OUTPUT_QUIET)
file(RENAME "${manifest}" "${check_manifest}")
if(EXISTS "${manifest}.kept")
  file(RENAME "${manifest}.kept" "${manifest}")
endif()
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status})")
endif()
set(root "${DESTDIR}${PREFIX}")

# Man pages and changelogs are compressed, as Debian wants them.
function(read_gzip path out)
  execute_process(COMMAND gzip -dc "${path}" OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    set(text "")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(cli_page ${MANDIR}/man1/kestrovane-cli.1.gz)
set(app_page ${MANDIR}/man1/kestrovane.1.gz)
set(expected
  ${BINDIR}/kestrovane-cli
  ${cli_page}
  ${DATADIR}/bash-completion/completions/kestrovane-cli
  ${DATADIR}/doc/kestrovane-cli/copyright
  ${DATADIR}/doc/kestrovane-cli/changelog.gz)
set(desktop ${DATADIR}/applications/${APP_ID}.desktop)
set(icon ${DATADIR}/icons/hicolor/scalable/apps/${APP_ID}.svg)
set(metainfo ${DATADIR}/metainfo/${APP_ID}.metainfo.xml)
if(WIDGETS)
  list(APPEND expected ${BINDIR}/kestrovane ${app_page} ${desktop} ${icon} ${metainfo}
    ${DATADIR}/doc/kestrovane/copyright ${DATADIR}/doc/kestrovane/changelog.gz)
endif()
foreach(path IN LISTS expected)
  if(NOT EXISTS "${root}/${path}")
    fail("missing ${path}")
  endif()
endforeach()

# A placeholder left in a generated file would reach users as it is. The man
# pages are headed by the version and its release date, never the build's.
foreach(path ${cli_page} ${app_page} ${metainfo} ${DATADIR}/doc/kestrovane-cli/copyright
    ${DATADIR}/doc/kestrovane-cli/changelog.gz)
  if(NOT EXISTS "${root}/${path}")
    continue()
  endif()
  if(path MATCHES "\\.gz$")
    read_gzip("${root}/${path}" text)
  else()
    file(READ "${root}/${path}" text)
  endif()
  if(text MATCHES "@[A-Z_]+@")
    fail("${path} still holds ${CMAKE_MATCH_0}")
  endif()
  if(path MATCHES "/man1/" AND NOT text MATCHES "(^|\n)\\.TH [^ ]+ 1 \"${RELEASE_DATE}\" \"Kestrovane ${VERSION}\"")
    fail("${path} is not headed by version ${VERSION} of ${RELEASE_DATE}")
  endif()
endforeach()

# The man page lists every command the tool has.
execute_process(COMMAND "${root}/${BINDIR}/kestrovane-cli" --help RESULT_VARIABLE status OUTPUT_VARIABLE help)
if(NOT status EQUAL 0)
  fail("the installed kestrovane-cli --help failed (${status})")
elseif(EXISTS "${root}/${cli_page}")
  read_gzip("${root}/${cli_page}" page)
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

# The uninstall target removes every installed file, and only those.
file(WRITE "${root}/${DATADIR}/doc/not-ours" "")
execute_process(COMMAND "${CMAKE_COMMAND}" -DMANIFEST=${check_manifest} -P "${UNINSTALL}"
  RESULT_VARIABLE status OUTPUT_QUIET)
file(GLOB_RECURSE left RELATIVE "${root}" "${root}/*")
if(NOT status EQUAL 0 OR NOT left STREQUAL "${DATADIR}/doc/not-ours")
  fail("the uninstall (status ${status}) left ${left}")
endif()

if(failures)
  message(FATAL_ERROR "The installed tree is incomplete:\n${failures}")
endif()
message(STATUS "installed tree complete under ${root}")
