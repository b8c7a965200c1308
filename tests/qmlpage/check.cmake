# Runs the QML examples offscreen and checks what they print. The editor changes the JPEG quality
# through "Settings" and saves; the page, opened by qmlscene or qml with no host, reads the saved
# file back. Arguments: -DEDITOR=... -DRUNNER=... -DIMPORT_DIR=... -DPAGES_DIR=... -DWORK_DIR=...
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/home)
file(COPY ${PAGES_DIR}/showsession.qml ${PAGES_DIR}/session.vdp DESTINATION ${WORK_DIR})
set(ENV{HOME} ${WORK_DIR}/home)
set(ENV{QT_QPA_PLATFORM} offscreen)
set(ENV{QT_QUICK_BACKEND} software)
# The host registers "Settings" itself; the module on the import path must not split the object.
set(ENV{QML2_IMPORT_PATH} ${IMPORT_DIR})
set(ENV{QML_IMPORT_PATH} ${IMPORT_DIR})

function(expect output)
    foreach(line ${ARGN})
        string(FIND "${output}" "${line}" at)
        if(at EQUAL -1)
            message(FATAL_ERROR "missing \"${line}\" in:\n${output}")
        endif()
    endforeach()
endfunction()

execute_process(COMMAND ${EDITOR} ${WORK_DIR}/session.vdp WORKING_DIRECTORY ${WORK_DIR}
                OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE result TIMEOUT 60)
if(result)
    message(FATAL_ERROR "the editor failed (${result}):\n${out}")
endif()
expect("${out}" "jpeg quality was 85" "jpeg quality now 60" "saving jpeg quality 60")
file(READ ${WORK_DIR}/session.vdp saved)
expect("${saved}" "\"jpeg_quality\": 60")

get_filename_component(runnerName ${RUNNER} NAME)
if(runnerName STREQUAL "qmlscene")
    set(command ${RUNNER} -I ${IMPORT_DIR} ${WORK_DIR}/showsession.qml --quit)
else()
    set(command ${RUNNER} -I ${IMPORT_DIR} ${WORK_DIR}/showsession.qml -- --quit)
endif()
unset(ENV{QML2_IMPORT_PATH})
unset(ENV{QML_IMPORT_PATH})
# In the sanitized suite the plugin carries AddressSanitizer, which must be the first library of
# the process; the runner is Qt's own program, so its leaks at exit are not looked for.
if(ASAN_RUNTIME)
    set(ENV{LD_PRELOAD} ${ASAN_RUNTIME})
    set(ENV{ASAN_OPTIONS} "$ENV{ASAN_OPTIONS}:detect_leaks=0")
endif()
execute_process(COMMAND ${command} WORKING_DIRECTORY ${WORK_DIR}
                OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE result TIMEOUT 60)
if(result)
    message(FATAL_ERROR "${runnerName} failed (${result}):\n${out}")
endif()
expect("${out}" "vm: DSN-WIN11-004" "server: 10.8.0.12:8860" "protocol: vdp" "skin: light" "jpeg quality: 60")
