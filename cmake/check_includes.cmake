# cmake -DLIBRARY=name -DFOLDERS=own|linked… -DOBJECTS=object|object… -DSOURCE_DIR=… -DWORKING_DIR=…
#       -P check_includes.cmake
# Fails, naming the source file and the header, when an object of LIBRARY was compiled from a file of
# src/ outside FOLDERS (its own folder, then those of the libraries it links). The compiler's
# dependency file beside each object (<object>.d) lists every file it opened; each is taken at its
# real path, so however the include was written, and whatever include path found it, only where the
# file lies counts. Files outside src/ (Qt's, the system's, generated ones) are free to use.
cmake_minimum_required(VERSION 3.22)
file(REAL_PATH "${SOURCE_DIR}" root)
string(REPLACE "|" ";" folders "${FOLDERS}")
string(REPLACE "|" ";" objects "${OBJECTS}")
list(GET folders 0 own)
list(TRANSFORM folders PREPEND "${root}/src/")

# A path as the messages show it: relative to the source tree when inside it.
function(shown path out)
    string(FIND "${path}" "${root}/" at)
    if(at EQUAL 0)
        file(RELATIVE_PATH path "${root}" "${path}")
    endif()
    set(${out} "${path}" PARENT_SCOPE)
endfunction()

set(faults "")
foreach(object ${objects})
    if(NOT EXISTS "${object}.d")
        message(FATAL_ERROR "${LIBRARY}: ${object}.d is missing; the check of the library's includes reads "
                            "the dependency file the compiler writes beside each object")
    endif()
    file(READ "${object}.d" rule)
    # "object: source header… \" with continued lines, and a space in a path escaped as "\ ".
    string(FIND "${rule}" ": " colon)
    math(EXPR colon "${colon} + 2")
    string(SUBSTRING "${rule}" ${colon} -1 rule)
    string(REGEX REPLACE "\\\\\r?\n" " " rule "${rule}")
    string(REGEX MATCHALL "([^ \t\r\n\\\\]|\\\\.)+" paths "${rule}")
    list(GET paths 0 source)
    foreach(path ${paths})
        if(DEFINED "checked:${path}")
            continue()
        endif()
        set("checked:${path}" 1)
        string(REGEX REPLACE "\\\\(.)" "\\1" unescaped "${path}")
        file(REAL_PATH "${unescaped}" real BASE_DIRECTORY "${WORKING_DIR}")
        get_filename_component(folder "${real}" DIRECTORY)
        string(FIND "${real}" "${root}/src/" at)
        if(at EQUAL 0 AND NOT folder IN_LIST folders)
            shown("${source}" source_shown)
            shown("${unescaped}" header_shown)
            shown("${real}" real_shown)
            if(NOT real_shown STREQUAL header_shown)
                string(APPEND header_shown " (that is ${real_shown})")
            endif()
            string(APPEND faults "${source_shown} includes ${header_shown}, a file of neither src/${own} nor "
                                 "a folder whose library ${LIBRARY} links\n")
        endif()
    endforeach()
endforeach()
if(faults)
    message(FATAL_ERROR "${faults}The folders depend only downwards (cmake/layers.cmake).")
endif()
