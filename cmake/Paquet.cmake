# The Debian package (cpack -G DEB in the build folder): the programs, the simulators in the
# private library folder, the menu entry, the icons, the AppStream file, the French manual
# pages and the V6 udev rule. The programs load Qt's French translations from Qt's own
# folder, so the package depends on the package that ships them.
set(dossier_paquet ${PROJECT_SOURCE_DIR}/paquet)
set(genere ${PROJECT_BINARY_DIR}/paquet)

# Manual pages and the changelog, gzipped reproducibly (no name, no time stamp).
function(kirvane_gzip source cible)
    add_custom_command(OUTPUT ${cible}
        COMMAND gzip -9nc ${source} > ${cible}
        DEPENDS ${source} VERBATIM)
endfunction()
foreach(page kirvane kirvane-cli)
    configure_file(${dossier_paquet}/${page}.1.in ${genere}/${page}.1 @ONLY)
    kirvane_gzip(${genere}/${page}.1 ${genere}/${page}.1.gz)
    list(APPEND fichiers_paquet ${genere}/${page}.1.gz)
    install(FILES ${genere}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/fr/man1)
endforeach()
configure_file(${dossier_paquet}/changelog.in ${genere}/changelog @ONLY)
kirvane_gzip(${genere}/changelog ${genere}/changelog.gz)
list(APPEND fichiers_paquet ${genere}/changelog.gz)
add_custom_target(kirvane_fichiers_paquet ALL DEPENDS ${fichiers_paquet})

set(doc ${CMAKE_INSTALL_DATADIR}/doc/kirvane)
install(FILES ${genere}/changelog.gz ${dossier_paquet}/copyright DESTINATION ${doc})

install(FILES ${dossier_paquet}/kirvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${dossier_paquet}/fr.kirvane.Kirvane.metainfo.xml.in
               ${genere}/fr.kirvane.Kirvane.metainfo.xml @ONLY)
install(FILES ${genere}/fr.kirvane.Kirvane.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${dossier_paquet}/icones/kirvane.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(taille 16 32 48 64 128 256)
    install(FILES ${dossier_paquet}/icones/kirvane-${taille}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${taille}x${taille}/apps
            RENAME kirvane.png)
endforeach()

# The V6 unit is reachable by the logged-in user only through its udev rule.
if(EXISTS ${dossier_paquet}/udev/70-kirvane-sysam-v6.rules)
    install(FILES ${dossier_paquet}/udev/70-kirvane-sysam-v6.rules
            DESTINATION lib/udev/rules.d)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kirvane)
set(CPACK_PACKAGE_VENDOR "Kirvane")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "mesures de physique avec les centrales SYSAM")
# The synopsis comes from the summary; these are the lines of the long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Kirvane pilote les centrales d'acquisition SYSAM SP5, V6 et CAMPUS
branchées sur le port USB : il acquiert des tensions une fois ou trame
après trame, les trace sur un graphe avec des curseurs et un tableau,
puis les transmet au logiciel Regressi ou à des fichiers texte et CSV.
Une centrale SP5 simulée est livrée avec le programme.
.
Le paquet contient aussi l'outil en ligne de commande kirvane-cli.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The address the package names as its maintainer; a school's own build may set its own.
set(KIRVANE_MAINTENEUR "Les développeurs de Kirvane <developpeurs@kirvane.fr>"
    CACHE STRING "Mainteneur du paquet Debian")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KIRVANE_MAINTENEUR}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# Our own maintainer scripts: they reload the udev rules, and they keep CPack from adding
# ldconfig calls for the private libraries.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${dossier_paquet}/postinst ${dossier_paquet}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)

# The one lintian report the package accepts on purpose: the UNO libraries' folder as RUNPATH.
install(FILES ${dossier_paquet}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
    RENAME kirvane)
