# cmake -DIN=gbk-header -DOUT=ascii-header -P GbkEscape.cmake
#
# Copies a GBK header, writing every double-byte character (and any other byte
# from 0x80 up) as octal escapes. Both bytes of a character are escaped: the
# second one may be 0x5C, a backslash, or a letter. Octal escapes end after
# three digits, so a digit that follows stays a digit.

file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" length)
set(text "")
set(escapeNext FALSE)
set(pos 0)
while(pos LESS length)
    string(SUBSTRING "${hex}" ${pos} 2 pair)
    math(EXPR byte "0x${pair}")
    if(escapeNext OR byte GREATER_EQUAL 128)
        math(EXPR high "${byte} / 64")
        math(EXPR middle "(${byte} / 8) % 8")
        math(EXPR low "${byte} % 8")
        string(APPEND text "\\${high}${middle}${low}")
        if(NOT escapeNext AND byte GREATER_EQUAL 129 AND byte LESS_EQUAL 254)
            set(escapeNext TRUE)
        else()
            set(escapeNext FALSE)
        endif()
    else()
        string(ASCII ${byte} char)
        string(APPEND text "${char}")
    endif()
    math(EXPR pos "${pos} + 2")
endwhile()
file(WRITE "${OUT}" "${text}")
