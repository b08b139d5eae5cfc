# Warnings on for our own targets; third-party code is left alone.
function(kx_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                             -Wno-sign-conversion -Werror=return-type)
endfunction()

# Everything Windows-side links statically so it runs on a bare Windows.
function(kx_static_windows target)
    if(WIN32)
        target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
    endif()
endfunction()
