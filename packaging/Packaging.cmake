# Installing the game, and the Debian package (scripts/package.sh: cpack -G DEB in a Release build).
#
# Every file is installed twice over in the rules below, once per layout: the component "prefix"
# is what `cmake --install` puts under a prefix (bin/, share/lirra); the component "debian" is
# only what the package holds (games/, share/games/lirra, its documents), so the package of any
# build tree follows the Debian games convention without a build of its own.

# The project's own name and addresses; example.org stands for its domain until it has one. The
# store entry's id is the home page's host turned round.
set(LIRRA_DEVELOPERS "The Lirra developers")
set(LIRRA_MAINTAINER "${LIRRA_DEVELOPERS} <lirra@example.org>" CACHE STRING "The package's maintainer")
set(LIRRA_HOMEPAGE "https://lirra.example.org/" CACHE STRING "The game's home page")
set(LIRRA_REPOSITORY_FILES "${LIRRA_HOMEPAGE}source/raw/main/" CACHE STRING
    "Where the files of the repository are served; screenshots are named by their paths below it")
set(LIRRA_APPSTREAM_ID org.example.lirra)
set(LIRRA_PACKAGE_PREFIX /usr)
set(LIRRA_PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)

# The changelog's date line in the form Debian wants, from the release date.
execute_process(COMMAND env LC_ALL=C date -u -R -d "${LIRRA_RELEASE_DATE} 12:00"
  OUTPUT_VARIABLE LIRRA_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

configure_file(${CMAKE_CURRENT_LIST_DIR}/lirra.6.in ${LIRRA_PACKAGING_DIR}/lirra.6 @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/lirra.metainfo.xml.in
               ${LIRRA_PACKAGING_DIR}/${LIRRA_APPSTREAM_ID}.metainfo.xml @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${LIRRA_PACKAGING_DIR}/changelog @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/copyright.in ${LIRRA_PACKAGING_DIR}/copyright @ONLY)
# A prefix install is found on the PATH; the package names its binary in full, because /usr/games
# is not on every PATH a desktop starts programs with (root's, a systemd user session's).
set(LIRRA_DESKTOP_EXEC lirra)
configure_file(${CMAKE_CURRENT_LIST_DIR}/lirra.desktop.in ${LIRRA_PACKAGING_DIR}/prefix/lirra.desktop @ONLY)
set(LIRRA_DESKTOP_EXEC ${LIRRA_PACKAGE_PREFIX}/${LIRRA_DEBIAN_BINDIR}/lirra)
configure_file(${CMAKE_CURRENT_LIST_DIR}/lirra.desktop.in ${LIRRA_PACKAGING_DIR}/debian/lirra.desktop @ONLY)

# Man pages and changelogs are shipped compressed, without a time stamp, so a package is the same
# on every build.
find_program(LIRRA_GZIP gzip REQUIRED)
set(LIRRA_GZIPPED)
foreach(name lirra.6 changelog)
  add_custom_command(OUTPUT ${LIRRA_PACKAGING_DIR}/${name}.gz
    COMMAND ${LIRRA_GZIP} -9nkf ${LIRRA_PACKAGING_DIR}/${name}
    DEPENDS ${LIRRA_PACKAGING_DIR}/${name}
    VERBATIM)
  list(APPEND LIRRA_GZIPPED ${LIRRA_PACKAGING_DIR}/${name}.gz)
endforeach()
add_custom_target(lirra_packaging_files ALL DEPENDS ${LIRRA_GZIPPED})
add_dependencies(lirra lirra_packaging_files)

function(lirra_install_layout component bindir datadir)
  set(extra)
  if(NOT component STREQUAL "prefix")
    set(extra EXCLUDE_FROM_ALL)
  endif()
  install(TARGETS lirra RUNTIME DESTINATION ${bindir} COMPONENT ${component} ${extra})
  install(DIRECTORY ${LIRRA_DATA_BUILD_DIR}/ DESTINATION ${datadir} COMPONENT ${component} ${extra})
  install(FILES ${LIRRA_PACKAGING_DIR}/${component}/lirra.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT ${component} ${extra})
  install(FILES ${LIRRA_DATA_BUILD_DIR}/Textures/window_icon.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps RENAME lirra.png
          COMPONENT ${component} ${extra})
  install(FILES ${LIRRA_PACKAGING_DIR}/${LIRRA_APPSTREAM_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT ${component} ${extra})
  install(FILES ${LIRRA_PACKAGING_DIR}/lirra.6.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT ${component} ${extra})
endfunction()

lirra_install_layout(prefix ${LIRRA_PREFIX_BINDIR} ${LIRRA_PREFIX_DATADIR})
lirra_install_layout(debian ${LIRRA_DEBIAN_BINDIR} ${LIRRA_DEBIAN_DATADIR})
install(FILES ${LIRRA_PACKAGING_DIR}/copyright ${LIRRA_PACKAGING_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lirra COMPONENT debian EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lirra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ${LIRRA_DEVELOPERS})
set(CPACK_PACKAGE_CONTACT ${LIRRA_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX ${LIRRA_PACKAGE_PREFIX})
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Lirra;debian;/")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${LIRRA_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${LIRRA_HOMEPAGE})
# The runtime libraries are read from the binary, so the list cannot drift from what it links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack puts the space before each line of the long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "action platformer in a dusk forest
You are Lirra, a small girl sent by her grandmother Dired to harvest souls.
Run, jump and glide on the wind through three forest levels, strike the
spirits that haunt them with a light and a heavy attack, gather the souls
they leave behind, and face the giant Rovevoz in the last clearing.
.
Around the game stand a loading screen, a splash, a main menu that is
itself a small playable scene, pause, options and quit menus, a level
editor and a developer console. It plays with the keyboard or a gamepad
and needs OpenGL 3.0.")
include(CPack)
