# Installation in the usual places and the Debian package:
#   bin/                        tarnwick, tarnwick-cli, tarnwick-classify
#   share/tarnwick/             the starter blacklist, the alarm sound, the manual (help/)
#   share/applications/         tarnwick.desktop
#   share/icons/hicolor/        the icon as SVG and as PNG in the usual sizes
#   share/metainfo/             the AppStream metainfo, for software centres
#   share/man/man1/             tarnwick(1), tarnwick-cli(1), tarnwick-classify(1)
#   share/doc/tarnwick/         copyright, changelog.gz
#   lib/systemd/user/           tarnwick-check.service and .timer (not enabled)
include(GNUInstallDirs)

# The date of the latest release (cmake/debian/changelog): generated files carry it instead
# of the day of the build, so that two builds of one source give the same package.
set(TARNWICK_RELEASE_EPOCH 1796515200)

foreach(tool tarnwick-cli tarnwick-classify)
  if(TARGET ${tool})
    install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

set(_data ${PROJECT_SOURCE_DIR}/data)
install(FILES ${_data}/known.lst ${_data}/harptune.wav DESTINATION ${CMAKE_INSTALL_DATADIR}/tarnwick)
if(IS_DIRECTORY ${_data}/help)
  install(DIRECTORY ${_data}/help DESTINATION ${CMAKE_INSTALL_DATADIR}/tarnwick)
endif()

install(FILES ${_data}/tarnwick.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_data}/org.example.tarnwick.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_data}/systemd/tarnwick-check.service ${_data}/systemd/tarnwick-check.timer
        DESTINATION lib/systemd/user)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tarnwick)

# Compressed as Debian wants them, without the time stamp gzip would put in.
find_program(GZIP gzip REQUIRED)
set(_changelog ${CMAKE_BINARY_DIR}/doc/changelog.gz)
add_custom_command(OUTPUT ${_changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/cmake/debian/changelog ${CMAKE_BINARY_DIR}/doc/changelog
  COMMAND ${GZIP} -9nf ${CMAKE_BINARY_DIR}/doc/changelog
  DEPENDS ${PROJECT_SOURCE_DIR}/cmake/debian/changelog VERBATIM)
install(FILES ${_changelog} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tarnwick)

# The manual pages are written for scdoc and turned into troff here.
find_program(SCDOC scdoc REQUIRED)
set(_manpages)
foreach(page tarnwick tarnwick-cli tarnwick-classify)
  set(_man ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${_man}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${TARNWICK_RELEASE_EPOCH}
            sh -c "${SCDOC} < \"$1\" > \"$2\"" scdoc
            ${PROJECT_SOURCE_DIR}/docs/man/${page}.1.scd ${CMAKE_BINARY_DIR}/man/${page}.1
    COMMAND ${GZIP} -9nf ${CMAKE_BINARY_DIR}/man/${page}.1
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/${page}.1.scd
    COMMENT "Writing the manual page ${page}(1)" VERBATIM)
  list(APPEND _manpages ${_man})
  install(FILES ${_man} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(docs ALL DEPENDS ${_changelog} ${_manpages})
install(FILES ${_data}/icons/tarnwick.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The fixed icon sizes are rendered from the SVG at build time by a small Qt tool.
find_package(Qt6 COMPONENTS Gui Svg)
if(TARGET Qt6::Svg)
  add_executable(svgpng ${PROJECT_SOURCE_DIR}/src/tools/svgpng/svgpng.cpp)
  target_link_libraries(svgpng PRIVATE Qt6::Gui Qt6::Svg)
  set(_pngs)
  foreach(size 16 22 24 32 48 64 128 256)
    set(_png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/tarnwick.png)
    add_custom_command(OUTPUT ${_png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
      COMMAND svgpng ${_data}/icons/tarnwick.svg ${size} ${_png}
      DEPENDS svgpng ${_data}/icons/tarnwick.svg
      COMMENT "Rendering the ${size}x${size} icon" VERBATIM)
    list(APPEND _pngs ${_png})
    install(FILES ${_png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(icons ALL DEPENDS ${_pngs})
endif()

# The Debian package. Its dependencies come from the libraries the programs link
# (dpkg-shlibdeps); the Qt plugins loaded at run time are named by hand: the platform
# plugins (the window on X11 and Wayland) and the SVG icon and image plugins.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnwick)
set(CPACK_PACKAGE_VENDOR "Ostrand Corporation")
set(CPACK_PACKAGE_CONTACT "Tarnwick maintainers <tarnwick@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "POP3 mail guard: deletes spam on the server before it is downloaded")
set(CPACK_PACKAGE_DESCRIPTION "Tarnwick checks POP3 mailboxes, marks spam with the user's rules and a\nblacklist, and deletes it on the server before the mail program downloads it.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION mail)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
