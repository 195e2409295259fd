# The Debian package: `cpack -G DEB` in the build folder (or plain `cpack`) packs the install of
# the vesk-resource-editor component under /usr. Its dependencies come from the shared libraries
# the programs link (dpkg-shlibdeps), plus what the editor loads at run time.
set(VESK_PACKAGE_MAINTAINER "Vesk Resource Editor developers <vesk-resource-editor@users.invalid>"
  CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_PACKAGE_NAME vesk-resource-editor)
set(CPACK_PACKAGE_VENDOR "Vesk Resource Editor developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${VESK_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "dialog designer for Lumo terminal applications")
# The long description in lines of at most 80 characters, as Debian's control files want.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "The Vesk Resource Editor designs the dialogs of the Lumo user-interface library\n"
  "for terminals and mobile devices: a resource tree of layout groups and objects\n"
  "with a property grid, a preview of each dialog, a link to a connected terminal\n"
  "and a C++ skeleton generator. veskres checks, formats, lays out and renders\n"
  "projects and generates skeletons from the command line.")
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};vesk-resource-editor;/")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})

set(CPACK_DEBIAN_PACKAGE_NAME vesk-resource-editor)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VESK_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its platform plugins (xcb, wayland, offscreen) at run time; no library links them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The editor's texts are Japanese; the menu icon needs the icon theme's index.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic, hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
