# The layers of src/: one folder per subsystem, each allowed to include its
# own headers and those of the folders in its row, nothing else. The build
# and the test layers.includes both read this table; ARCHITECTURE.md shows
# it to readers and is held to it by that test.
#
# The build enforces it: a library's sources find headers only through
# folders of links in the build tree, one per subsystem, holding a link to
# that subsystem's sources alone. A library sees its own folder and its row's;
# what links it sees its own folder alone, plus what that library links
# publicly in turn. An include the wrong way is then a missing file.

# Folders in dependency order: every folder comes after those in its row.
set(VANTO_LAYERS base raster effects imaging model motion subject sound mpegdll music screen
    video showbuild disc cli app)

set(VANTO_LAYER_base)
set(VANTO_LAYER_raster)
set(VANTO_LAYER_effects base raster)
set(VANTO_LAYER_imaging base raster)
set(VANTO_LAYER_model base)
set(VANTO_LAYER_motion base raster model)
set(VANTO_LAYER_subject base raster imaging model motion)
set(VANTO_LAYER_sound base)
set(VANTO_LAYER_mpegdll)
set(VANTO_LAYER_music base model sound mpegdll)
set(VANTO_LAYER_screen base raster effects imaging model motion)
set(VANTO_LAYER_video base raster sound)
set(VANTO_LAYER_showbuild base raster effects imaging model motion subject sound video)
set(VANTO_LAYER_disc base video)
set(VANTO_LAYER_cli base raster effects imaging model motion subject sound music video showbuild
    disc)
set(VANTO_LAYER_app base raster imaging model motion subject sound music screen video showbuild
    disc cli)

# Where the folders of links live; a script run (the include test) has no build tree.
if(CMAKE_BINARY_DIR)
    set(VANTO_LAYER_INCLUDE_DIR ${CMAKE_BINARY_DIR}/layers)
endif()

# Makes <build>/layers/FOLDER/FOLDER, a relative link to src/FOLDER, for
# every folder of the table, so a build tree moved whole still works.
function(vanto_make_layer_links)
    foreach(folder IN LISTS VANTO_LAYERS)
        set(dir ${VANTO_LAYER_INCLUDE_DIR}/${folder})
        file(MAKE_DIRECTORY ${dir})
        file(RELATIVE_PATH target ${dir} ${CMAKE_SOURCE_DIR}/src/${folder})
        file(CREATE_LINK ${target} ${dir}/${folder} SYMBOLIC)
    endforeach()
endfunction()

# vanto_layer_includes(TARGET [FOLDER]): TARGET, a library of src/FOLDER (by
# default the folder being configured), sees the headers of FOLDER and its
# row; whatever links TARGET sees FOLDER alone.
function(vanto_layer_includes target)
    if(ARGC GREATER 1)
        set(folder ${ARGV1})
    else()
        get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    endif()
    if(NOT folder IN_LIST VANTO_LAYERS)
        message(FATAL_ERROR "src/${folder} is missing from the layers of cmake/Layers.cmake")
    endif()
    target_include_directories(${target} PUBLIC ${VANTO_LAYER_INCLUDE_DIR}/${folder})
    foreach(seen IN LISTS VANTO_LAYER_${folder})
        target_include_directories(${target} PRIVATE ${VANTO_LAYER_INCLUDE_DIR}/${seen})
    endforeach()
    set_property(TARGET ${target} PROPERTY VANTO_LAYER ${folder})
    set_property(GLOBAL APPEND PROPERTY VANTO_LAYER_TARGETS ${target})
endfunction()

# Every library links only libraries of its own folder and its row: a link
# upward would hand the upper folder's headers down with it.
function(vanto_check_layer_links)
    get_property(targets GLOBAL PROPERTY VANTO_LAYER_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(folder ${target} VANTO_LAYER)
        get_target_property(links ${target} LINK_LIBRARIES)
        get_target_property(interface_links ${target} INTERFACE_LINK_LIBRARIES)
        set(all_links ${links} ${interface_links})
        list(REMOVE_DUPLICATES all_links)
        foreach(linked IN LISTS all_links)
            if(NOT TARGET ${linked})
                continue()
            endif()
            get_target_property(linked_folder ${linked} VANTO_LAYER)
            if(linked_folder AND NOT linked_folder STREQUAL folder
               AND NOT linked_folder IN_LIST VANTO_LAYER_${folder})
                message(SEND_ERROR
                    "${target} (src/${folder}) links ${linked} of src/${linked_folder}, "
                    "which is not in its row of cmake/Layers.cmake")
            endif()
        endforeach()
    endforeach()
endfunction()
