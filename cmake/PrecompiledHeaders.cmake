# Precompiled headers for the libraries of src/ and the programs of tests/.
#
# Most of a source's compile time went into the system headers it includes
# (the standard library, Qt, GoogleTest), parsed again for every source. Here
# each set of them is compiled once per build, by a small target of its own,
# and every library and test program reuses it (REUSE_FROM). A target gets
# the set of the Qt modules it compiles against: a library the widest module
# it links itself (one that links no Qt keeps to the standard library, even
# where a library it links hands Qt's include path on), a test program the
# widest it sees through everything it links; test programs add GoogleTest.
# A target that another package defines macros for (SDL's _REENTRANT, which
# the C library's headers read) gets none: those headers would differ.
#
# A precompiled header only serves sources compiled with the flags it was
# made with. The compilers check most of them (GCC refuses the header with
# -Winvalid-pch, an error under -Werror; clang fails), so libraries and test
# programs have owners of their own kind: libraries are built as
# position-independent code, test programs as position-independent
# executables with the options of vanto_test_options(), and the Qt test
# helpers compiled once for several programs, position-independent through
# Qt, share the programs' headers. The optimisation level GCC leaves
# unchecked (and may crash on), so a target whose own compile options differ
# from its owner's gets none.
#
# ccache caches these compiles too with the sloppiness set in the top-level
# CMakeLists.txt. -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON builds without them,
# which shows a source that uses a system header it does not include.

set(VANTO_PCH_STD
    <algorithm> <array> <atomic> <cctype> <chrono> <climits> <cmath> <cstddef> <cstdint>
    <cstdio> <cstdlib> <cstring> <deque> <filesystem> <fstream> <functional> <iterator>
    <limits> <map> <memory> <mutex> <numbers> <optional> <set> <span> <sstream> <stdexcept>
    <string> <string_view> <system_error> <thread> <utility> <variant> <vector>)
set(VANTO_PCH_Core
    <QByteArray> <QCoreApplication> <QDir> <QFile> <QFileInfo> <QObject> <QProcess>
    <QSaveFile> <QStandardPaths> <QString> <QStringList> <QTemporaryDir> <QTemporaryFile>
    <QTimer>)
set(VANTO_PCH_Gui <QColor> <QFont> <QGuiApplication> <QImage> <QImageReader> <QPainter>)
set(VANTO_PCH_Widgets
    <QAbstractItemView> <QAction> <QApplication> <QCheckBox> <QCloseEvent> <QComboBox>
    <QDateTime> <QDialog> <QFileDialog> <QGridLayout> <QGroupBox> <QHBoxLayout> <QHeaderView>
    <QLabel> <QListWidget> <QMenu> <QMouseEvent> <QPixmap> <QPointer> <QProgressBar>
    <QPushButton> <QRadioButton> <QResizeEvent> <QScreen> <QSpinBox> <QStackedWidget>
    <QStatusBar> <QStyle> <QStyledItemDelegate> <QTableWidget> <QThread> <QToolButton>
    <QTreeView> <QUrl> <QVBoxLayout> <QWidget>)
# Qt Test's headers are left out: they read the test program's own folders
# (QT_TESTCASE_BUILDDIR), which differ from program to program.
set(VANTO_PCH_TEST <gtest/gtest.h>)

# Qt modules from the narrowest; each one's set includes those before it.
set(VANTO_PCH_QT_MODULES Core Gui Widgets)

