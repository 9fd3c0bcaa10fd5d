# The Debian package, built by CPack from what `cmake --install` puts in
# place:  cmake --build build --target package   (or: cd build && cpack -G DEB)
# It lands in the build folder as tunevox_<version>-<revision>_<arch>.deb.
include(GNUInstallDirs)

set(TUNEVOX_PACKAGE_MAINTAINER "The Tunevox developers <tunevox@users.noreply.github.com>"
    CACHE STRING "The Maintainer field of the Debian package")
set(TUNEVOX_PACKAGE_REVISION 1 CACHE STRING "The Debian revision of the package")
set(_tunevox_metainfo ${PROJECT_SOURCE_DIR}/data/io.github.tunevox.Tunevox.metainfo.xml)
set(_tunevox_doc_out ${CMAKE_BINARY_DIR}/package-doc)

# /usr/share/doc/tunevox/copyright, in the machine-readable format.
file(WRITE ${_tunevox_doc_out}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Tunevox
Upstream-Contact: ${TUNEVOX_PACKAGE_MAINTAINER}
Source: https://github.com/tunevox/tunevox

Files: *
Copyright: 2026 The Tunevox developers
License: LicenseRef-proprietary

License: LicenseRef-proprietary
 All rights reserved. No licence to copy, modify or distribute this
 software has been granted beyond what the copyright holders allow in
 writing.
")

# /usr/share/doc/tunevox/changelog.Debian.gz: one entry per release of the
# AppStream metadata, newest first, with that release's notes, so the two
# never disagree.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_tunevox_metainfo})
file(READ ${_tunevox_metainfo} _tunevox_xml)
string(REPLACE ";" "," _tunevox_xml "${_tunevox_xml}")
string(REGEX MATCHALL "<release [^>]*>.*</release>" _tunevox_all "${_tunevox_xml}")
string(REPLACE "</release>" "</release>;" _tunevox_releases "${_tunevox_all}")
set(_tunevox_changelog "")
foreach(_release IN LISTS _tunevox_releases)
  if(NOT _release MATCHES "version=\"([^\"]+)\" date=\"([0-9-]+)\"")
    continue()
  endif()
  set(_version ${CMAKE_MATCH_1})
  execute_process(COMMAND date -u -R -d "${CMAKE_MATCH_2} 12:00:00 UTC"
                  OUTPUT_VARIABLE _date OUTPUT_STRIP_TRAILING_WHITESPACE)
  # The notes' paragraphs and items, each a changelog item wrapped at 76.
  string(REGEX MATCHALL "<(p|li)>[^<]*</(p|li)>" _notes "${_release}")
  if(NOT _notes)
    set(_notes "<p>Release ${_version}.</p>")
  endif()
  string(APPEND _tunevox_changelog "tunevox (${_version}-${TUNEVOX_PACKAGE_REVISION}) unstable; urgency=medium\n\n")
  foreach(_note IN LISTS _notes)
    string(REGEX REPLACE "</?(p|li)>" "" _note "${_note}")
    string(REGEX REPLACE "[ \t\r\n]+" ";" _words "${_note}")
    set(_line "  *")
    foreach(_word IN LISTS _words)
      if(_word STREQUAL "")
        continue()
      endif()
      string(LENGTH "${_line} ${_word}" _length)
      if(_length GREATER 76)
        string(APPEND _tunevox_changelog "${_line}\n")
        set(_line "   ")
      endif()
      string(APPEND _line " ${_word}")
    endforeach()
    string(APPEND _tunevox_changelog "${_line}\n")
  endforeach()
  string(APPEND _tunevox_changelog "\n -- ${TUNEVOX_PACKAGE_MAINTAINER}  ${_date}\n\n")
endforeach()
file(WRITE ${_tunevox_doc_out}/changelog.Debian "${_tunevox_changelog}")
execute_process(COMMAND gzip -9 -n -f ${_tunevox_doc_out}/changelog.Debian RESULT_VARIABLE _rc)
if(NOT _rc EQUAL 0)
  message(FATAL_ERROR "gzip of the Debian changelog failed")
endif()
install(FILES ${_tunevox_doc_out}/copyright ${_tunevox_doc_out}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tunevox COMPONENT data)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tunevox)
set(CPACK_PACKAGE_VENDOR "The Tunevox developers")
set(CPACK_PACKAGE_CONTACT "${TUNEVOX_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "radio set for PC radio tuner cards and serial radios")
set(CPACK_PACKAGE_DESCRIPTION
"Tunevox drives the radio tuner hardware of a PC and turns it into a radio
set: a window with a segmented display, tuning, seek, 100 favorites, a
scanner, a station organizer, timed scripts, an alarm, a sleep timer and a
tray icon. It knows the ISA radio cards AimsLab RadioTrack, Reveal RA300,
Zoltrix Radio Plus 108 and Aztech FM radio, the serial radios Gemtek
Wizard Radio and RadioMan, Justy RadionMaru and Unit Rajikoma, and Linux
radio devices. Emulated receivers let it run without radio hardware.

The command-line tool tunevox-cli tunes, scans and seeks from scripts.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TUNEVOX_PACKAGE_REVISION})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TUNEVOX_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/tunevox/tunevox)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Only the install tree goes in; CPack's scratch stays in the build folder.
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)

if(TUNEVOX_BUILD_TESTS AND TUNEVOX_BUILD_GUI)
  # Builds the package in a folder of its own (package-check/ in the build
  # folder), looks inside, runs the programs from where dpkg put them and
  # lets lintian judge it.
  find_program(DPKG_DEB dpkg-deb)
  find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
  find_program(LINTIAN lintian)
  if(DPKG_DEB AND DPKG_SHLIBDEPS AND LINTIAN)
    add_test(NAME package.debian
             COMMAND ${CMAKE_COMMAND}
                     -DCPACK=${CMAKE_CPACK_COMMAND}
                     -DCONFIG=${CMAKE_BINARY_DIR}/CPackConfig.cmake
                     -DOUT=${CMAKE_BINARY_DIR}/package-check
                     -DVERSION=${PROJECT_VERSION}
                     -DREVISION=${TUNEVOX_PACKAGE_REVISION}
                     -DMETAINFO=${_tunevox_metainfo}
                     -DLINTIAN=${LINTIAN}
                     -P ${CMAKE_CURRENT_LIST_DIR}/check_package.cmake)
    set_tests_properties(package.debian PROPERTIES LABELS package TIMEOUT 300 RUN_SERIAL ON)
  else()
    message(STATUS "dpkg-deb, dpkg-shlibdeps or lintian not found: the Debian package is not checked")
  endif()
endif()
