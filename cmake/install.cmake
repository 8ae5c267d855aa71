# Installing Winterhain as a Debian desktop program, and packaging it as a
# .deb with CPack.
#
# Layout under the install prefix (/usr in the package):
#   games/winterhain                    launcher: cd into the data folder, exec
#   games/winterhain-saver              a link to the screensaver's launcher
#   libexec/winterhain/winterhain       the program itself
#   libexec/winterhain/winterhain-saver the screensaver
#   libexec/winterhain/winterhain-guard the display guard the program starts
#   libexec/xscreensaver/winterhain-saver  launcher of the screensaver, where
#                                       XScreenSaver and MATE look for hacks
#   share/winterhain/Data/              its pictures and music
#   share/applications/winterhain.desktop
#   share/applications/screensavers/winterhain.desktop   (MATE)
#   share/xscreensaver/config/winterhain-saver.xml       (XScreenSaver)
#   share/icons/hicolor/<size>/apps/winterhain.{png,svg}
#   share/man/man6/{winterhain,winterhain-saver}.6.gz
#   share/metainfo/org.example.Winterhain.metainfo.xml  (software centres)
#   share/doc/winterhain/{copyright,changelog.gz}
#
# The program reads Data/ from its working directory, so nothing may start
# it directly: the launcher changes into share/winterhain first, and the
# desktop entry both runs the launcher and names that folder in Path=.
# The launcher sits in games/ because Debian keeps games in /usr/games
# (in the PATH of ordinary users); the program, which is never run by hand,
# in libexec/ with the other helpers that only launchers start.

set(WINTERHAIN_INSTALL_GAMESDIR games CACHE STRING
  "Folder of the winterhain launcher, relative to the install prefix")
set(WINTERHAIN_INSTALL_PROGRAMDIR libexec/winterhain CACHE STRING
  "Folder of the program itself, relative to the install prefix")
set(WINTERHAIN_INSTALL_DATADIR share/winterhain CACHE STRING
  "Folder that holds Data/, relative to the install prefix")
set(WINTERHAIN_INSTALL_HACKDIR libexec/xscreensaver CACHE STRING
  "Folder of the screensaver's launcher (XScreenSaver's hacks), relative to the install prefix")
foreach(dir GAMESDIR PROGRAMDIR DATADIR HACKDIR)
  if(IS_ABSOLUTE "${WINTERHAIN_INSTALL_${dir}}")
    # The launcher finds everything relative to its own place.
    message(FATAL_ERROR "WINTERHAIN_INSTALL_${dir} must be relative to the install prefix")
  endif()
endforeach()

set(_wh_src ${PROJECT_SOURCE_DIR}/packaging)
set(_wh_out ${PROJECT_BINARY_DIR}/packaging)