# _vanto_compiled_against(TARGET): what TARGET compiles against, through
# what it links and what those hand on: sets VANTO_QT_OWN to the widest Qt
# module it links itself, VANTO_QT_SEEN to the widest it sees (each empty for
# none), and VANTO_FOREIGN_MACROS to the macros other packages define for it.
function(_vanto_compiled_against target)
    set(queue ${target})
    set(visited)
    set(own -1)
    set(seen -1)
    set(macros)
    while(queue)
        list(POP_FRONT queue current)
        if(current IN_LIST visited OR NOT TARGET ${current})
            continue()
        endif()
        list(APPEND visited ${current})
        if(current MATCHES "^Qt6::(.*)$")
            list(FIND VANTO_PCH_QT_MODULES "${CMAKE_MATCH_1}" index)
            if(index GREATER seen)
                set(seen ${index})
            endif()
        elseif(NOT current MATCHES "^GTest::")
            get_target_property(imported ${current} IMPORTED)
            if(imported)
                get_target_property(options ${current} INTERFACE_COMPILE_OPTIONS)
                get_target_property(definitions ${current} INTERFACE_COMPILE_DEFINITIONS)
                list(FILTER options INCLUDE REGEX "^-D")
                list(FILTER definitions EXCLUDE REGEX "NOTFOUND$")
                list(APPEND macros ${options} ${definitions})
            endif()
        endif()
        set(links)
        if(current STREQUAL target)
            get_target_property(links ${current} LINK_LIBRARIES)
            foreach(link IN LISTS links)
                if(link MATCHES "^Qt6::(.*)$")
                    list(FIND VANTO_PCH_QT_MODULES "${CMAKE_MATCH_1}" index)
                    if(index GREATER own)
                        set(own ${index})
                    endif()
                endif()
            endforeach()
        endif()
        get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
        list(APPEND links ${interface})
        foreach(link IN LISTS links)
            # What a static library links privately is linked, not compiled against.
            if(link AND NOT link MATCHES "NOTFOUND$" AND NOT link MATCHES "^\\$<LINK_ONLY:")
                list(APPEND queue ${link})
            endif()
        endforeach()
    endwhile()
    foreach(which own seen)
        set(module "")
        if(${which} GREATER_EQUAL 0)
            list(GET VANTO_PCH_QT_MODULES ${${which}} module)
        endif()
        string(TOUPPER ${which} upper)
        set(VANTO_QT_${upper} "${module}" PARENT_SCOPE)
    endforeach()
    set(VANTO_FOREIGN_MACROS "${macros}" PARENT_SCOPE)
endfunction()

# _vanto_pch_owner(KIND MODULE OUT): the target that compiles the headers of
# KIND (library or test) and Qt MODULE (or none), made on first use.
function(_vanto_pch_owner kind module out)
    if(module)
        set(name vanto_pch_${kind}_${module})
    else()
        set(name vanto_pch_${kind}_std)
    endif()
    set(${out} ${name} PARENT_SCOPE)
    if(TARGET ${name})
        return()
    endif()
    set(headers ${VANTO_PCH_STD})
    set(links)
    foreach(each IN LISTS VANTO_PCH_QT_MODULES)
        if(NOT module)
            break()
        endif()
        list(APPEND headers ${VANTO_PCH_${each}})
        if(each STREQUAL module)
            list(APPEND links Qt6::${module})
            break()
        endif()
    endforeach()
    set(source ${CMAKE_BINARY_DIR}/pch/${name}.cpp)
    file(CONFIGURE OUTPUT ${source}
        CONTENT "// Compiles the precompiled headers of ${name}.\n")
    if(kind STREQUAL "test")
        list(APPEND headers ${VANTO_PCH_TEST})
        add_executable(${name} EXCLUDE_FROM_ALL ${source})
        target_link_libraries(${name} PRIVATE ${links} GTest::gtest GTest::gtest_main)
        vanto_test_options(${name})
        set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/pch)
    else()
        add_library(${name} OBJECT EXCLUDE_FROM_ALL ${source})
        target_link_libraries(${name} PRIVATE ${links})
    endif()
    target_precompile_headers(${name} PRIVATE ${headers})
    get_target_property(options ${name} COMPILE_OPTIONS)
    set_target_properties(${name} PROPERTIES AUTOMOC OFF VANTO_PCH_OPTIONS "${options}")
    if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        # Without it clang writes the header's time into the precompiled
        # file and refuses a copy from ccache made in another build folder.
        target_compile_options(${name} PRIVATE -Xclang -fno-pch-timestamp)
    endif()
