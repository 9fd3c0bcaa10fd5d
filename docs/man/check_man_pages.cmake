# Checks a built manual page:
#   cmake -DGROFF=... -DPAGE=x.1 -DPROGRAM=<built program> -P check_man_pages.cmake
#
# groff formats it with every warning on and must have nothing to say, and
# every option, command, model and environment variable that the program's
# --help lists must be documented in the page, in bold, as the page's own
# entries are.

execute_process(COMMAND ${GROFF} -ww -z -man -Tutf8 ${PAGE}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT "${out}${err}" STREQUAL "")
  message(FATAL_ERROR "groff -ww on ${PAGE} (exit ${rc}):\n${out}${err}")
endif()

# The help goes to standard output (tunevox) or standard error (tunevox-cli).
execute_process(COMMAND ${PROGRAM} --help
                OUTPUT_VARIABLE help_out ERROR_VARIABLE help_err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help exited ${rc}:\n${help_out}${help_err}")
endif()
set(help "${help_out}${help_err}")

# Options: every "--word" of the help.
string(REGEX MATCHALL "--[a-z][a-z0-9-]*" items "${help}")
# Commands: the words that start a line of the help's command list
# ("  tune FREQ ...", "  mute, unmute").
string(REPLACE ";" "," lines "${help}")
string(REPLACE "\n" ";" lines "${lines}")
foreach(line IN LISTS lines)
  if(line MATCHES "^  ([a-z][a-z-]*(, [a-z][a-z-]*)*)( |$)")
    string(REPLACE ", " ";" words "${CMAKE_MATCH_1}")
    list(APPEND items ${words})
  endif()
endforeach()
# Models: "models: 1 radiotrack, 2 ra300, ..." up to the next option.
if(help MATCHES "models:([^-]*)\n--")
  string(REGEX MATCHALL "[0-9] [a-z][a-z0-9]*" models "${CMAKE_MATCH_1}")
  foreach(model IN LISTS models)
    string(REGEX REPLACE "^[0-9] " "" model "${model}")
    list(APPEND items "${model}")
  endforeach()
endif()
# Environment variables: "NAME=VALUE".
string(REGEX MATCHALL "[A-Z][A-Z0-9_]+=" variables "${help}")
foreach(variable IN LISTS variables)
  string(REPLACE "=" "" variable "${variable}")
  list(APPEND items "${variable}")
endforeach()
list(REMOVE_DUPLICATES items)
list(LENGTH items count)
if(count LESS 5)
  message(FATAL_ERROR "found only ${count} options in the help of ${PROGRAM}:\n${help}")
endif()

file(READ ${PAGE} roff)
set(undocumented "")
foreach(item IN LISTS items)
  string(FIND "${roff}" "\\fB${item}\\fR" at_end)
  string(FIND "${roff}" "\\fB${item} " with_more)
  if(at_end EQUAL -1 AND with_more EQUAL -1)
    list(APPEND undocumented "${item}")
  endif()
endforeach()
if(undocumented)
  list(JOIN undocumented " " undocumented)
  message(FATAL_ERROR "${PAGE} does not document: ${undocumented}")
endif()
