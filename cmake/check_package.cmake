# Builds the Debian package and checks it as a user's machine would see it:
#   cmake -DCPACK=... -DCONFIG=<build>/CPackConfig.cmake -DOUT=<folder>
#         -DVERSION=... -DREVISION=... -DMETAINFO=... -DLINTIAN=... -P check_package.cmake
#
# - every file a user needs is in it, and nothing outside /usr;
# - its fields: name, version, section, and the libraries it depends on;
# - unpacked into a scratch root, the programs run from there with a bare
#   environment, and carry no search path of the build tree;
# - lintian reports no error (its warnings are shown).

function(run)
  cmake_parse_arguments(R "" "OUTPUT;WHAT" "COMMAND" ${ARGN})
  execute_process(COMMAND ${R_COMMAND} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${R_WHAT} failed (exit ${rc}):\n${out}${err}")
  endif()
  set(${R_OUTPUT} "${out}${err}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
run(WHAT "cpack" OUTPUT log COMMAND ${CPACK} --config ${CONFIG} -G DEB -B ${OUT})
file(GLOB debs ${OUT}/*.deb)
list(LENGTH debs count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one package in ${OUT}, found ${count}:\n${log}")
endif()
set(deb ${debs})
message(STATUS "package: ${deb}")

# Fields.
run(WHAT "dpkg-deb -f" OUTPUT fields COMMAND dpkg-deb -f ${deb})
foreach(expected IN ITEMS "Package: tunevox\n" "Version: ${VERSION}-${REVISION}\n" "Section: sound\n"
                          "Maintainer: " "Description: ")
  string(FIND "${fields}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the package's fields lack \"${expected}\":\n${fields}")
  endif()
endforeach()
# dpkg-shlibdeps found the libraries the programs link.
if(NOT fields MATCHES "\nDepends: [^\n]*libqt6widgets6" OR NOT fields MATCHES "\nDepends: [^\n]*libasound2")
  message(FATAL_ERROR "the package does not depend on Qt Widgets and ALSA:\n${fields}")
endif()
# The AppStream metadata's newest release is this one.
file(READ ${METAINFO} xml)
string(REGEX MATCH "<release version=\"([^\"]+)\"" _ "${xml}")
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
  message(FATAL_ERROR "the metadata's newest release is ${CMAKE_MATCH_1}, the project's version ${VERSION}")
endif()

# Contents.
run(WHAT "dpkg-deb -c" OUTPUT listing COMMAND dpkg-deb -c ${deb})
set(required
    usr/bin/tunevox
    usr/bin/tunevox-cli
    usr/share/man/man1/tunevox.1.gz
    usr/share/man/man1/tunevox-cli.1.gz
    usr/share/applications/io.github.tunevox.Tunevox.desktop
    usr/share/metainfo/io.github.tunevox.Tunevox.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/tunevox.svg
    usr/share/tunevox/Tunevox.html
    usr/share/tunevox/Tunevox.txt
    usr/share/doc/tunevox/copyright
    usr/share/doc/tunevox/changelog.Debian.gz)
foreach(path IN LISTS required)
  string(FIND "${listing}" " ./${path}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the package lacks /${path}:\n${listing}")
  endif()
endforeach()
string(REPLACE "\n" ";" entries "${listing}")
foreach(entry IN LISTS entries)
  if(entry AND NOT entry MATCHES " \\./(usr/.*)?$")
    message(FATAL_ERROR "the package puts a file outside /usr: ${entry}")
  endif()
  if(entry MATCHES " \\./usr/local/")
    message(FATAL_ERROR "the package puts a file in /usr/local: ${entry}")
  endif()
endforeach()

# Unpacked, the programs run from there and need nothing of the build tree.
set(root ${OUT}/root)
set(home ${OUT}/home)
file(MAKE_DIRECTORY ${root} ${home})
run(WHAT "dpkg -x" COMMAND dpkg -x ${deb} ${root})
foreach(program tunevox tunevox-cli)
  run(WHAT "readelf -d ${program}" OUTPUT dynamic COMMAND readelf -d ${root}/usr/bin/${program})
  if(dynamic MATCHES "\\((RPATH|RUNPATH)\\)")
    message(FATAL_ERROR "/usr/bin/${program} carries a library search path:\n${dynamic}")
  endif()
endforeach()
set(bare env -i PATH=/usr/bin:/bin HOME=${home} LC_ALL=C.UTF-8)
execute_process(COMMAND ${bare} ${root}/usr/bin/tunevox --version WORKING_DIRECTORY ${home}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "tunevox ${VERSION}\n")
  message(FATAL_ERROR "tunevox --version from the package: exit ${rc}:\n${out}${err}")
endif()
execute_process(COMMAND ${bare} ${root}/usr/bin/tunevox-cli --help WORKING_DIRECTORY ${home}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT err MATCHES "^usage: tunevox-cli ")
  message(FATAL_ERROR "tunevox-cli --help from the package: exit ${rc}:\n${out}${err}")
endif()
execute_process(COMMAND ${bare} ${root}/usr/bin/tunevox-cli --virtual --model aztech tune 98.7 status
                WORKING_DIRECTORY ${home}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "Stereo\n")
  message(FATAL_ERROR "tunevox-cli from the package, on an emulated card: exit ${rc}:\n${out}${err}")
endif()

# lintian: errors fail, warnings are shown.
execute_process(COMMAND ${LINTIAN} --tag-display-limit 0 ${deb}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
message(STATUS "lintian (exit ${rc}):\n${out}${err}")
if(out MATCHES "(^|\n)E: ")
  message(FATAL_ERROR "lintian reports errors")
endif()
