# Makes the Debian packages and unpacks them into a private root, as dpkg would install them; then
# builds and runs the outside program against that root, once with CMake and once with a plain
# compiler line from pkg-config. Arguments: -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK_DIR=...
# -DQT_MAJOR_VERSION=5|6 -DNAME_SUFFIX=(empty, or -qt6 for a Qt 6 build) -DDOCS=ON|OFF
file(REMOVE_RECURSE ${WORK_DIR})
set(root ${WORK_DIR}/root)

function(run what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(result)
        message(FATAL_ERROR "${what} failed (${result}):\n${out}")
    endif()
endfunction()

get_filename_component(cmakeDir ${CMAKE_COMMAND} DIRECTORY)
run("making the packages" ${cmakeDir}/cpack -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}/packages)
file(GLOB packages ${WORK_DIR}/packages/*.deb)
foreach(package ${packages})
    run("unpacking ${package}" dpkg-deb -x ${package} ${root})
endforeach()

# The package made from the components whose name is given.
function(package_file variable name)
    file(GLOB found ${WORK_DIR}/packages/${name}_*.deb)
    if(NOT found)
        message(FATAL_ERROR "no package ${name} among: ${packages}")
    endif()
    set(${variable} ${found} PARENT_SCOPE)
endfunction()

function(control_field variable package field)
    execute_process(COMMAND dpkg-deb -f ${package} ${field} OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE)
    set(${variable} "${value}" PARENT_SCOPE)
endfunction()

# Debian names a library's package after its soname: libvdsessionsettings1, libvdsessionsettings-qt6-1.
if(NAME_SUFFIX)
    set(libraryPackage libvdsessionsettings${NAME_SUFFIX}-1)
else()
    set(libraryPackage libvdsessionsettings1)
endif()

# Debian's names for what the library links, from dpkg-shlibdeps.
package_file(library ${libraryPackage})
control_field(depends ${library} Depends)
if(NOT depends MATCHES "libqt${QT_MAJOR_VERSION}core${QT_MAJOR_VERSION}")
    message(FATAL_ERROR "the library's package does not depend on Qt ${QT_MAJOR_VERSION} Core: ${depends}")
endif()

# What building against the development package takes, which dpkg-shlibdeps cannot know.
package_file(devel libvdsessionsettings${NAME_SUFFIX}-dev)
control_field(develDepends ${devel} Depends)
if(QT_MAJOR_VERSION EQUAL 5)
    set(qtDevPackages qtbase5-dev qtdeclarative5-dev)
else()
    set(qtDevPackages qt${QT_MAJOR_VERSION}-base-dev qt${QT_MAJOR_VERSION}-declarative-dev)
endif()
foreach(needed ${libraryPackage} ${qtDevPackages} libspdlog-dev)
    if(NOT develDepends MATCHES "(^|, )${needed}( |,|$)")
        message(FATAL_ERROR "the development package does not depend on ${needed}: ${develDepends}")
    endif()
endforeach()

# A Qt 6 build's packages install beside the Qt 5 build's: every file has a path of its own, but
# the tool's, whose package replaces the Qt 5 build's.
if(NAME_SUFFIX)
    foreach(package ${packages})
        control_field(name ${package} Package)
        if(name STREQUAL "vdsession${NAME_SUFFIX}")
            continue()
        endif()
        execute_process(COMMAND dpkg-deb -c ${package} OUTPUT_VARIABLE listing)
        string(REGEX MATCHALL "\\./usr/[^ \n]*[^/\n]\n" files "${listing}")
        foreach(path ${files})
            if(NOT path MATCHES "qt${QT_MAJOR_VERSION}")
                message(FATAL_ERROR "${name} installs ${path} where the Qt 5 build's package would too")
            endif()
        endforeach()
    endforeach()
endif()

# The API reference, when it was built: the HTML pages, and the Qt help file in Qt's own
# documentation folder, where Qt Creator finds it.
if(DOCS)
    package_file(doc libvdsessionsettings${NAME_SUFFIX}-doc)
    control_field(architecture ${doc} Architecture)
    if(NOT architecture STREQUAL "all")
        message(FATAL_ERROR "the reference's package is for ${architecture}, not for all")
    endif()
    execute_process(COMMAND dpkg-deb -c ${doc} OUTPUT_VARIABLE listing)
    foreach(expected "./usr/share/doc/vdsessionsettings${NAME_SUFFIX}/html/index.html"
                     "./usr/share/doc/vdsessionsettings${NAME_SUFFIX}/html/classVdSessionSettings.html"
                     "./usr/share/qt${QT_MAJOR_VERSION}/doc/vdsessionsettings.qch")
        string(FIND "${listing}" " ${expected}\n" at)
        if(at EQUAL -1)
            message(FATAL_ERROR "the reference's package lacks ${expected}:\n${listing}")
        endif()
    endforeach()
endif()

run("configuring with CMake" ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/cmake -DCMAKE_PREFIX_PATH=${root}/usr)
run("building with CMake" ${CMAKE_COMMAND} --build ${WORK_DIR}/cmake)
run("the program built with CMake" ${WORK_DIR}/cmake/consumer)

# A project that says which Qt it builds against is given the build for that Qt, and passes over
# a build for another.
run("configuring with CMake for Qt ${QT_MAJOR_VERSION}" ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/cmake-same-qt
    -DCMAKE_PREFIX_PATH=${root}/usr -DQT_MAJOR_VERSION=${QT_MAJOR_VERSION})
math(EXPR otherQt "11 - ${QT_MAJOR_VERSION}")
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/cmake-other-qt
                        -DCMAKE_PREFIX_PATH=${root}/usr -DQT_VERSION_MAJOR=${otherQt}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result OR NOT out MATCHES "Qt ${QT_MAJOR_VERSION}")
    message(FATAL_ERROR "a project for Qt ${otherQt} was given the build for Qt ${QT_MAJOR_VERSION}:\n${out}")
endif()

# The file names /usr; the unpacked root stands in for it.
set(pkgConfigName vdsessionsettings${NAME_SUFFIX})
file(GLOB_RECURSE pcFile ${root}/*/${pkgConfigName}.pc)
file(READ ${pcFile} pc)
string(REGEX REPLACE "(^|\n)prefix=/usr" "\\1prefix=${root}/usr" pc "${pc}")
file(WRITE ${WORK_DIR}/pkgconfig/${pkgConfigName}.pc "${pc}")
set(ENV{PKG_CONFIG_PATH} ${WORK_DIR}/pkgconfig)
execute_process(COMMAND pkg-config --cflags --libs ${pkgConfigName}
                OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE result)