# The program and its data.
install(TARGETS winterhain winterhain-saver winterhain-guard RUNTIME DESTINATION ${WINTERHAIN_INSTALL_PROGRAMDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/Data DESTINATION ${WINTERHAIN_INSTALL_DATADIR})

# The launcher, with the paths from its folder to the data and the program.
file(RELATIVE_PATH WINTERHAIN_LAUNCHER_TO_DATA
  /prefix/${WINTERHAIN_INSTALL_GAMESDIR} /prefix/${WINTERHAIN_INSTALL_DATADIR})
file(RELATIVE_PATH WINTERHAIN_LAUNCHER_TO_PROGRAM
  /prefix/${WINTERHAIN_INSTALL_GAMESDIR} /prefix/${WINTERHAIN_INSTALL_PROGRAMDIR}/winterhain)
configure_file(${_wh_src}/winterhain.sh.in ${_wh_out}/winterhain @ONLY)
install(PROGRAMS ${_wh_out}/winterhain DESTINATION ${WINTERHAIN_INSTALL_GAMESDIR})

# The screensaver's launcher, the same script: both screensavers run hacks
# from their own folder by name, and the saver reads Data/ as the program
# does. It is named as the saver is ("winterhain-saver", as its XScreenSaver
# description is): XScreenSaver's "Documentation..." shows the manual page
# of the hack's name.
file(RELATIVE_PATH WINTERHAIN_LAUNCHER_TO_DATA
  /prefix/${WINTERHAIN_INSTALL_HACKDIR} /prefix/${WINTERHAIN_INSTALL_DATADIR})
file(RELATIVE_PATH WINTERHAIN_LAUNCHER_TO_PROGRAM
  /prefix/${WINTERHAIN_INSTALL_HACKDIR} /prefix/${WINTERHAIN_INSTALL_PROGRAMDIR}/winterhain-saver)
configure_file(${_wh_src}/winterhain.sh.in ${_wh_out}/hack/winterhain-saver @ONLY)
install(PROGRAMS ${_wh_out}/hack/winterhain-saver DESTINATION ${WINTERHAIN_INSTALL_HACKDIR})
install(FILES ${_wh_src}/winterhain-saver.xml DESTINATION share/xscreensaver/config)
# And by its name beside the program's launcher, a link to its own: the
# saver to try in a window of its own, and the name its manual page and
# the metainfo give it.
file(RELATIVE_PATH _wh_saver_link
  /prefix/${WINTERHAIN_INSTALL_GAMESDIR} /prefix/${WINTERHAIN_INSTALL_HACKDIR}/winterhain-saver)
install(CODE "
  set(_wh_link \"\${CMAKE_INSTALL_PREFIX}/${WINTERHAIN_INSTALL_GAMESDIR}/winterhain-saver\")
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${WINTERHAIN_INSTALL_GAMESDIR}\")
  file(CREATE_LINK \"${_wh_saver_link}\" \"\$ENV{DESTDIR}\${_wh_link}\" SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${_wh_link}\")
")

# For software centres (AppStream): the program, the saver among what it
# provides, a screenshot, its releases and content rating.
install(FILES ${_wh_src}/org.example.Winterhain.metainfo.xml DESTINATION share/metainfo)

# The desktop entry names absolute paths, so it is written when installing,
# for the prefix actually installed into (cmake --install --prefix DIR, or
# /usr for the package), not for the one configured. Every prefix gets a
# file of its own in the build tree, so installs into different prefixes
# may run at the same time. The paths are escaped as a desktop entry needs
# (cmake/desktop_entry.cmake), so a prefix with a space, '%' or '$' works.
install(CODE "
  include(\"${PROJECT_SOURCE_DIR}/cmake/desktop_entry.cmake\")
  winterhain_desktop_exec(WINTERHAIN_DESKTOP_EXEC
    \"\${CMAKE_INSTALL_PREFIX}/${WINTERHAIN_INSTALL_GAMESDIR}/winterhain\")
  winterhain_desktop_string(WINTERHAIN_DESKTOP_PATH
    \"\${CMAKE_INSTALL_PREFIX}/${WINTERHAIN_INSTALL_DATADIR}\")
  string(MD5 _wh_key \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  configure_file(\"${_wh_src}/winterhain.desktop.in\"
    \"${_wh_out}/desktop/\${_wh_key}/winterhain.desktop\" @ONLY)
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications\" TYPE FILE
    FILES \"${_wh_out}/desktop/\${_wh_key}/winterhain.desktop\")
  set(_wh_hack \"\${CMAKE_INSTALL_PREFIX}/${WINTERHAIN_INSTALL_HACKDIR}/winterhain-saver\")
  winterhain_desktop_exec(WINTERHAIN_SAVER_EXEC \"\${_wh_hack}\")
  winterhain_desktop_string(WINTERHAIN_SAVER_TRYEXEC \"\${_wh_hack}\")
  configure_file(\"${_wh_src}/winterhain-saver.desktop.in\"
    \"${_wh_out}/desktop/\${_wh_key}/screensavers/winterhain.desktop\" @ONLY)
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications/screensavers\" TYPE FILE
    FILES \"${_wh_out}/desktop/\${_wh_key}/screensavers/winterhain.desktop\")
")

# The icon: PNGs rendered from the SVG by packaging/icons/make-icons.sh.
install(DIRECTORY ${_wh_src}/icons/hicolor DESTINATION share/icons FILES_MATCHING PATTERN "*.png")
install(FILES ${_wh_src}/icons/winterhain.svg DESTINATION share/icons/hicolor/scalable/apps)

# The manual page and the changelog, compressed as Debian wants them:
# gzip -n leaves out name and time, so the same text gives the same file.
set(_wh_gzipped)
foreach(pair "winterhain.6:winterhain.6.gz" "winterhain-saver.6:winterhain-saver.6.gz"
    "changelog:changelog.gz")
  string(REPLACE ":" ";" pair "${pair}")
  list(GET pair 0 _wh_in)
  list(GET pair 1 _wh_gz)
  add_custom_command(OUTPUT ${_wh_out}/${_wh_gz}
    COMMAND gzip -9 -n -c ${_wh_src}/${_wh_in} > ${_wh_out}/${_wh_gz}
    DEPENDS ${_wh_src}/${_wh_in}
    COMMENT "Compressing packaging/${_wh_in}"
    VERBATIM)
  list(APPEND _wh_gzipped ${_wh_out}/${_wh_gz})
endforeach()
add_custom_target(winterhain_install_files ALL DEPENDS ${_wh_gzipped})
install(FILES ${_wh_out}/winterhain.6.gz ${_wh_out}/winterhain-saver.6.gz DESTINATION share/man/man6)
install(FILES ${_wh_src}/copyright ${_wh_out}/changelog.gz DESTINATION share/doc/winterhain)

# The Debian package: make deb (packaging/deb.mk) runs cpack -G DEB.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME winterhain)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Winterhain developers")
set(CPACK_PACKAGE_CONTACT "Winterhain developers <winterhain@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fullscreen snowy Christmas scene with music")
# Lines of at most 80 characters; CPack indents them for the control file.
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Winterhain shows an animated Christmas scene drawn with OpenGL: a slowly"
  "turning snowy ground with ten fir trees and a snowman, a santa crossing the"
  "night sky, a greetings banner and 500 tumbling snowflakes, while a carol"
  "plays in a loop."
  "."
  "It switches the display to 640x480 (XRandR) while it runs; Escape ends it"
  "and puts the desktop's display mode back."
  "."
  "The same scene is a screensaver for XScreenSaver (add"
  "\"GL: winterhain-saver --root\" to its programs) and for mate-screensaver,"
  "without music.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Dependencies from the libraries the program links (dpkg-shlibdeps, in
# dpkg-dev): SDL2, SDL2_mixer, GL, GLU, X11, Xrandr, the Wayland client and
# the C/C++ runtime.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The program links libOpenGL (GLVND) only; SDL opens libGL.so.1 itself at
# run time for its GLX context, which dpkg-shlibdeps cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1")
# Only what the program needs: no build tree, no source.
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
