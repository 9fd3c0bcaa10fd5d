# cmake -DHELP=Tunevox.html -DTIPS=Tunevox.txt -P check_data_files.cmake
# The help document must carry, exactly once each, the anchors that the
# program's windows open (their spelling is the program's, typos included),
# no anchor twice, and no link within it that leads nowhere;
# the tips file must be one tip per line: LF line ends, no blank line, and
# enough tips that "Next Tip" has plenty to choose from.
cmake_minimum_required(VERSION 3.25)

set(topics
  Welcome Volume_controls Set_Signal_Strenght The_Alarm_function
  Sleep_function Tuning_radio_frequency The_organizer Edit_presets
  The_scanner Scripting Tuning_the_configuration)

file(READ "${HELP}" html)
set(failures "")
foreach(topic IN LISTS topics)
  string(REGEX MATCHALL "<a name=\"${topic}\"" found "${html}")
  list(LENGTH found count)
  if(NOT count EQUAL 1)
    string(APPEND failures "help: anchor \"${topic}\" found ${count} times\n")
  endif()
endforeach()
# Every anchor once, and every link within the guide leads to one: the
# help window's contents and its links go by them.
string(REGEX MATCHALL "<a name=\"[^\"]+\"" names "${html}")
set(seen "")
foreach(name IN LISTS names)
  if(name IN_LIST seen)
    string(APPEND failures "help: ${name}> found more than once\n")
  endif()
  list(APPEND seen "${name}")
endforeach()
string(REGEX MATCHALL "href=\"#[^\"]*\"" links "${html}")
list(REMOVE_DUPLICATES links)
foreach(link IN LISTS links)
  string(REGEX REPLACE "^href=\"#(.*)\"$" "\\1" target "${link}")
  if(NOT "<a name=\"${target}\"" IN_LIST seen)
    string(APPEND failures "help: the link to \"#${target}\" leads to no anchor\n")
  endif()
endforeach()
foreach(tag html head body)
  if(NOT html MATCHES "<${tag}[ >]" OR NOT html MATCHES "</${tag}>")
    string(APPEND failures "help: no <${tag}> element\n")
  endif()
endforeach()

file(READ "${TIPS}" tips)
file(READ "${TIPS}" tips_hex HEX) # the text read drops carriage returns
if(tips_hex MATCHES "^(..)*0d")
  string(APPEND failures "tips: carriage return found (LF line ends only)\n")
endif()
if(tips MATCHES "^\n" OR tips MATCHES "\n\n" OR tips MATCHES "^[ \t]*\n" OR tips MATCHES "\n[ \t]*\n")
  string(APPEND failures "tips: blank line found\n")
endif()
if(NOT tips MATCHES "\n$")
  string(APPEND failures "tips: the last line has no line end\n")
endif()
string(REGEX MATCHALL "\n" line_ends "${tips}")
list(LENGTH line_ends lines)
if(lines LESS 25)
  string(APPEND failures "tips: ${lines} tips, at least 25 expected\n")
endif()

if(failures)
  message(FATAL_ERROR "${failures}")
endif()
message(STATUS "help: all topics present; tips: ${lines} lines")
