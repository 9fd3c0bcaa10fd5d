# cmake -DHELP=Tunevox.html -DTIPS=Tunevox.txt -P check_data_files.cmake
# The help document must carry, exactly once each, the anchors that the
# program's windows open (their spelling is the program's, typos included);
# the tips file must be one tip per line: LF line ends, no blank line, and
# enough tips that "Next Tip" has plenty to choose from.

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
