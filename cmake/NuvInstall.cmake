# Installing nuv like a desktop program, and its Debian package by cpack:
# the programs in bin, the bundled files in share/nuv, the desktop entry, the
# icon in the hicolor theme, the MIME type of .pk2 and the man pages.
include(GNUInstallDirs)

# Installing and packaging take what the build made; they do not start a
# build of every test and benchmark first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

if(TARGET nuv)
  install(TARGETS nuv RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS nuvtool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The running program looks for its bundled files in ../share/nuv.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/share/ DESTINATION ${CMAKE_INSTALL_DATADIR}/nuv)
install(FILES ${PROJECT_SOURCE_DIR}/desktop/nuv.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/desktop/nuv.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/desktop/nuv-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME nuv.xml)

# Debian keeps man pages compressed.
set(man_pages)
foreach(page nuv.1 nuvtool.1)
  set(out ${PROJECT_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/docs/man/${page} > ${out}
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/${page}
    COMMENT "Compressing the man page ${page}")
  list(APPEND man_pages ${out})
endforeach()
add_custom_target(nuv_man ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nuv)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "nuv developers <nuv@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "outline processor for Japanese and English text")
set(CPACK_PACKAGE_DESCRIPTION "nuv keeps a document as a tree of pages, each with a title, a body of plain\n\
text, a mark and a label. Text is Shift JIS inside. It reads and writes .pk2\n\
documents and hierarchical text, finds and replaces with fuzzy regular\n\
expressions, links pages and runs macros. nuvtool gives its functions on the\n\
command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps; the desktop tools and a CJK font are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils, fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
include(CPack)
