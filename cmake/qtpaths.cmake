# query_qt(<variable> <property>): a path Qt reports about itself, such as QT_INSTALL_QML, the way
# qmake -query (Qt 5) or qtpaths -query (Qt 6) prints it.
function(query_qt variable property)
    if(QT_MAJOR_VERSION EQUAL 5)
        get_target_property(tool Qt5::qmake LOCATION)
    else()
        get_target_property(tool Qt6::qtpaths LOCATION)
    endif()
    execute_process(COMMAND ${tool} -query ${property} OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE)
    set(${variable} ${value} PARENT_SCOPE)
endfunction()
