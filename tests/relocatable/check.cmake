cmake_minimum_required(VERSION 3.16)
# Installed into a prefix of its own, the tool runs without LD_LIBRARY_PATH: it finds the library
# through its run path. Arguments: -DBUILD_DIR=... -DWORK_DIR=... -DEXAMPLE=...
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/prefix
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE err)
if(result)
    message(FATAL_ERROR "installing into ${WORK_DIR}/prefix failed (${result}):\n${err}")
endif()
unset(ENV{LD_LIBRARY_PATH})
execute_process(COMMAND ${WORK_DIR}/prefix/bin/vdsession show ${EXAMPLE}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(result OR NOT out MATCHES "getVmName")
    message(FATAL_ERROR "the installed tool did not run (${result}):\n${out}${err}")
endif()