endfunction()

# _vanto_reuse(TARGET OWNER): TARGET takes OWNER's precompiled headers if it
# is compiled with the same options (GCC may even crash on headers made at
# another optimisation level).
function(_vanto_reuse target owner)
    get_target_property(options ${target} COMPILE_OPTIONS)
    get_target_property(owner_options ${owner} VANTO_PCH_OPTIONS)
    if(NOT "${options}" STREQUAL "${owner_options}")
        return()
    endif()
    target_precompile_headers(${target} REUSE_FROM ${owner})
    # The file of moc output that AUTOMOC compiles is empty but for the few
    # targets with classes of their own for moc, and loading the headers
    # costs an empty source a second (GCC instantiates their templates anew).
    get_target_property(automoc ${target} AUTOMOC)
    if(automoc)
        get_target_property(autogen_dir ${target} AUTOGEN_BUILD_DIR)
        if(NOT autogen_dir)
            get_target_property(binary_dir ${target} BINARY_DIR)
            set(autogen_dir ${binary_dir}/${target}_autogen)
        endif()
        set_source_files_properties(${autogen_dir}/mocs_compilation.cpp TARGET_DIRECTORY ${target}
            PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
    endif()
endfunction()

# _vanto_targets_under(FOLDER OUT): the targets defined in FOLDER (of the
# source tree) and below it.
function(_vanto_targets_under folder out)
    set(found)
    set(queue ${CMAKE_SOURCE_DIR})
    while(queue)
        list(POP_FRONT queue dir)
        get_property(subdirectories DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
        list(APPEND queue ${subdirectories})
        cmake_path(IS_PREFIX folder ${dir} NORMALIZE inside)
        if(inside)
            get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
            list(APPEND found ${targets})
        endif()
    endwhile()
    set(${out} ${found} PARENT_SCOPE)
endfunction()

# vanto_precompile_headers(): gives every library of src/ and every test
# program of tests/ the precompiled headers of its kind. Called once all
# targets are defined.
function(vanto_precompile_headers)
    if(CMAKE_DISABLE_PRECOMPILE_HEADERS)
        return()
    endif()
    _vanto_targets_under(${CMAKE_SOURCE_DIR}/src libraries)
    foreach(target IN LISTS libraries)
        get_target_property(type ${target} TYPE)
        if(NOT (type STREQUAL "STATIC_LIBRARY" OR type STREQUAL "OBJECT_LIBRARY"))
            continue()
        endif()
        _vanto_compiled_against(${target})
        if(VANTO_FOREIGN_MACROS)
            continue()
        endif()
        set(module "")
        if(VANTO_QT_OWN)
            set(module ${VANTO_QT_SEEN})
        endif()
        _vanto_pch_owner(library "${module}" owner)
        _vanto_reuse(${target} ${owner})
    endforeach()
    if(NOT VANTO_BUILD_TESTS)
        return()
    endif()
    _vanto_targets_under(${CMAKE_SOURCE_DIR}/tests programs)
    foreach(target IN LISTS programs)
        get_target_property(type ${target} TYPE)
        get_target_property(aside ${target} EXCLUDE_FROM_ALL)
        if(aside OR NOT (type STREQUAL "EXECUTABLE" OR type STREQUAL "OBJECT_LIBRARY"))
            continue()
        endif()
        _vanto_compiled_against(${target})
        # Helpers compiled once for several programs are position-independent
        # code, as a program is only where Qt asks for it.
        if(VANTO_FOREIGN_MACROS OR (type STREQUAL "OBJECT_LIBRARY" AND NOT VANTO_QT_SEEN))
            continue()
        endif()
        _vanto_pch_owner(test "${VANTO_QT_SEEN}" owner)
        _vanto_reuse(${target} ${owner})
    endforeach()
endfunction()
