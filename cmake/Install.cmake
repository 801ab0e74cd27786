# SPDX-License-Identifier: GPL-3.0-or-later
# Installation and the Debian package.
#
# `cmake --install build --prefix P` lays out:
#   P/lib/kovelin/            the programs, with their data folder system/
#                             beside them (they find it there): the archive,
#                             the extraction tool, and every file the asset
#                             tool lists in its manifest
#   P/bin/                    links to the three programs
#   P/share/applications/     the menu entry
#   P/share/metainfo/         the AppStream description
#   P/share/icons/hicolor/    the icon, scalable and in PNG sizes
#   P/share/man/man1/         the manual pages, compressed
#   P/share/doc/kovelin/      the copyright file and the package changelog
# tools/package.sh turns the same tree under /usr into a .deb with CPack.

set(_lib lib/kovelin)
set(_programs kovelin kovelin-lookup kovelin-pack)
# Builds without the desktop program (the fuzzing one) install nothing.
foreach(_target IN LISTS _programs ITEMS sysmaint kovelin-system kovelin-icons)
  if(NOT TARGET ${_target})
    return()
  endif()
endforeach()
set(_system ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/system)

install(TARGETS ${_programs} RUNTIME DESTINATION ${_lib})
install(PROGRAMS $<TARGET_FILE:sysmaint> DESTINATION ${_lib}/system RENAME sysmaint.dll)
# Stripped with the programs (install --strip, and the package) although it
# is installed under another name than its target's.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\"
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${_lib}/system/sysmaint.dll\")
  endif()")
install(FILES ${_system}/load.dll DESTINATION ${_lib}/system)
# The pictures (both sets), pages and sounds: every file the asset tool
# lists in its manifest, read when installing.
install(CODE "
  file(STRINGS \"${KOVELIN_DATA_MANIFEST}\" _data_files)
  if(NOT _data_files)
    message(FATAL_ERROR \"${KOVELIN_DATA_MANIFEST} lists no data files\")
  endif()
  foreach(_file IN LISTS _data_files)
    get_filename_component(_folder \"\${_file}\" DIRECTORY)
    file(INSTALL \"${_system}/\${_file}\" TYPE FILE
      DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${_lib}/system/\${_folder}\")
  endforeach()")
# Relative links, so the tree works wherever it is put.
foreach(_program IN LISTS _programs)
  install(CODE "
    set(_bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(MAKE_DIRECTORY \"\${_bin}\")
    file(REMOVE \"\${_bin}/${_program}\")
    file(CREATE_LINK ../${_lib}/${_program} \"\${_bin}/${_program}\" SYMBOLIC)
    message(STATUS \"Link: \${_bin}/${_program}\")")
endforeach()

set(_dist ${PROJECT_SOURCE_DIR}/dist)
install(FILES ${_dist}/${KOVELIN_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${_dist}/${KOVELIN_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(DIRECTORY ${CMAKE_BINARY_DIR}/share/icons/hicolor DESTINATION share/icons)
install(FILES ${_dist}/copyright DESTINATION share/doc/kovelin)

# Manual pages and the changelog, compressed as Debian wants them
# (gzip -n: no name or time stamp, so the package builds reproducibly).
set(_compressed)
foreach(_source IN ITEMS man/kovelin.1 man/kovelin-lookup.1 man/kovelin-pack.1 changelog.Debian)
  get_filename_component(_name ${_source} NAME)
  set(_out ${CMAKE_BINARY_DIR}/share/gz/${_name}.gz)
  add_custom_command(OUTPUT ${_out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/share/gz
    COMMAND sh -c "gzip -9n < '${_dist}/${_source}' > '${_out}'"
    DEPENDS ${_dist}/${_source}
    VERBATIM)
  list(APPEND _compressed ${_out})
endforeach()
add_custom_target(kovelin-compressed-docs ALL DEPENDS ${_compressed})
foreach(_page IN ITEMS kovelin kovelin-lookup kovelin-pack)
  install(FILES ${CMAKE_BINARY_DIR}/share/gz/${_page}.1.gz DESTINATION share/man/man1)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/share/gz/changelog.Debian.gz DESTINATION share/doc/kovelin)

# Everything the install rules take from the build.
add_custom_target(kovelin-installable)
add_dependencies(kovelin-installable ${_programs} sysmaint kovelin-system kovelin-icons
  kovelin-compressed-docs)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kovelin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Kovelin developers <maintainers@kovelin.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Nepali-to-Nepali dictionary")
set(CPACK_PACKAGE_DESCRIPTION
  "Kovelin explains Nepali words in Nepali. Type a word in Unicode or on a
Preeti keyboard layout, or copy it in another program, and the list of
headwords scrolls to it; choose a row and its definition appears as
formatted text.
.
It comes with a sample dictionary. kovelin-pack turns StarDict and CSV
dictionaries into Kovelin dictionaries, and kovelin-lookup looks words up
in a terminal.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries come from the binaries (dpkg-shlibdeps); fonts cannot, since
# fontconfig finds them by name at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-core, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
