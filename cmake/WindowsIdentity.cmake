# What Windows shows of a program of ours, from the one project version: a
# version resource (Explorer's Details tab) and a manifest naming the version
# and the processor architecture of this build.
#
#   kx_windows_identity(target DESCRIPTION text MANIFEST template)
#       writes <target>_identity.rc (the version resource and the manifest as
#       "1 24") and <target>.manifest (template configured) into the current
#       binary folder. The target's own resource script #includes the former.

set(KX_IDENTITY_RC_TEMPLATE "${CMAKE_CURRENT_LIST_DIR}/identity.rc.in")

function(kx_windows_identity target)
    cmake_parse_arguments(ARG "" "DESCRIPTION;MANIFEST" "" ${ARGN})
    get_target_property(base ${target} OUTPUT_NAME)
    if(NOT base)
        set(base ${target})
    endif()
    set(KX_FILE_DESCRIPTION "${ARG_DESCRIPTION}")
    set(KX_INTERNAL_NAME "${base}")
    set(KX_ORIGINAL_FILENAME "${base}.exe")
    set(KX_MANIFEST_FILE "${target}.manifest")
    # Manifests want four parts; the fourth is never used.
    set(KX_MANIFEST_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
    # A 64-bit test build that asked for x86 side-by-side assemblies (the
    # common controls) would get none of them.
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(KX_MANIFEST_ARCH amd64)
    else()
        set(KX_MANIFEST_ARCH x86)
    endif()

    set(manifest "${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest")
    set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}_identity.rc")
    configure_file("${ARG_MANIFEST}" "${manifest}" @ONLY)
    configure_file("${KX_IDENTITY_RC_TEMPLATE}" "${rc}" @ONLY)
    target_include_directories(${target} PRIVATE "${CMAKE_CURRENT_BINARY_DIR}")
    get_target_property(sources ${target} SOURCES)
    foreach(src IN LISTS sources)
        if(src MATCHES "\\.rc$")
            set_property(SOURCE "${src}" APPEND PROPERTY OBJECT_DEPENDS "${rc}" "${manifest}")
        endif()
    endforeach()
endfunction()
