# kxgen's options as the packages describe them (its manual page, its bash
# and PowerShell completions), read from the table kxgen itself parses:
# kOptions in app/cli/CliOptions.cpp, whose rows start
#     {"--long", 'x' or 0, OptionValue::None|Name|Project|Folder, Apply,
#      {"English help, split in" "literals\n" "...", "Chinese help"}},
# so that a new option there reaches the packages with nothing else to edit.
# The package test holds what is made from it against kxgen --help.
#
#   kx_kxgen_options(PREFIX)
#       sets PREFIX (the long names in the table's order) and, for each long
#       name N, PREFIX_N_SHORT ("-y" or ""), PREFIX_N_VALUE ("NAME", "DIR" or
#       ""), PREFIX_N_PROJECT (TRUE when the value names an existing project)
#       and PREFIX_N_HELP (the English help on one line).

set(KX_CLI_OPTIONS_SOURCE "${CMAKE_CURRENT_LIST_DIR}/../app/cli/CliOptions.cpp")

function(kx_kxgen_options prefix)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${KX_CLI_OPTIONS_SOURCE}")
    file(READ "${KX_CLI_OPTIONS_SOURCE}" text)
    string(FIND "${text}" "const Option kOptions[] = {\n" start)
    if(start EQUAL -1)
        message(FATAL_ERROR "${KX_CLI_OPTIONS_SOURCE}: no kOptions table")
    endif()
    string(SUBSTRING "${text}" ${start} -1 text)
    string(FIND "${text}" "\n};" end)
    string(SUBSTRING "${text}" 0 ${end} text)
    # A ";" in a help text would split CMake's lists.
    string(REPLACE ";" "<kx-semicolon>" text "${text}")
    string(REPLACE "\n    {\"--" ";{\"--" rows "${text}")
    list(REMOVE_AT rows 0)
    set(names "")
    foreach(row IN LISTS rows)
        if(NOT row MATCHES "^{\"(--[a-z0-9-]+)\", ('([A-Za-z0-9])'|0), OptionValue::([A-Za-z]+), [A-Za-z_<>&:, ]+,[ \n]*{(\"([^\"\\\\]|\\\\.)*\"[ \n]*)+,")
            string(SUBSTRING "${row}" 0 60 start)
            message(FATAL_ERROR "${KX_CLI_OPTIONS_SOURCE}: an option row of an unknown shape: ${start}")
        endif()
        set(name "${CMAKE_MATCH_1}")
        set(short "")
        if(CMAKE_MATCH_3)
            set(short "-${CMAKE_MATCH_3}")
        endif()
        set(value "")
        set(project FALSE)
        if(CMAKE_MATCH_4 STREQUAL "Project")
            set(project TRUE)
        endif()
        if(CMAKE_MATCH_4 STREQUAL "Name" OR CMAKE_MATCH_4 STREQUAL "Project")
            set(value NAME)
        elseif(CMAKE_MATCH_4 STREQUAL "Folder")
            set(value DIR)
        endif()
        # The English help: its literals joined, line breaks as spaces.
        string(REGEX REPLACE "^{\"--[^{]*{" "" help "${row}")
        string(REGEX MATCH "^(\"([^\"\\\\]|\\\\.)*\"[ \n]*)+," help "${help}")
        string(REGEX REPLACE "\"[ \n]*\"" "" help "${help}")
        string(REGEX REPLACE "^\"(.*)\"[ \n]*,$" "\\1" help "${help}")
        string(REPLACE "\\n" " " help "${help}")
        string(REPLACE "\\\"" "\"" help "${help}")
        string(REPLACE "<kx-semicolon>" ";" help "${help}")
        list(APPEND names "${name}")
        set(${prefix}_${name}_SHORT "${short}" PARENT_SCOPE)
        set(${prefix}_${name}_VALUE "${value}" PARENT_SCOPE)
        set(${prefix}_${name}_PROJECT ${project} PARENT_SCOPE)
        set(${prefix}_${name}_HELP "${help}" PARENT_SCOPE)
    endforeach()
    set(${prefix} "${names}" PARENT_SCOPE)
endfunction()
