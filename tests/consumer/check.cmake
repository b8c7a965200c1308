# Makes the Debian packages and unpacks them into a private root, as dpkg would install them; then
# builds and runs the outside program against that root, once with CMake and once with a plain
# compiler line from pkg-config. Arguments: -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK_DIR=...
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

# Debian's names for what the library links, from dpkg-shlibdeps.
file(GLOB library ${WORK_DIR}/packages/libvdsessionsettings[0-9]*.deb)
execute_process(COMMAND dpkg-deb -f ${library} Depends OUTPUT_VARIABLE depends)
if(NOT depends MATCHES "libqt[56]core[56]")
    message(FATAL_ERROR "the library's package does not depend on Qt Core: ${depends}")
endif()

run("configuring with CMake" ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/cmake -DCMAKE_PREFIX_PATH=${root}/usr)
run("building with CMake" ${CMAKE_COMMAND} --build ${WORK_DIR}/cmake)
run("the program built with CMake" ${WORK_DIR}/cmake/consumer)

# The file names /usr; the unpacked root stands in for it.
file(GLOB_RECURSE pcFile ${root}/*/vdsessionsettings.pc)
file(READ ${pcFile} pc)
string(REGEX REPLACE "(^|\n)prefix=/usr" "\\1prefix=${root}/usr" pc "${pc}")
file(WRITE ${WORK_DIR}/pkgconfig/vdsessionsettings.pc "${pc}")
set(ENV{PKG_CONFIG_PATH} ${WORK_DIR}/pkgconfig)
execute_process(COMMAND pkg-config --cflags --libs vdsessionsettings
                OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE result)
if(result)
    message(FATAL_ERROR "pkg-config does not know vdsessionsettings")
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
file(GLOB toolPackage ${WORK_DIR}/packages/vdsession_*.deb)
execute_process(COMMAND dpkg-deb -c ${toolPackage} OUTPUT_VARIABLE toolFiles)
foreach(file ./usr/share/man/man1/vdsession.1 ./usr/share/bash-completion/completions/vdsession)
    if(NOT toolFiles MATCHES " ${file}\n")
        message(FATAL_ERROR "the vdsession package has no ${file}:\n${toolFiles}")
    endif()
endforeach()
