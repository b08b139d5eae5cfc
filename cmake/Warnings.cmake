# Warnings on for our own targets; third-party code is left alone. With
# KX_WERROR (on in the presets the test command builds) a warning stops the
# build, so that none slips through a green test run.
option(KX_WERROR "Treat the project's own warnings as errors" OFF)

function(kx_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                             -Wno-sign-conversion -Werror=return-type
                                             $<$<BOOL:${KX_WERROR}>:-Werror>)
endfunction()

# Everything Windows-side links statically so it runs on a bare Windows.
function(kx_static_windows target)
    if(WIN32)
        target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
    endif()
endfunction()
