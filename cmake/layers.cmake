# The folders of src/ depend only downwards. sq_layers() gives their order, sq_add_library() makes
# the library of one folder, and the build keeps the order on what CMake and the compiler resolved:
#  - links, once every CMakeLists.txt has been read: each library of src/ that a library reaches
#    through its whole link closure (aliases, imported, interface and object libraries included,
#    whatever their names) lies below it, and every source compiled into it lies in its own folder;
#  - includes, each time a library is built (check_includes.cmake): every file its objects were
#    compiled from, as the compiler's dependency files list it and with links resolved, lies in its
#    own folder, in the folder of a library it links, or outside src/.
# Every library includes headers as "folder/file.h" through the same include path, src/.

set(SQ_INCLUDE_CHECK "${CMAKE_CURRENT_LIST_DIR}/check_includes.cmake")
# The Makefile generators leave the compiler's dependency files beside the objects; Ninja reads them
# into its own log and deletes them.
if(NOT CMAKE_GENERATOR MATCHES "Makefiles")
    message(FATAL_ERROR "The build checks each library's includes in the dependency files the compiler "
                        "writes, which only the Makefile generators keep: configure with -G \"Unix Makefiles\"")
endif()

# sq_layers(FOLDER... ): the folders of src/ from the bottom up; folders in one argument, separated
# by spaces, are peers and use none of each other.
function(sq_layers)
    set(rank 0)
    foreach(level ${ARGN})
        math(EXPR rank "${rank} + 1")
        string(REPLACE " " ";" folders "${level}")
        foreach(folder ${folders})
            set_property(GLOBAL PROPERTY "SQ_RANK:${folder}" ${rank})
        endforeach()
    endforeach()
endfunction()

