# Embedded resources, addressed by type and name.
#
# On Windows they go into a resource script (names and types upper-case, as the
# resource compiler stores them); elsewhere into a generated C++ table that the
# POSIX resource store searches.
#
#   kx_add_catalogue_entry(TYPE NAME FILE [DEPENDS targets...])
#       adds an entry to the program's catalogue.
#   kx_embed_resources(target [CATALOGUE] [ENTRIES "TYPE|NAME|FILE"...] [DEPENDS targets...])
#       builds the catalogue and/or the given entries into target. On Windows the
#       generated script is ${CMAKE_CURRENT_BINARY_DIR}/<target>_resources.rc; a
#       target with a resource script of its own passes NO_RC and #includes it.

function(kx_add_catalogue_entry type name file)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    set_property(GLOBAL APPEND PROPERTY KX_CATALOGUE "${type}|${name}|${file}")
    if(ARG_DEPENDS)
        set_property(GLOBAL APPEND PROPERTY KX_CATALOGUE_DEPENDS ${ARG_DEPENDS})
    endif()
endfunction()

function(kx_embed_resources target)
    cmake_parse_arguments(ARG "CATALOGUE;NO_RC" "" "ENTRIES;DEPENDS" ${ARGN})
    set(entries ${ARG_ENTRIES})
    set(deps ${ARG_DEPENDS})
    if(ARG_CATALOGUE)
        get_property(catalogue GLOBAL PROPERTY KX_CATALOGUE)
        get_property(catalogue_deps GLOBAL PROPERTY KX_CATALOGUE_DEPENDS)
        list(PREPEND entries ${catalogue})
        list(APPEND deps ${catalogue_deps})
    endif()

    set(files "")
    set(lines "")
    foreach(entry IN LISTS entries)
        string(REPLACE "|" ";" parts "${entry}")
        list(GET parts 0 type)
        list(GET parts 1 name)
        list(GET parts 2 file)
        list(APPEND files "${file}")
        string(TOUPPER "${type}" type)
        string(TOUPPER "${name}" name)
        if(WIN32)
            string(APPEND lines "${name} ${type} \"${file}\"\n")
        else()
            string(APPEND lines "${type}|${name}|${file}\n")
        endif()
    endforeach()

    if(WIN32)
        set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.rc")
        file(GENERATE OUTPUT "${rc}" CONTENT "LANGUAGE 0, 0\n${lines}")
        if(NOT ARG_NO_RC)
            target_sources(${target} PRIVATE "${rc}")
        endif()
        set_property(SOURCE "${rc}" APPEND PROPERTY OBJECT_DEPENDS ${files})
        get_target_property(own_sources ${target} SOURCES)
        foreach(src IN LISTS own_sources)
            if(src MATCHES "\\.rc$")
                set_property(SOURCE "${src}" APPEND PROPERTY OBJECT_DEPENDS "${rc}" ${files})
            endif()
        endforeach()
        target_include_directories(${target} PRIVATE "${CMAKE_CURRENT_BINARY_DIR}")
    else()
        set(list_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.list")
        set(table "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp")
        file(GENERATE OUTPUT "${list_file}" CONTENT "${lines}")
        add_custom_command(OUTPUT "${table}"
            COMMAND kx_embed_table "${list_file}" "${table}"
            DEPENDS kx_embed_table "${list_file}" ${files}
            COMMENT "Embedding resources into ${target}"
            VERBATIM)
        target_sources(${target} PRIVATE "${table}")
    endif()
    if(deps)
        add_dependencies(${target} ${deps})
    endif()
endfunction()
