# Readable UTF-8 sources turned into the GBK (code page 936) bytes the program
# uses, at build time. Templates and the program's own texts go the same way.
#
#   kx_gbk_file(SOURCE OUTPUT)
#       OUTPUT is SOURCE converted to GBK, byte for byte what the program embeds.
#   kx_gbk_header(SOURCE OUTPUT)
#       SOURCE is a C header written in UTF-8; OUTPUT is the same header in
#       plain ASCII whose non-ASCII characters are octal escapes of their GBK
#       bytes, so that C and C++ compilers of any execution character set give
#       the program the GBK bytes.

find_program(ICONV iconv REQUIRED)

set(KX_GBK_ESCAPE_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/GbkEscape.cmake")

function(kx_gbk_file source output)
    add_custom_command(OUTPUT "${output}"
        COMMAND "${ICONV}" -f UTF-8 -t CP936 -o "${output}" "${source}"
        DEPENDS "${source}"
        COMMENT "Converting ${source} to GBK"
        VERBATIM)
endfunction()

function(kx_gbk_header source output)
    kx_gbk_file("${source}" "${output}.gbk")
    add_custom_command(OUTPUT "${output}"
        COMMAND "${CMAKE_COMMAND}" "-DIN=${output}.gbk" "-DOUT=${output}" -P "${KX_GBK_ESCAPE_SCRIPT}"
        DEPENDS "${output}.gbk" "${KX_GBK_ESCAPE_SCRIPT}"
        COMMENT "Escaping the GBK bytes of ${output}"
        VERBATIM)
endfunction()
