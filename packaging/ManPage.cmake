# Writes the man page of kestrovane-cli from TEMPLATE into OUTPUT, with one
# subsection per command holding that command's own --help text, so the page
# can never fall behind the program.
# The page's heading names the version and its release date, never the day
# of the build.
#   cmake -DCLI=<kestrovane-cli> -DTEMPLATE=<.1.in> -DOUTPUT=<.1> -DVERSION=<v> -DDATE=<yyyy-mm-dd>
#         -P ManPage.cmake

cmake_minimum_required(VERSION 3.22)

function(run_help out)
  execute_process(COMMAND "${CLI}" ${ARGN} --help RESULT_VARIABLE status OUTPUT_VARIABLE text ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR text STREQUAL "")
    message(FATAL_ERROR "${CLI} ${ARGN} --help failed (${status}): ${err}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Text shown as it is, in roff: backslashes and minus signs escaped, and no
# line may start with a control character.
function(roff_literal out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The command names are the lines of the "Commands:" list indented by exactly
# two spaces.
function(command_names out overview)
  string(REGEX MATCH "\nCommands:\n(.*)" list "${overview}")
  string(REGEX REPLACE "\n\n.*" "" list "${CMAKE_MATCH_1}")
  string(REGEX MATCHALL "(^|\n)  [a-z][a-z-]*" lines "${list}")
  set(names "")
  foreach(line IN LISTS lines)
    string(STRIP "${line}" name)
    list(APPEND names "${name}")
  endforeach()
  if(names STREQUAL "")
    message(FATAL_ERROR "no commands found in the output of ${CLI} --help")
  endif()
  set(${out} "${names}" PARENT_SCOPE)
endfunction()

run_help(overview)
command_names(commands "${overview}")
set(sections "")
foreach(command IN LISTS commands)
  run_help(help ${command})
  # The exit statuses are the same for every command; the page lists them once.
  string(REGEX REPLACE "\nExit status:\n.*" "" help "${help}")
  string(STRIP "${help}" help)
  roff_literal(help "${help}")
  string(APPEND sections ".SS ${command}\n.nf\n${help}\n.fi\n")
endforeach()
string(STRIP "${sections}" sections)

file(READ "${TEMPLATE}" page)
string(REPLACE "@COMMANDS@" "${sections}" page "${page}")
string(REPLACE "@VERSION@" "${VERSION}" page "${page}")
string(REPLACE "@DATE@" "${DATE}" page "${page}")
file(WRITE "${OUTPUT}" "${page}")