if(result)
    message(FATAL_ERROR "pkg-config does not know ${pkgConfigName}")
endif()
# A plain compiler line honours CXXFLAGS and LDFLAGS, as CMake does above; the sanitized suite
# needs its runtime in this program too.
separate_arguments(flags UNIX_COMMAND "$ENV{CXXFLAGS} ${flags} $ENV{LDFLAGS}")
run("building with pkg-config" c++ ${SOURCE_DIR}/main.cpp ${flags} -o ${WORK_DIR}/pkgconfig/consumer)
get_filename_component(libDir ${pcFile} DIRECTORY)
get_filename_component(libDir ${libDir} DIRECTORY)
set(ENV{LD_LIBRARY_PATH} ${libDir})
run("the program built with pkg-config" ${WORK_DIR}/pkgconfig/consumer)

# The tool's package comes with its manual page and its shell completion.
file(GLOB toolPackage ${WORK_DIR}/packages/vdsession_*.deb ${WORK_DIR}/packages/vdsession-qt6_*.deb)
if(NOT toolPackage)
    message(FATAL_ERROR "no package of the vdsession tool among the packages made")
endif()
execute_process(COMMAND dpkg-deb -c ${toolPackage} OUTPUT_VARIABLE toolFiles)
foreach(file ./usr/share/man/man1/vdsession.1 ./usr/share/bash-completion/completions/vdsession)
    if(NOT toolFiles MATCHES " ${file}\n")
        message(FATAL_ERROR "the vdsession package has no ${file}:\n${toolFiles}")
    endif()
endforeach()
