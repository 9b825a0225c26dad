# What `cmake --install` puts under its prefix, and the Debian package made of it
# by CPack (scripts/package). The program finds its read-only files in
# share/vistarama beside bin/, wherever the prefix is.
include(GNUInstallDirs)
set(VISTA_PARTAGE ${CMAKE_INSTALL_DATADIR}/vistarama)

install(TARGETS vistarama vistarama-convert vistarama-video RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The video export, which the program loads from ../lib/<multiarch>/vistarama beside bin/.
install(TARGETS vistarama-export-video LIBRARY DESTINATION ${VISTA_DOSSIER_MODULES})
# The help file, the trash can's sounds and the sample slideshow with its pictures and sound.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/demo/ DESTINATION ${VISTA_PARTAGE})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/curseurs DESTINATION ${VISTA_PARTAGE})

# Qt's French texts for its standard dialogs, loaded before the system's own.
get_target_property(VISTA_QMAKE Qt6::qmake IMPORTED_LOCATION)
execute_process(COMMAND ${VISTA_QMAKE} -query QT_INSTALL_TRANSLATIONS
                OUTPUT_VARIABLE VISTA_TRADUCTIONS_QT OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT EXISTS ${VISTA_TRADUCTIONS_QT}/qtbase_fr.qm)
  message(FATAL_ERROR "qtbase_fr.qm introuvable dans ${VISTA_TRADUCTIONS_QT} (paquet qt6-translations-l10n)")
endif()
install(FILES ${VISTA_TRADUCTIONS_QT}/qtbase_fr.qm DESTINATION ${VISTA_PARTAGE}/translations)

# The desktop: menu entry, file type, icon, manual pages.
install(FILES ${PROJECT_SOURCE_DIR}/assets/bureau/vistarama.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/assets/bureau/vistarama.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
foreach(taille 16 22 24 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/assets/icone/vistarama-${taille}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${taille}x${taille}/apps RENAME vistarama.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/docs/man/vistarama.1 ${PROJECT_SOURCE_DIR}/docs/man/vistarama-convert.1
        ${PROJECT_SOURCE_DIR}/docs/man/vistarama-video.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package: vistarama_<version>_amd64.deb, its dependencies read from the binaries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vistarama)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Vistarama <vistarama@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "composer et présenter des diaporamas de photos")
set(CPACK_PACKAGE_DESCRIPTION "Vistarama compose des diaporamas de photos, les présente en plein écran,\nimprime leur scénario et convertit les images entre JPEG, BMP, GIF, PCX, PNG et TIFF.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Sound and picture plug-ins the binaries load at run time, which dpkg-shlibdeps cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, fonts-liberation2")
# No maintainer scripts: the mime database, the menu and the icon cache are
# renewed by the triggers of shared-mime-info, desktop-file-utils and the icon theme.
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
include(CPack)
