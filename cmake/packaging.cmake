# pkg-config file and Debian packages.
#
# Install components, one Debian package each (the Qt 6 build's names in brackets, so that both
# builds' libraries and development files install side by side):
#   library   the shared library                       libvdsessionsettings1 (libvdsessionsettings-qt6-1)
#   devel     headers, CMake package, pkg-config file  libvdsessionsettings-dev (libvdsessionsettings-qt6-dev)
#   standins  the companion libraries' stand-ins        vdsessionsettings-standins-dev (vdsessionsettings-qt6-standins-dev)
#   qml       the QML module com.virtual.vdi            qml-module-com-virtual-vdi (qml6-module-com-virtual-vdi)
#   tool      the vdsession command                     vdsession (vdsession-qt6, which replaces vdsession)
#   doc       the API reference, with -DVDSESSION_DOCS  libvdsessionsettings-doc (libvdsessionsettings-qt6-doc)

# The prefix is only known when installing: a package installs under /usr, a build under
# CMAKE_INSTALL_PREFIX or cmake --install --prefix. So the file is completed at install time.
set(PKGCONFIG_PREFIX "@PKGCONFIG_PREFIX@")
set(pkgConfigFile ${VDSESSION_LIBRARY_NAME}.pc)
configure_file(cmake/vdsessionsettings.pc.in ${PROJECT_BINARY_DIR}/${pkgConfigFile}.in @ONLY)
install(CODE "
    set(PKGCONFIG_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
    configure_file(\"${PROJECT_BINARY_DIR}/${pkgConfigFile}.in\" \"${PROJECT_BINARY_DIR}/${pkgConfigFile}\" @ONLY)
    " COMPONENT devel)
install(FILES ${PROJECT_BINARY_DIR}/${pkgConfigFile}
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT devel)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vdsessionsettings)
set(CPACK_PACKAGE_VENDOR "VdSessionSettings developers")
set(CPACK_PACKAGE_CONTACT "VdSessionSettings developers <vdsessionsettings@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Settings of a virtual-desktop client session")
# CMAKE_INSTALL_PREFIX is then the package's /usr while installing, which the pkg-config file needs.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_STRIP_FILES ON)

# Debian's own package names come from dpkg-shlibdeps. It finds the library in the build tree for
# the plugin and the tool; their dependency on it comes from the components below.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/vdsessionsettings)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

# Debian names a library's package after its soname, with a hyphen before the version when the
# name ends in a digit.
if(VDSESSION_NAME_SUFFIX)
    set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME lib${VDSESSION_LIBRARY_NAME}-${PROJECT_VERSION_MAJOR})
else()
    set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME lib${VDSESSION_LIBRARY_NAME}${PROJECT_VERSION_MAJOR})
endif()
set(CPACK_COMPONENT_LIBRARY_DESCRIPTION "Every setting of one virtual-desktop client session")

set(CPACK_DEBIAN_DEVEL_PACKAGE_NAME lib${VDSESSION_LIBRARY_NAME}-dev)
set(CPACK_DEBIAN_DEVEL_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVEL_DESCRIPTION "Headers, CMake package and pkg-config file of vdsessionsettings")
set(CPACK_COMPONENT_DEVEL_DEPENDS library)
# What building against the package takes besides the library, which dpkg-shlibdeps cannot see:
# Qt's development files, which the CMake package and the pkg-config file require; Qt Qml's, for
# the programs that register the QML singleton; and spdlog's, for those that route the library's
# log lines through a default logger of their own.
if(QT_MAJOR_VERSION EQUAL 5)
    set(CPACK_DEBIAN_DEVEL_PACKAGE_DEPENDS
        "qtbase5-dev (>= ${QT_MIN_VERSION}), qtdeclarative5-dev (>= ${QT_MIN_VERSION}), libspdlog-dev")
else()
    set(CPACK_DEBIAN_DEVEL_PACKAGE_DEPENDS
        "qt${QT_MAJOR_VERSION}-base-dev (>= ${QT_MIN_VERSION}), qt${QT_MAJOR_VERSION}-declarative-dev (>= ${QT_MIN_VERSION}), libspdlog-dev")
endif()
# Not a dependency: a system with the real companion libraries has their headers instead.
set(CPACK_DEBIAN_DEVEL_PACKAGE_RECOMMENDS vdsessionsettings${VDSESSION_NAME_SUFFIX}-standins-dev)

set(CPACK_DEBIAN_STANDINS_PACKAGE_NAME vdsessionsettings${VDSESSION_NAME_SUFFIX}-standins-dev)
set(CPACK_DEBIAN_STANDINS_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_STANDINS_DESCRIPTION
    "Stand-ins for the client's companion libraries (vdicommon, internationalization, moduleinfo)")

if(QT_MAJOR_VERSION EQUAL 5)
    set(CPACK_DEBIAN_QML_PACKAGE_NAME qml-module-com-virtual-vdi)
else()
    set(CPACK_DEBIAN_QML_PACKAGE_NAME qml${QT_MAJOR_VERSION}-module-com-virtual-vdi)
endif()
set(CPACK_COMPONENT_QML_DESCRIPTION "QML module com.virtual.vdi 1.0 with the singleton Settings")
set(CPACK_COMPONENT_QML_DEPENDS library)

# Only the components listed here become packages; the tool installs itself as "tool".
set(CPACK_COMPONENTS_ALL library devel standins qml)
if(TARGET vdsession)
    list(APPEND CPACK_COMPONENTS_ALL tool)
endif()
set(CPACK_DEBIAN_TOOL_PACKAGE_NAME vdsession${VDSESSION_NAME_SUFFIX})
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION utils)
set(CPACK_COMPONENT_TOOL_DESCRIPTION "Command-line tool for session files")
set(CPACK_COMPONENT_TOOL_DEPENDS library)
if(VDSESSION_NAME_SUFFIX)
    # The same command, built against another Qt: either build's tool installs /usr/bin/vdsession.
    set(CPACK_DEBIAN_TOOL_PACKAGE_CONFLICTS vdsession)
    set(CPACK_DEBIAN_TOOL_PACKAGE_REPLACES vdsession)
    set(CPACK_DEBIAN_TOOL_PACKAGE_PROVIDES vdsession)
endif()

# The API reference, only when it was built; it is the same whatever the architecture.
if(VDSESSION_DOCS)
    list(APPEND CPACK_COMPONENTS_ALL doc)
endif()
set(CPACK_DEBIAN_DOC_PACKAGE_NAME lib${VDSESSION_LIBRARY_NAME}-doc)
set(CPACK_DEBIAN_DOC_PACKAGE_SECTION doc)
set(CPACK_DEBIAN_DOC_PACKAGE_ARCHITECTURE all)
set(CPACK_COMPONENT_DOC_DESCRIPTION "API reference of vdsessionsettings, as HTML and as a Qt help file for Qt Creator")

include(CPack)
