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
install(FILES ${dist}/tafelbau.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${dist}/de.tafelbau.tafelbau.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The Debian package. Its library dependencies come from dpkg-shlibdeps; the
# menu entry, file type, icon and manual page are registered by the triggers
# of the packages that own those folders, so no maintainer scripts are needed.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tafelbau)
set(CPACK_PACKAGE_VENDOR Tafelbau)
set(CPACK_PACKAGE_CONTACT "Tafelbau <tafelbau@localhost>")
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
