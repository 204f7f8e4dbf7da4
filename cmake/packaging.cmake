# SPDX-License-Identifier: MIT
# Installation, the Debian package and the source tarball.
include(GNUInstallDirs)

# Whoever distributes the package names themselves and, if there is one,
# the page it comes from. A local build says that it is one, and a package
# without a homepage has no Homepage field.
set(BRELIX_MAINTAINER "Brelix local build <local-build@brelix.invalid>" CACHE STRING
    "The package's Maintainer, as \"Name <address>\"")
set(BRELIX_HOMEPAGE "" CACHE STRING "The package's Homepage, a URL; empty leaves the field out")

set(CPACK_PACKAGE_NAME brelix)
set(CPACK_PACKAGE_VENDOR "The Brelix developers")
set(CPACK_PACKAGE_CONTACT ${BRELIX_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${BRELIX_MAINTAINER})
set(CPACK_PACKAGE_HOMEPAGE_URL ${BRELIX_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)

# Man pages and changelogs carry the version and are shipped gzipped without
# name or time stamp, as Debian wants them.
set(docs ${CMAKE_CURRENT_BINARY_DIR}/doc)
configure_file(doc/brelix.1.in ${docs}/en/brelix.1 @ONLY)
configure_file(doc/brelix.de.1.in ${docs}/de/brelix.1 @ONLY)
configure_file(doc/debian/changelog.in ${docs}/changelog.Debian @ONLY)
configure_file(CHANGELOG.md ${docs}/changelog COPYONLY)
set(gzipped)
foreach(file en/brelix.1 de/brelix.1 changelog.Debian changelog)
  add_custom_command(OUTPUT ${docs}/${file}.gz
                     COMMAND gzip -9n -c ${docs}/${file} > ${docs}/${file}.gz
                     DEPENDS ${docs}/${file}
                     VERBATIM)
  list(APPEND gzipped ${docs}/${file}.gz)
endforeach()
add_custom_target(brelix-docs ALL DEPENDS ${gzipped})

# The copyright file in Debian's machine-readable format, with the licence
# text taken from LICENSE, and the sources' address if there is one.
set(BRELIX_COPYRIGHT_SOURCE "")
if(BRELIX_HOMEPAGE)
  set(BRELIX_COPYRIGHT_SOURCE "\nSource: ${BRELIX_HOMEPAGE}")
endif()
file(READ LICENSE licence)
string(REGEX REPLACE "^.*\n\n(Permission)" "\\1" licence "${licence}")
string(REGEX REPLACE "\n+$" "" licence "${licence}")
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " BRELIX_EXPAT_TEXT " ${licence}")
configure_file(doc/debian/copyright.in ${docs}/copyright @ONLY)

set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME program)
install(TARGETS brelix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install also drops the sections dh_strip drops.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note --strip-unneeded
                          \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/brelix\"
                  COMMAND_ERROR_IS_FATAL ANY)
endif()")
install(FILES ${docs}/en/brelix.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${docs}/de/brelix.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/de/man1)
install(FILES ${docs}/copyright ${docs}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The launcher for people at a terminal, its menu entry and icon. Its man
# page is brelix's, which describes both. The build folder gets a copy of
# the launcher, which runs the brelix beside it.
configure_file(desktop/brelix-terminal ${CMAKE_CURRENT_BINARY_DIR}/brelix-terminal COPYONLY)
install(PROGRAMS desktop/brelix-terminal DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES desktop/brelix.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES desktop/brelix.svg DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
foreach(lang en de)
  file(CREATE_LINK brelix.1.gz ${docs}/${lang}/brelix-terminal.1.gz SYMBOLIC)
endforeach()
install(FILES ${docs}/en/brelix-terminal.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${docs}/de/brelix-terminal.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/de/man1)
# Only the Debian package needs its own changelog and lintian's overrides.
install(FILES ${docs}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DOCDIR}
        COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES doc/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
        RENAME brelix COMPONENT debian EXCLUDE_FROM_ALL)

# The program's banner is written out in the source, not generated, so a
# test keeps it in step with the version here.
if(BUILD_TESTING)
  add_test(NAME version.banner
           COMMAND ${CMAKE_COMMAND} -DVERSION=${PROJECT_VERSION} -DSOURCE=${CMAKE_SOURCE_DIR}/src/brelix.cpp
                   -P ${CMAKE_SOURCE_DIR}/cmake/check-banner.cmake)
endif()

# cpack -G DEB in the build folder makes the Debian package.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "temperature calculator for partial aquarium water changes")
set(CPACK_PACKAGE_DESCRIPTION "Brelix works out, in a dialogue on the console, how warm an aquarium gets
after a partial water change, how warm it was before, how warm the change
water has to be, or how much change water gives a desired temperature.

The dialogue is in German and written in ISO-8859-1. brelix-terminal, also
in the desktop's menu, runs it through luit, which shows the umlauts in a
UTF-8 terminal, and through rlwrap, if installed, for line editing.")
set(CPACK_GENERATOR DEB)
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL program debian)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Debian 12's x11-utils ships its own luit, and the luit package breaks it:
# either does.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "luit | x11-utils (<< 7.7+6)")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS rlwrap)
# CPack asks dpkg for the machine's own architecture; a cross build names
# the target's, which dpkg derives from the compiler's multiarch triplet.
if(CMAKE_CROSSCOMPILING AND CMAKE_LIBRARY_ARCHITECTURE)
  execute_process(COMMAND dpkg-architecture -t ${CMAKE_LIBRARY_ARCHITECTURE} -qDEB_HOST_ARCH
                  OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()

# cpack --config CPackSourceConfig.cmake makes the source tarball: the
# source folder without git, build folders, packages, npm's node_modules or
# the files of a release in dist/.
string(REGEX REPLACE "([][+.*()^$?|\\\\])" "\\\\\\1" top "${CMAKE_SOURCE_DIR}")
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_PACKAGE_FILE_NAME brelix-${PROJECT_VERSION})
set(CPACK_SOURCE_IGNORE_FILES "^${top}/\\.git(/|$)" "^${top}/build[^/]*/" "^${top}/_CPack_Packages/"
                              "^${top}/node_modules/" "^${top}/dist/" "\\.deb$" "\\.tar\\.gz$")

# Time stamps in the packages come from the last commit, or the one a source
# tarball carries, at the time cpack runs.
set(CPACK_BRELIX_SOURCE_DIR ${CMAKE_SOURCE_DIR})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/cpack-time.cmake)
include(CPack)
