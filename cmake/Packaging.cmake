# Installation as a desktop program and the Debian package.
#
# The program folder (executable, Ressources/, doc/) goes under
# lib/tavirune; bin/tavirune points at it, and the desktop entry, the
# AppStream metadata and the icons go where desktops look for them.

set(TAVIRUNE_APP_ID org.tavirune.Tavirune)
set(TAVIRUNE_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/resources/desktop)

install(FILES ${TAVIRUNE_DESKTOP_DIR}/${TAVIRUNE_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${TAVIRUNE_DESKTOP_DIR}/${TAVIRUNE_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${TAVIRUNE_DESKTOP_DIR}/icons/tavirune.svg
        DESTINATION share/icons/hicolor/scalable/apps RENAME ${TAVIRUNE_APP_ID}.svg)
foreach(size 16 32 48 64 128 256)
  install(FILES ${TAVIRUNE_DESKTOP_DIR}/icons/tavirune-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${TAVIRUNE_APP_ID}.png)
endforeach()
install(DIRECTORY ${TAVIRUNE_PROGRAM_DIR}/doc DESTINATION lib/tavirune)
# Debian's policy: every package names its licence in its own doc folder.
install(FILES ${CMAKE_SOURCE_DIR}/resources/debian/copyright DESTINATION share/doc/tavirune)
# A relative link, so that it stays right inside a package and after DESTDIR.
install(CODE [[
  set(bin_dir "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin")
  file(MAKE_DIRECTORY "${bin_dir}")
  file(CREATE_LINK ../lib/tavirune/tavirune "${bin_dir}/tavirune" SYMBOLIC)
]])

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavirune)
set(CPACK_PACKAGE_VENDOR Orvandel)
set(CPACK_PACKAGE_CONTACT "Orvandel <support@tavirune.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Carnet de santé des animaux de compagnie")
set(CPACK_PACKAGE_DESCRIPTION
    "Tavirune garde en un seul endroit chaque fait de santé de vos animaux : identité, consultations, médicaments et remboursements, vaccinations et rappels, courbes de poids et de taille, analyses, événements, documents et photos.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.tavirune.org/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The libraries the program links come from dpkg-shlibdeps; the SQLite
# driver is a Qt plug-in and libcurl is opened when a message is sent, so
# they are named by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libcurl4")
set(CPACK_STRIP_FILES ON)
include(CPack)
