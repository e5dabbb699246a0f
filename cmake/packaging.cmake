# Installation into a prefix, and the Debian package built from it (`make package`).
include(GNUInstallDirs)

install(TARGETS ravelquint RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS ravelquint-pulse LIBRARY DESTINATION ${module_dir})
install(FILES resources/ravelquint.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The version is the project's, written into the manual page and the newest release here.
configure_file(resources/org.ravelquint.ravelquint.metainfo.xml.in org.ravelquint.ravelquint.metainfo.xml @ONLY)
configure_file(resources/ravelquint.1.in ravelquint.1 @ONLY)
configure_file(resources/changelog changelog COPYONLY)
install(FILES ${CMAKE_BINARY_DIR}/org.ravelquint.ravelquint.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(icon_root ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES resources/ravelquint.png DESTINATION ${icon_root}/32x32/apps)
foreach(size 48 64 128 256)
    install(FILES resources/icons/ravelquint-${size}.png DESTINATION ${icon_root}/${size}x${size}/apps
            RENAME ravelquint.png)
endforeach()
install(FILES resources/ravelquint.svg DESTINATION ${icon_root}/scalable/apps)

# Debian keeps manual pages and changelogs compressed, reproducibly (-n: no name or time).
foreach(doc ravelquint.1 changelog)
    add_custom_command(OUTPUT ${doc}.gz
        COMMAND gzip -9nc ${CMAKE_BINARY_DIR}/${doc} > ${doc}.gz
        DEPENDS ${CMAKE_BINARY_DIR}/${doc} VERBATIM)
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ravelquint.1.gz changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/ravelquint.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz resources/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
# An example for administrators; polkit reads only what they put in place.
install(FILES doc/50-ravelquint-set-time.rules DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ravelquint)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small desktop clock for Japanese users")
# CPack puts the summary on the first line and indents these.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Ravelquint shows the date, the weekday in kanji and the time in a small window,
redrawn ten times a second in step with the system clock. It can colour the
text on Sundays, mark the Telehodai night band (23:00 to 07:59) with a notice
and a colour of its own, and count down to 08:00.
.
A click on the seconds unit sets the system clock to the shown minute, to pull
the computer onto a radio time signal; this goes through systemd-timedated and
the desktop's authorisation agent.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Ravelquint developers <dev@ravelquint.example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's Japanese translation: the colour dialog and the message boxes' buttons.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n")
# The time-signal adjustment needs the first two; a Wayland desktop without XWayland the third.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "systemd, polkitd, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
