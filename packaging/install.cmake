# Install rules, desktop integration and the Debian package (cpack -G DEB).
#
# One application id names the desktop entry, the AppStream file and the MIME package, so
# software centres can tie them together; the icon keeps the program's own name.

include(GNUInstallDirs)

set(GYRENA_APP_ID "io.github.gyrena.Gyrena")
set(GYRENA_RELEASE_DATE "2026-12-07" CACHE STRING "Date of this release, for the AppStream file")
set(GYRENA_REPOSITORY_URL "https://github.com/gyrena/gyrena"
    CACHE STRING "Public home of the project: homepage and screenshot links in the AppStream file")
set(GYRENA_PACKAGE_CONTACT "Gyrena maintainers <maintainers@gyrena.invalid>"
    CACHE STRING "Maintainer of the Debian package (a role address, not a person)")
set(GYRENA_PROJECT_LICENSE "LicenseRef-proprietary"
    CACHE STRING "SPDX expression of the program's licence, for the AppStream file")
set(GYRENA_ICON_SIZES 16 32 48 64 128 256)

set(_pkg_src "${CMAKE_CURRENT_LIST_DIR}")
set(_pkg_gen "${CMAKE_BINARY_DIR}/packaging")

install(TARGETS gyrena-route RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
# The land check's S2 Geometry part, loaded by the programs on first use.
install(TARGETS gyrena_s2land LIBRARY DESTINATION "${GYRENA_LAND_MODULE_DIR}")
configure_file("${_pkg_src}/gyrena-route.1.in" "${_pkg_gen}/gyrena-route.1" @ONLY)
install(FILES "${_pkg_gen}/gyrena-route.1" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")

install(FILES "${CMAKE_SOURCE_DIR}/assets/cities/world.gcl"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/gyrena/cities")

install(FILES "${_pkg_src}/${GYRENA_APP_ID}.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages")

# Where the data built into the programs come from, and their licences.
configure_file("${_pkg_src}/copyright.in" "${_pkg_gen}/copyright" @ONLY)
install(FILES "${_pkg_gen}/copyright" DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/gyrena")

if(GYRENA_BUILD_UI)
  install(TARGETS gyrena RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  configure_file("${_pkg_src}/gyrena.1.in" "${_pkg_gen}/gyrena.1" @ONLY)
  install(FILES "${_pkg_gen}/gyrena.1" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
  install(FILES "${_pkg_src}/${GYRENA_APP_ID}.desktop"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
  configure_file("${_pkg_src}/${GYRENA_APP_ID}.metainfo.xml.in"
                 "${_pkg_gen}/${GYRENA_APP_ID}.metainfo.xml" @ONLY)
  install(FILES "${_pkg_gen}/${GYRENA_APP_ID}.metainfo.xml"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

  foreach(size IN LISTS GYRENA_ICON_SIZES)
    install(FILES "${CMAKE_SOURCE_DIR}/assets/icons/gyrena-${size}.png"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
            RENAME gyrena.png)
  endforeach()
  install(FILES "${CMAKE_SOURCE_DIR}/assets/icons/gyrena.svg"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
endif()

# The Debian package.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "gyrena")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Gyrena maintainers")
set(CPACK_PACKAGE_CONTACT "${GYRENA_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "great-circle distance and course calculator")
set(CPACK_PACKAGE_DESCRIPTION
    "Gyrena computes the great-circle distance and the courses between two places
on the globe, given as degrees, minutes and N/S/E/W letters or picked from a
city list. It shows the arc in degrees, the distance in nautical and statute
miles, the initial course, the course of arrival and the sides and angles of
the spherical triangle through the north pole. Routes are saved to and opened
from small .gdf data files; city lists (.gcl) are read, and any of the world's
towns and airports can be found by name or code (GeoNames, CC BY 4.0, and
OurAirports, public domain).
The package also holds gyrena-route, which computes routes from the command
line.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "science")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The legal time of a voyage's places comes from the system's time-zone data.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "tzdata")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# No maintainer scripts: the caches of menus, icons, MIME types and manual pages are
# refreshed by the dpkg triggers of desktop-file-utils, hicolor-icon-theme, shared-mime-info
# and man-db when those are installed.
include(CPack)
