# Checks every #include "folder/..." under src/ against the layers of
# cmake/Layers.cmake, and the table of ARCHITECTURE.md against them. The
# build already refuses an include of a folder a library cannot see; this
# names the exact row, which is narrower than what a library sees through the
# public headers of those it links, and keeps the document true. A folder
# missing from the layers fails too: a new subsystem states its place before
# it builds.
#
#   cmake -DSOURCE_DIR=<checkout> -P CheckIncludes.cmake

cmake_minimum_required(VERSION 3.25)
include(${SOURCE_DIR}/cmake/Layers.cmake)

set(faults 0)
macro(fault text)
    message(SEND_ERROR "${text}")
    math(EXPR faults "${faults} + 1")
endmacro()

# The document's table: a row per folder, its second column the same row.
file(STRINGS "${SOURCE_DIR}/ARCHITECTURE.md" rows ENCODING UTF-8 REGEX "^\\| `[a-z]+` \\|")
set(documented)
foreach(row IN LISTS rows)
    string(REGEX MATCH "^\\| `([a-z]+)` \\|([^|]*)\\|" _ "${row}")
    set(folder "${CMAKE_MATCH_1}")
    string(REGEX MATCHALL "`[a-z]+`" shown "${CMAKE_MATCH_2}")
    string(REPLACE "`" "" shown "${shown}")
    list(APPEND documented ${folder})
    set(expected ${VANTO_LAYER_${folder}})
    list(SORT shown)
    list(SORT expected)
    if(NOT folder IN_LIST VANTO_LAYERS)
        fault("ARCHITECTURE.md shows ${folder}, which cmake/Layers.cmake does not have")
    elseif(NOT "${shown}" STREQUAL "${expected}")
        fault("ARCHITECTURE.md gives ${folder} the row '${shown}', cmake/Layers.cmake '${VANTO_LAYER_${folder}}'")
    endif()
endforeach()
foreach(folder IN LISTS VANTO_LAYERS)
    if(NOT folder IN_LIST documented)
        fault("${folder} of cmake/Layers.cmake is missing from the table of ARCHITECTURE.md")
    endif()
endforeach()

file(GLOB folders LIST_DIRECTORIES true RELATIVE "${SOURCE_DIR}/src" "${SOURCE_DIR}/src/*")
foreach(folder IN LISTS folders)
    if(NOT IS_DIRECTORY "${SOURCE_DIR}/src/${folder}")
        continue()
    endif()
    if(NOT folder IN_LIST VANTO_LAYERS)
        fault("src/${folder} is missing from the layers of cmake/Layers.cmake")
        continue()
    endif()
    file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}"
        "${SOURCE_DIR}/src/${folder}/*.h" "${SOURCE_DIR}/src/${folder}/*.cpp")
    foreach(source IN LISTS sources)
        file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[a-z]+/")
        foreach(line IN LISTS includes)
            string(REGEX MATCH "\"([a-z]+)/" _ "${line}")
            if(NOT CMAKE_MATCH_1 STREQUAL folder AND NOT CMAKE_MATCH_1 IN_LIST VANTO_LAYER_${folder})
                string(STRIP "${line}" line)
                fault("${source}: ${line}: ${folder} may not include ${CMAKE_MATCH_1}")
            endif()
        endforeach()
    endforeach()
endforeach()
if(faults GREATER 0)
    message(FATAL_ERROR "${faults} fault(s) against the layers of cmake/Layers.cmake")
endif()
