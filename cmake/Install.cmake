# What `cmake --install` puts where, and the Debian package `cpack -G DEB`
# makes of it. The program finds its widget library and the shipped pool
# relative to its own folder (src/CMakeLists.txt fixes those relative paths),
# so any prefix works, and so does the build folder.
set(dist ${PROJECT_SOURCE_DIR}/dist)

install(TARGETS tafelbau RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET tafelbau_ui)
  install(TARGETS tafelbau_ui LIBRARY DESTINATION ${TAFELBAU_INSTALL_LIBDIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/data/TafelbauGadgetPool.ini DESTINATION ${TAFELBAU_INSTALL_DATADIR})
install(FILES ${dist}/tafelbau.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${dist}/tafelbau-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME tafelbau.xml)
install(FILES ${dist}/tafelbau.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${dist}/tafelbau-48.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps
        RENAME tafelbau.png)
install(FILES ${dist}/de.tafelbau.tafelbau.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Who makes the package; its users write there.
set(TAFELBAU_PACKAGE_CONTACT "Tafelbau <tafelbau@example.org>"
    CACHE STRING "Maintainer of the Debian package and of its changelog: name <address>")

# The manual page and the changelog go in packed, as Debian has them: gzip
# -9n stores neither name nor time, so every build makes the same bytes.
# The program depends on them, so that building it is enough to install.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(packed ${PROJECT_BINARY_DIR}/packed)
configure_file(${dist}/changelog.in ${packed}/changelog.txt @ONLY)
set(packed_files)
foreach(pair "${dist}/tafelbau.1|tafelbau.1" "${packed}/changelog.txt|changelog")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 from)
  list(GET pair 1 name)
  add_custom_command(
    OUTPUT ${packed}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${from} ${packed}/${name}
    COMMAND ${GZIP_PROGRAM} -9nf ${packed}/${name}
    DEPENDS ${from}
    COMMENT "Packing ${name}"
    VERBATIM)
  list(APPEND packed_files ${packed}/${name}.gz)
endforeach()
add_custom_target(packed_docs DEPENDS ${packed_files})
add_dependencies(tafelbau packed_docs)
install(FILES ${packed}/tafelbau.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
set(docdir ${CMAKE_INSTALL_DATADIR}/doc/tafelbau)
install(FILES ${packed}/changelog.gz ${dist}/copyright DESTINATION ${docdir})

# The Debian package. Its library dependencies come from dpkg-shlibdeps; the
# menu entry, file type, icon and manual page are registered by the triggers
# of the packages that own those folders, so no maintainer scripts are needed
# (and the widget library's folder keeps CPack from adding ldconfig calls).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tafelbau)
set(CPACK_PACKAGE_VENDOR Tafelbau)
set(CPACK_PACKAGE_CONTACT "${TAFELBAU_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keyboard-driven editor for the gadgets of PureBasic dialog windows")
set(CPACK_PACKAGE_DESCRIPTION
    "Tafelbau keeps a gadget list (.tbf), builds each gadget from a template of
an editable gadget pool, places the gadgets on numbered cards and writes a
PureBasic include file on every save, or from the command line without any
window (tafelbau /refreshcode FILE.pbi). The user interface is German.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own dialogs are German only with its translation installed.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
