cmake_minimum_required(VERSION 3.25)

# Helpers of the end-to-end tests of the fitquill tool. FITQUILL (the program) and WORK (a
# folder of the test's own) come from the test's command line; nothing outside WORK is touched.

# Empties WORK and points every location the tool may consult into it: home, settings, data,
# the Palm Desktop folder (unset: the tests that want one set it) and today's date.
macro(fq_sandbox)
    file(REMOVE_RECURSE "${WORK}")
    file(MAKE_DIRECTORY "${WORK}/home" "${WORK}/config/Quorvel" "${WORK}/data"
                        "${WORK}/sysconfig")
    set(ENV{HOME} "${WORK}/home")
    set(ENV{XDG_CONFIG_HOME} "${WORK}/config")
    set(ENV{XDG_CONFIG_DIRS} "${WORK}/sysconfig")
    set(ENV{XDG_DATA_HOME} "${WORK}/data")
    set(ENV{FITQUILL_TODAY} "2024-03-15")
    unset(ENV{FITQUILL_PALM_ROOT})
endmacro()

# The settings file of the desktop program, with the given lines in its [InstallPath] section.
function(fq_settings)
    string(JOIN "\n" lines ${ARGN})
    file(WRITE "${WORK}/config/Quorvel/Fitquill.conf" "[InstallPath]\n${lines}\n")
endfunction()

# fq_run(<status> <arguments>...): runs the tool in WORK and checks its exit status. FQ_OUT and
# FQ_ERR receive what it wrote. A success leaves standard error empty; a failure leaves exactly
# one line there.
macro(fq_run fq_expected)
    execute_process(COMMAND "${FITQUILL}" ${ARGN}
                    WORKING_DIRECTORY "${WORK}"
                    RESULT_VARIABLE fq_status
                    OUTPUT_VARIABLE FQ_OUT
                    ERROR_VARIABLE FQ_ERR)
    if(NOT "${fq_status}" STREQUAL "${fq_expected}")
        message(FATAL_ERROR "fitquill ${ARGN}: status ${fq_status}, expected ${fq_expected}\n"
                            "stdout: ${FQ_OUT}\nstderr: ${FQ_ERR}")
    endif()
    if("${fq_expected}" EQUAL 0)
        if(NOT FQ_ERR STREQUAL "")
            message(FATAL_ERROR "fitquill ${ARGN}: succeeded with an error text: ${FQ_ERR}")
        endif()
    elseif(NOT FQ_ERR MATCHES "^[^\n]+\n$")
        message(FATAL_ERROR "fitquill ${ARGN}: not one line on standard error: [${FQ_ERR}]")
    endif()
endmacro()

function(fq_expect_equal actual expected what)
    if(NOT "${actual}" STREQUAL "${expected}")
        message(FATAL_ERROR "${what}:\n  got      [${actual}]\n  expected [${expected}]")
    endif()
endfunction()

function(fq_expect_match text regex what)
    if(NOT "${text}" MATCHES "${regex}")
        message(FATAL_ERROR "${what}: [${text}] does not match ${regex}")
    endif()
endfunction()

function(fq_expect_exists path)
    if(NOT EXISTS "${path}")
        message(FATAL_ERROR "${path} should exist")
    endif()
endfunction()

function(fq_expect_missing path)
    if(EXISTS "${path}")
        message(FATAL_ERROR "${path} should not exist")
    endif()
endfunction()

function(fq_expect_same_file a b)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${a}" "${b}"
                    RESULT_VARIABLE differ)
    if(NOT differ EQUAL 0)
        message(FATAL_ERROR "${a} and ${b} differ")
    endif()
endfunction()

# The file must hold exactly `expected` (compared as bytes: file(READ) drops carriage returns).
function(fq_expect_file_bytes path expected what)
    file(WRITE "${path}.expected" "${expected}")
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${path}" "${path}.expected"
                    RESULT_VARIABLE differ)
    if(NOT differ EQUAL 0)
        file(READ "${path}" actual HEX)
        file(READ "${path}.expected" wanted HEX)
        message(FATAL_ERROR "${what}: ${path}\n  got      ${actual}\n  expected ${wanted}")
    endif()
endfunction()

# The lines of a text file whose every line ends with CR LF, without their ends, into `var`.
function(fq_read_crlf_lines path var)
    file(READ "${path}" hex HEX)
    string(REGEX REPLACE "(..)" " \\1" bytes "${hex}")
    string(REGEX MATCHALL " 0a" line_feeds "${bytes}")
    string(REGEX MATCHALL " 0d 0a" line_ends "${bytes}")
    list(LENGTH line_feeds feeds)
    list(LENGTH line_ends ends)
    if(NOT feeds EQUAL ends OR NOT hex MATCHES "0d0a$")
        message(FATAL_ERROR "${path}: not every line ends with CR LF")
    endif()
    file(READ "${path}" text)
    string(REGEX MATCHALL "[^\n]*\n" lines "${text}")
    list(TRANSFORM lines REPLACE "\n$" "")
    set(${var} "${lines}" PARENT_SCOPE)
endfunction()
