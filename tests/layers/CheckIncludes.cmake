# Checks every #include "folder/..." under src/ against the dependency table
# of ARCHITECTURE.md, so an include against the layers fails the tests
# instead of slipping into a review. A folder missing from the table fails
# too: a new subsystem states its place before it builds.
#
#   cmake -DSOURCE_DIR=<checkout> -P CheckIncludes.cmake

cmake_minimum_required(VERSION 3.25)

file(STRINGS "${SOURCE_DIR}/ARCHITECTURE.md" rows ENCODING UTF-8 REGEX "^\\| `[a-z]+` \\|")
foreach(row IN LISTS rows)
    string(REGEX MATCH "^\\| `([a-z]+)` \\|([^|]*)\\|" _ "${row}")
    set(folder "${CMAKE_MATCH_1}")
    string(REGEX MATCHALL "`[a-z]+`" allowed "${CMAKE_MATCH_2}")
    string(REPLACE "`" "" allowed "${allowed}")
    set(allowed_${folder} ${folder} ${allowed})
    list(APPEND known ${folder})
endforeach()
if(NOT known)
    message(FATAL_ERROR "ARCHITECTURE.md has no dependency table")
endif()

set(faults 0)
file(GLOB folders LIST_DIRECTORIES true RELATIVE "${SOURCE_DIR}/src" "${SOURCE_DIR}/src/*")
foreach(folder IN LISTS folders)
    if(NOT IS_DIRECTORY "${SOURCE_DIR}/src/${folder}")
        continue()
    endif()
    if(NOT folder IN_LIST known)
        message(SEND_ERROR "src/${folder} is missing from the dependency table of ARCHITECTURE.md")
        math(EXPR faults "${faults} + 1")
        continue()
    endif()
    file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}"
        "${SOURCE_DIR}/src/${folder}/*.h" "${SOURCE_DIR}/src/${folder}/*.cpp")
    foreach(source IN LISTS sources)
        file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[a-z]+/")
        foreach(line IN LISTS includes)
            string(REGEX MATCH "\"([a-z]+)/" _ "${line}")
            if(NOT CMAKE_MATCH_1 IN_LIST allowed_${folder})
                string(STRIP "${line}" line)
                message(SEND_ERROR "${source}: ${line}: ${folder} may not include ${CMAKE_MATCH_1}")
                math(EXPR faults "${faults} + 1")
            endif()
        endforeach()
    endforeach()
endforeach()
if(faults GREATER 0)
    message(FATAL_ERROR "${faults} include(s) against the layers of ARCHITECTURE.md")
endif()
