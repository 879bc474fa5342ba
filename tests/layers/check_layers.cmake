# Fails when a folder of the core includes a header from a folder above it, or when a source of
# the core library includes a widget header (Qt's or one of the program's widget files).
#   SRC_DIR       the src folder
#   CORE_SOURCES  velm_core's sources, relative to SRC_DIR
#   UI_SOURCES    velm_ui's sources, relative to SRC_DIR
#   WIDGETS_DIRS  the include folders of Qt Widgets

# The layers, lowest first: a folder may include itself, the folders named after it, and the
# basics in src/ itself.
set(layers
    "store: store"
    "protocol: protocol store"
    "upload: upload protocol store")

# The program's own sources only; generated ones (moc, resources) are left out.
list(FILTER CORE_SOURCES INCLUDE REGEX "^[^/].*\\.(h|cpp)$")
list(FILTER UI_SOURCES INCLUDE REGEX "^[^/].*\\.(h|cpp)$")

set(problems "")
set(widget_headers "")
list(FILTER WIDGETS_DIRS INCLUDE REGEX "/QtWidgets/?$")
if(NOT WIDGETS_DIRS)
    message(FATAL_ERROR "The include folder of Qt Widgets is not known")
endif()
foreach(dir IN LISTS WIDGETS_DIRS)
    file(GLOB headers RELATIVE "${dir}" "${dir}/Q*")
    list(APPEND widget_headers ${headers})
endforeach()
list(FILTER widget_headers EXCLUDE REGEX "^QtWidgets")
# Widget files of the program itself, as an include names them.
set(ui_headers "")
foreach(source IN LISTS UI_SOURCES)
    if(source MATCHES "\\.h$")
        list(APPEND ui_headers "${source}")
        get_filename_component(name "${source}" NAME)
        list(APPEND ui_headers "${name}")
    endif()
endforeach()

function(includes_of file out_local out_system)
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    set(local "")
    set(system "")
    foreach(line IN LISTS lines)
        if(line MATCHES "include[ \t]*\"([^\"]+)\"")
            list(APPEND local "${CMAKE_MATCH_1}")
        elseif(line MATCHES "include[ \t]*<([^>]+)>")
            list(APPEND system "${CMAKE_MATCH_1}")
        endif()
    endforeach()
    set(${out_local} "${local}" PARENT_SCOPE)
    set(${out_system} "${system}" PARENT_SCOPE)
endfunction()

# Folders: nothing from above.
foreach(rule IN LISTS layers)
    string(REGEX MATCH "^([a-z]+): (.*)$" matched "${rule}")
    set(folder "${CMAKE_MATCH_1}")
    string(REPLACE " " ";" allowed "${CMAKE_MATCH_2}")
    file(GLOB files RELATIVE "${SRC_DIR}" "${SRC_DIR}/${folder}/*.h" "${SRC_DIR}/${folder}/*.cpp")
    foreach(file IN LISTS files)
        includes_of("${SRC_DIR}/${file}" local system)
        foreach(header IN LISTS local)
            if(header MATCHES "^([^/]+)/")
                list(FIND allowed "${CMAKE_MATCH_1}" index)
                if(index EQUAL -1)
                    list(APPEND problems "${file} includes ${header}, from above its layer")
                endif()
            elseif(NOT EXISTS "${SRC_DIR}/${folder}/${header}" AND NOT EXISTS "${SRC_DIR}/${header}"
                   AND NOT header MATCHES "^ui_")
                list(APPEND problems "${file} includes ${header}, which is neither beside it nor a basic")
            endif()
        endforeach()
    endforeach()
endforeach()

# The core library: no widget header.
foreach(source IN LISTS CORE_SOURCES)
    includes_of("${SRC_DIR}/${source}" local system)
    foreach(header IN LISTS system)
        string(REGEX REPLACE "^QtWidgets/" "" name "${header}")
        list(FIND widget_headers "${name}" index)
        if(NOT index EQUAL -1 OR header MATCHES "^QtWidgets")
            list(APPEND problems "${source} (core) includes the widget header <${header}>")
        endif()
    endforeach()
    foreach(header IN LISTS local)
        list(FIND ui_headers "${header}" index)
        if(NOT index EQUAL -1 OR header MATCHES "^ui_")
            list(APPEND problems "${source} (core) includes the widget file \"${header}\"")
        endif()
    endforeach()
endforeach()

if(problems)
    string(REPLACE ";" "\n  " text "${problems}")
    message(FATAL_ERROR "Layering broken:\n  ${text}")
endif()
list(LENGTH CORE_SOURCES count)
message(STATUS "${count} core sources: layers kept, no widget header")
