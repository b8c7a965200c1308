# Lists what the shared library exports and fails on any symbol that is not a member of a class or
# namespace the public headers declare (or that class's vtable and type information): the private
# record and helpers stay inside the library.
#   -DLIBRARY=<file> -DLISTER=<objdump or nm> -DFORMAT=pe|elf -DDEMANGLER=<c++filt>
if(FORMAT STREQUAL "pe")
    execute_process(COMMAND ${LISTER} -p ${LIBRARY} OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
    # The name pointer table's lines: "\t[  12] _ZN17VdSessionSettings...".
    string(FIND "${listing}" "[Ordinal/Name Pointer] Table" namesStart)
    string(SUBSTRING "${listing}" ${namesStart} -1 listing)
    string(REGEX MATCHALL "\t\\[ *[0-9]+\\] [^\n]+" entries "${listing}")
    list(TRANSFORM entries REPLACE "\t\\[ *[0-9]+\\] " "")
else()
    execute_process(COMMAND ${LISTER} -D --defined-only --format=posix ${LIBRARY} OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
    string(REPLACE "\n" ";" lines "${listing}")
    set(entries "")
    foreach(line IN LISTS lines)
        # Strong definitions only: the weak and unique ones (W, V, u) are the copies of templates and
        # type information that ELF's vague linkage shares between modules, not part of the API.
        if(line MATCHES "^([^ ]+) [ABDGRSTi] ")
            list(APPEND entries "${CMAKE_MATCH_1}")
        endif()
    endforeach()
endif()
if(failed OR NOT entries)
    message(FATAL_ERROR "cannot list the exports of ${LIBRARY}")
endif()

set(public "^((vtable|typeinfo|typeinfo name) for )?(VdSessionSettings|VdSessionCheck|VdSessionFiles)(::|$)")
set(unexpected "")
foreach(entry IN LISTS entries)
    # AddressSanitizer marks each exported global with an ODR indicator of its own.
    string(REGEX REPLACE "^__odr_asan[._]" "" entry "${entry}")
    execute_process(COMMAND ${DEMANGLER} "${entry}" OUTPUT_VARIABLE name OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT name MATCHES "${public}")
        list(APPEND unexpected "${name}")
    endif()
endforeach()
list(LENGTH entries count)
if(unexpected)
    list(JOIN unexpected "\n  " shown)
    message(FATAL_ERROR "${LIBRARY} exports what no public header declares:\n  ${shown}")
endif()
message(STATUS "${count} exports, all declared by the public headers")
