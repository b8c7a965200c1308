# Runs a QtTest program under Wine, where what it prints to the console is lost: its log goes to a
# file, which is then shown, and its exit status is the test's.
#   -DEMULATOR=<wine> -DPROGRAM=<test.exe> -DLOG=<file>
file(REMOVE ${LOG})
execute_process(COMMAND ${EMULATOR} ${PROGRAM} -o ${LOG},txt RESULT_VARIABLE result)
if(EXISTS ${LOG})
    file(READ ${LOG} log)
    message("${log}")
endif()
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} exited with ${result}")
endif()
