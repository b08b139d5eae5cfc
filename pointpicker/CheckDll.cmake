# cmake -DDLL=<file> -P CheckDll.cmake
#
# Fails unless DLL is what a 32-bit KX can load: a PE32 image for i386 marked
# as a DLL, with its entry point set. Guards against a build that quietly
# picked up another compiler.

function(read_uint offset size out)
    file(READ "${DLL}" hex OFFSET ${offset} LIMIT ${size} HEX)
    string(LENGTH "${hex}" length)
    math(EXPR expected "${size} * 2")
    if(NOT length EQUAL expected)
        message(FATAL_ERROR "${DLL}: cut off at offset ${offset}")
    endif()
    # Little-endian: the last byte is the most significant.
    set(value "")
    math(EXPR last "${size} - 1")
    foreach(i RANGE ${last} 0 -1)
        math(EXPR at "${i} * 2")
        string(SUBSTRING "${hex}" ${at} 2 byte)
        string(APPEND value "${byte}")
    endforeach()
    math(EXPR value "0x${value}")
    set(${out} ${value} PARENT_SCOPE)
endfunction()

if(NOT EXISTS "${DLL}")
    message(FATAL_ERROR "no file at ${DLL}")
endif()
file(READ "${DLL}" mz LIMIT 2 HEX)
if(NOT mz STREQUAL "4d5a")
    message(FATAL_ERROR "${DLL}: not a Windows executable")
endif()
read_uint(60 4 pe)
file(READ "${DLL}" signature OFFSET ${pe} LIMIT 4 HEX)
if(NOT signature STREQUAL "50450000")
    message(FATAL_ERROR "${DLL}: no PE signature")
endif()
math(EXPR at "${pe} + 4")
read_uint(${at} 2 machine)
math(EXPR at "${pe} + 22")
read_uint(${at} 2 characteristics)
math(EXPR at "${pe} + 24")
read_uint(${at} 2 magic)
math(EXPR at "${pe} + 40")
read_uint(${at} 4 entry)

if(NOT machine EQUAL 332)  # 0x14C, i386
    message(FATAL_ERROR "${DLL}: machine ${machine}, not i386: GetPointXY.dll must be 32-bit")
endif()
if(NOT magic EQUAL 267)  # 0x10B, PE32
    message(FATAL_ERROR "${DLL}: optional header ${magic}, not PE32")
endif()
math(EXPR is_dll "${characteristics} & 8192")  # IMAGE_FILE_DLL
if(is_dll EQUAL 0)
    message(FATAL_ERROR "${DLL}: not marked as a DLL")
endif()
if(entry EQUAL 0)
    message(FATAL_ERROR "${DLL}: no entry point")
endif()
