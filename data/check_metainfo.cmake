# Checks the AppStream metadata: cmake -DAPPSTREAMCLI=... -DMETAINFO=...
#   -DDESKTOP=... -DSCREENSHOTS=<folder> -P check_metainfo.cmake
#
# The validator must find nothing to remark, down to its pedantic notes,
# save one: the id's capital letter, which the desktop entry's file name and
# the id share on purpose. Every screenshot the metadata names must be in
# the repository's screenshots folder, and the launchable must be the
# desktop entry that is installed.

execute_process(COMMAND ${APPSTREAMCLI} validate --no-net --pedantic --no-color ${METAINFO}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
set(report "${out}${err}")
string(REPLACE "\n" ";" lines "${report}")
set(problems "")
foreach(line IN LISTS lines)
  if(line MATCHES "^[EWIP]: " AND NOT line MATCHES "^P: [^ ]+ cid-contains-uppercase-letter ")
    string(APPEND problems "  ${line}\n")
  endif()
endforeach()
if(NOT rc EQUAL 0 OR problems)
  message(FATAL_ERROR "appstreamcli validate (exit ${rc}):\n${problems}\n${report}")
endif()

file(READ ${METAINFO} xml)

get_filename_component(desktop_name ${DESKTOP} NAME)
string(REGEX MATCH "<id>([^<]+)</id>" _ "${xml}")
set(id "${CMAKE_MATCH_1}")
if(NOT desktop_name STREQUAL "${id}.desktop")
  message(FATAL_ERROR "the desktop entry is ${desktop_name}, the metadata's id ${id}")
endif()
if(NOT xml MATCHES "<launchable type=\"desktop-id\">${id}\\.desktop</launchable>")
  message(FATAL_ERROR "the metadata does not launch ${id}.desktop")
endif()
get_filename_component(metainfo_name ${METAINFO} NAME)
if(NOT metainfo_name STREQUAL "${id}.metainfo.xml")
  message(FATAL_ERROR "the metadata's file is ${metainfo_name}, its id ${id}")
endif()

string(REGEX MATCHALL "<image[^>]*>[^<]+</image>" images "${xml}")
if(NOT images)
  message(FATAL_ERROR "the metadata shows no screenshot")
endif()
foreach(image IN LISTS images)
  string(REGEX REPLACE "<image[^>]*>([^<]+)</image>" "\\1" url "${image}")
  if(NOT url MATCHES "^https://[^/]+/.*/data/screenshots/([^/]+\\.png)$")
    message(FATAL_ERROR "screenshot ${url} is not an https URL of data/screenshots/")
  endif()
  set(picture "${SCREENSHOTS}/${CMAKE_MATCH_1}")
  if(NOT EXISTS "${picture}")
    message(FATAL_ERROR "screenshot ${url}: ${picture} is missing (scripts/update-screenshots makes it)")
  endif()
  file(READ "${picture}" signature LIMIT 8 HEX)
  if(NOT signature STREQUAL "89504e470d0a1a0a")
    message(FATAL_ERROR "${picture} is not a PNG picture")
  endif()
endforeach()
