# kx_windows_text(SOURCE OUTPUT)
#     writes OUTPUT as SOURCE (UTF-8) with a byte order mark and CR LF line
#     ends, when configuring: Notepad of every Windows shows it right, where
#     a file without the mark is read in the ANSI code page (GBK) and loses
#     its Chinese characters, and one without CR runs into a single line.
function(kx_windows_text source output)
    file(READ "${source}" text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    string(ASCII 239 187 191 bom)
    if(NOT text MATCHES "^${bom}")
        string(PREPEND text "${bom}")
    endif()
    file(WRITE "${output}" "${text}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${source}")
endfunction()