# sq_add_library(NAME src/FOLDER [LINKS...]): the static library of every .cpp and .h in FOLDER,
# linking LINKS (libraries below it, Qt's, system libraries).
function(sq_add_library name dir)
    string(REGEX REPLACE "^src/" "" folder "${dir}")
    get_property(rank GLOBAL PROPERTY "SQ_RANK:${folder}")
    if(NOT rank)
        message(FATAL_ERROR "${name}: the folder ${dir} is not in the order of the folders (sq_layers)")
    endif()
    file(GLOB sources LIST_DIRECTORIES false CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${dir}/*.cpp"
         "${CMAKE_SOURCE_DIR}/${dir}/*.h")
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC "${CMAKE_SOURCE_DIR}/src")
    target_link_libraries(${name} PUBLIC ${ARGN})
    set_target_properties(${name} PROPERTIES SQ_FOLDER "${folder}" SQ_RANK ${rank}
                                             LINK_DEPENDS "${SQ_INCLUDE_CHECK}")
    set_property(GLOBAL APPEND PROPERTY SQ_LAYER_LIBRARIES ${name})
endfunction()

# The names an item of a link list gives: itself, or each word inside a generator expression
# ($<LINK_ONLY:x>, $<$<CONFIG:…>:x>, …). CMake's "::@…" marks give none.
function(sq_link_names item out)
    set(names "")
    if(item MATCHES "\\$<")
        string(REGEX MATCHALL "[A-Za-z0-9_.+-]+(::[A-Za-z0-9_.+-]+)*" names "${item}")
    elseif(NOT item MATCHES "^::@")
        set(names "${item}")
    endif()
    set(${out} "${names}" PARENT_SCOPE)
endfunction()

# Marks the imported targets that only their own folder sees, so that a link to one from there is
# refused rather than left unfollowed.
function(sq_mark_hidden_targets dir)
    get_property(subdirectories DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
    foreach(subdirectory ${subdirectories})
        get_property(imported DIRECTORY "${subdirectory}" PROPERTY IMPORTED_TARGETS)
        foreach(target ${imported})
            if(NOT TARGET "${target}")
                set_property(GLOBAL PROPERTY "SQ_HIDDEN_TARGET:${target}" "${subdirectory}")
            endif()
        endforeach()
        sq_mark_hidden_targets("${subdirectory}")
    endforeach()
endfunction()

# Refuses a library that reaches, through any chain of links, a library of src/ that is not below it.
# Sets OUT to the libraries of src/ it reaches, and OUT_targets to every target it reaches.
function(sq_check_links library out)
    get_target_property(rank ${library} SQ_RANK)
    set(queue ${library})
    set(seen ${library})
    set(reached "")
    set(via_${library} "${library}")
    while(queue)
        list(POP_FRONT queue target)
        string(MAKE_C_IDENTIFIER "${target}" from)
        foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
            get_property(items TARGET ${target} PROPERTY ${property})
            foreach(item ${items})
                sq_link_names("${item}" names)
                foreach(name ${names})
                    get_property(hidden GLOBAL PROPERTY "SQ_HIDDEN_TARGET:${name}")
                    if(hidden)
                        message(FATAL_ERROR "${library} links ${name} (${via_${from}} -> ${name}), a target "
                                            "imported in ${hidden} only, whose links cannot be followed: the "
                                            "folders depend only downwards")
                    elseif(NOT TARGET "${name}")
                        continue()
                    endif()
                    get_target_property(next "${name}" ALIASED_TARGET)
                    if(NOT next)
                        set(next "${name}")
                    endif()
                    if(next IN_LIST seen)
                        continue()
                    endif()
                    list(APPEND seen ${next})
                    list(APPEND queue ${next})
                    string(MAKE_C_IDENTIFIER "${next}" to)
                    set(via_${to} "${via_${from}} -> ${name}")
                    get_property(next_rank TARGET ${next} PROPERTY SQ_RANK)
                    if(next_rank AND NOT next_rank LESS rank)
                        message(FATAL_ERROR "${library} links ${next} (${via_${to}}), which is not below it: "
                                            "the folders depend only downwards")
                    endif()
                    if(next_rank)
                        list(APPEND reached ${next})
                    endif()
                endforeach()
            endforeach()
        endforeach()
    endwhile()
    list(REMOVE_ITEM seen ${library})
    set(${out} "${reached}" PARENT_SCOPE)
    set(${out}_targets "${seen}" PARENT_SCOPE)
endfunction()

# Whether SOURCE may be compiled into a library of the folder OWN: a file of that folder, or one
# outside the project's source and build trees. A generator expression is read word by word: it may
# name no target (an object list, another target's sources) and no file that may not be compiled.
function(sq_source_allowed source own base out)
    set(words "${source}")
    if(source MATCHES "\\$<")
        string(REGEX MATCHALL "[^$<>:,;]+" words "${source}")
    endif()
    set(allowed TRUE)
    foreach(word ${words})
        if(word MATCHES "[/.]")
            file(REAL_PATH "${word}" real BASE_DIRECTORY "${base}")
            get_filename_component(folder "${real}" DIRECTORY)
            string(FIND "${real}/" "${SQ_REAL_SOURCE_DIR}/" in_sources)
            string(FIND "${real}/" "${SQ_REAL_BINARY_DIR}/" in_build)
            if(NOT folder STREQUAL own AND (in_sources EQUAL 0 OR in_build EQUAL 0))
                set(allowed FALSE)
            endif()
        elseif(TARGET "${word}" OR word STREQUAL "TARGET_OBJECTS")
            set(allowed FALSE)
        endif()
    endforeach()
    set(${out} ${allowed} PARENT_SCOPE)
endfunction()

# Refuses a library compiled from a file outside its own folder: its sources, and those that the
# targets it links bring into it (interface sources, the objects of an object library).
function(sq_check_sources library linked_targets)
    get_target_property(folder ${library} SQ_FOLDER)
    file(REAL_PATH "${CMAKE_SOURCE_DIR}/src/${folder}" own)
    foreach(target ${library} ${linked_targets})
        get_target_property(type ${target} TYPE)
        set(properties INTERFACE_SOURCES)
        if(target STREQUAL library OR type STREQUAL "OBJECT_LIBRARY")
            list(APPEND properties SOURCES)
        endif()
        get_property(base TARGET ${target} PROPERTY SOURCE_DIR)
        foreach(property ${properties})
            get_property(sources TARGET ${target} PROPERTY ${property})
            foreach(source ${sources})
                sq_source_allowed("${source}" "${own}" "${base}" allowed)
                if(NOT allowed)
                    set(shown "${source}")
                    if(NOT source MATCHES "\\$<")
                        file(REAL_PATH "${source}" real BASE_DIRECTORY "${base}")
                        string(APPEND shown " (that is ${real})")
                    endif()
                    message(FATAL_ERROR "${library} is compiled from ${shown}, of the ${property} of ${target}, "
                                        "which is not a file of src/${folder}: the folders depend only downwards")
                endif()
            endforeach()
        endforeach()
    endforeach()
endfunction()

# After each build of the library, its objects' includes (check_includes.cmake).
function(sq_add_include_check library linked)
    get_target_property(folders ${library} SQ_FOLDER)
    foreach(other ${linked})
        get_target_property(folder ${other} SQ_FOLDER)
        list(APPEND folders "${folder}")
    endforeach()
    list(JOIN folders "|" folders)
    add_custom_command(TARGET ${library} POST_BUILD
                       COMMAND "${CMAKE_COMMAND}" "-DLIBRARY=${library}" "-DFOLDERS=${folders}"
                               "-DOBJECTS=$<JOIN:$<TARGET_OBJECTS:${library}>,|>"
                               "-DSOURCE_DIR=${CMAKE_SOURCE_DIR}" "-DWORKING_DIR=${CMAKE_CURRENT_BINARY_DIR}"
                               -P "${SQ_INCLUDE_CHECK}"
                       VERBATIM)
endfunction()

function(sq_check_layers)
    file(REAL_PATH "${CMAKE_SOURCE_DIR}" SQ_REAL_SOURCE_DIR)
    file(REAL_PATH "${CMAKE_BINARY_DIR}" SQ_REAL_BINARY_DIR)
    sq_mark_hidden_targets("${CMAKE_SOURCE_DIR}")
    get_property(libraries GLOBAL PROPERTY SQ_LAYER_LIBRARIES)
    foreach(library ${libraries})
        sq_check_links(${library} linked)
        sq_check_sources(${library} "${linked_targets}")
        sq_add_include_check(${library} "${linked}")
    endforeach()
endfunction()
cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL sq_check_layers)
