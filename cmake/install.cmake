# What `cmake --install` puts where, and the Debian package CPack makes of it
# (scripts/package). Paths follow the GNU layout under the prefix.
include(GNUInstallDirs)

set(ZEROLITH_DATA_DIR ${CMAKE_INSTALL_DATADIR}/zerolith)
# The installed window program finds its manual and icon by these paths from its own folder.
file(RELATIVE_PATH ZEROLITH_MANUAL_FROM_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR}
  ${CMAKE_INSTALL_FULL_DATADIR}/zerolith/manual)
file(RELATIVE_PATH ZEROLITH_ICONS_FROM_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/icons/hicolor)
configure_file(cmake/install_layout.h.in ${PROJECT_BINARY_DIR}/generated/install_layout.h @ONLY)
install(TARGETS zerolith-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY examples/ DESTINATION ${ZEROLITH_DATA_DIR}/examples FILES_MATCHING PATTERN "*.zerolith")
install(FILES data/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Manual pages, compressed as Debian keeps them.
set(manual_pages zerolith-cli)
if(ZEROLITH_GUI)
  list(APPEND manual_pages zerolith)
endif()
foreach(page ${manual_pages})
  configure_file(docs/man/${page}.1 ${PROJECT_BINARY_DIR}/man/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/man/${page}.1.gz
    COMMAND gzip -9 -n -k -f ${PROJECT_BINARY_DIR}/man/${page}.1
    DEPENDS ${PROJECT_BINARY_DIR}/man/${page}.1)
  list(APPEND manual_page_files ${PROJECT_BINARY_DIR}/man/${page}.1.gz)
endforeach()
add_custom_target(manual_pages ALL DEPENDS ${manual_page_files})
install(FILES ${manual_page_files} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(ZEROLITH_GUI)
  install(TARGETS zerolith RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(DIRECTORY docs/manual/ DESTINATION ${ZEROLITH_DATA_DIR}/manual)
  install(FILES data/zerolith.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES data/zerolith-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME zerolith.xml)

  # The icon: the drawing itself, and pictures of it in the sizes menus ask for.
  set(icon_source ${PROJECT_SOURCE_DIR}/data/icons/zerolith.svg)
  install(FILES ${icon_source} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  add_executable(render_icon src/tools/render_icon.cpp)
  target_link_libraries(render_icon PRIVATE Qt6::Gui Qt6::Svg)
  foreach(size 16 24 32 48 64 128 256)
    set(picture ${PROJECT_BINARY_DIR}/icons/${size}x${size}/zerolith.png)
    add_custom_command(OUTPUT ${picture}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icons/${size}x${size}
      COMMAND render_icon ${icon_source} ${size} ${picture}
      DEPENDS render_icon ${icon_source})
    list(APPEND icon_pictures ${picture})
    install(FILES ${picture} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(icon_pictures ALL DEPENDS ${icon_pictures})
endif()

# The Debian package: zerolith_VERSION_ARCH.deb, its library dependencies
# found by dpkg-shlibdeps from the installed programs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zerolith)
set(CPACK_PACKAGE_VENDOR "Zerolith developers")
set(CPACK_PACKAGE_CONTACT "Zerolith developers <support@zerolith.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "finds the real solutions of systems of nonlinear equations")
# The summary is the first line; CPack indents the lines below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Type N equations in N named variables in VBScript expression syntax, named
constants and a search interval per variable. Explore walks a grid over the
search box and starts Newton's method wherever a residual changes sign;
Random starts it from random points. Every distinct solution is listed with
each equation's residual, drawn with the equations' zero sets, saved to a
small text file and printed as a report.

This package holds the window program zerolith and the command-line
program zerolith-cli.")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://zerolith.example.org")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The report and the solution list ask for Courier New; Liberation Mono stands in.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
