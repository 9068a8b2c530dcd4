# Runs the companion tool for the experiments guide and writes the guide with the results in:
# the two resonance pictures it refers to and the numbers its text quotes. So the guide shows
# what this very program computes, and follows it when the model changes.
#   cmake -DTOOL=… -DSOURCE=spravka2.html -DOUTPUT=…/spravka2.html -DFIGURES=…/figures -P guide_figures.cmake
cmake_minimum_required(VERSION 3.22)  # the list commands keep empty cells

# In the sanitizer build the tool is sanitized too; the font libraries it loads are not, and
# their allocations would be reported as leaks at its exit.
set(ENV{ASAN_OPTIONS} "detect_leaks=0")
set(ENV{QT_QPA_PLATFORM} "offscreen")

function(run_tool out_var)
    execute_process(COMMAND ${TOOL} ${ARGN} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "${TOOL} ${ARGN}: status ${rc}\n${err}")
    endif()
    set(${out_var} "${out}" PARENT_SCOPE)
endfunction()

# A decimal number rounded to `decimals` places, written with a decimal comma as the guide's
# prose does. Numbers in exponent form are left as the tool wrote them.
function(rounded value decimals out_var)
    if(NOT value MATCHES "^([0-9]+)\\.?([0-9]*)$")
        set(${out_var} "${value}" PARENT_SCOPE)
        return()
    endif()
    set(whole "${CMAKE_MATCH_1}")
    set(digits "${CMAKE_MATCH_2}0000000000")
    string(SUBSTRING "${digits}" 0 ${decimals} kept)
    string(SUBSTRING "${digits}" ${decimals} 1 next)
    string(REGEX REPLACE "^0+([0-9])" "\\1" kept_int "${kept}")
    set(unit 1)
    foreach(i RANGE 1 ${decimals})
        math(EXPR unit "${unit} * 10")
    endforeach()
    math(EXPR scaled "${whole} * ${unit} + ${kept_int}")
    if(next GREATER_EQUAL 5)
        math(EXPR scaled "${scaled} + 1")
    endif()
    math(EXPR w "${scaled} / ${unit}")
    math(EXPR f "${scaled} % ${unit} + ${unit}")  # the leading 1 keeps the zeros
    string(SUBSTRING "${f}" 1 ${decimals} f)
    set(${out_var} "${w},${f}" PARENT_SCOPE)
endfunction()

function(trust tol out_var)
    run_tool(out --trust=${tol})
    string(REGEX REPLACE "^t_trust=([^\n]*)\n$" "\\1" t "${out}")
    rounded("${t}" 2 r)
    set(${out_var} "${r}" PARENT_SCOPE)
endfunction()

# The row of a sweep's CSV with the largest value in column `column` (0 = beta).
function(peak csv column out_row)
    string(REPLACE "\n" ";" rows "${csv}")
    list(REMOVE_AT rows 0)
    set(best "")
    set(best_value -1)
    foreach(row IN LISTS rows)
        string(REPLACE "," ";" cells "${row}")
        list(LENGTH cells n)
        if(n LESS 5)
            continue()
        endif()
        list(GET cells ${column} v)
        if(v GREATER best_value)
            set(best_value "${v}")
            set(best "${cells}")
        endif()
    endforeach()
    set(${out_row} "${best}" PARENT_SCOPE)
endfunction()

run_tool(defaults_csv --sweep=0:2.5:200 --png=${FIGURES}/defaults)
run_tool(damped_csv --sweep=0:1.5:151 --alpha=0.1 --png=${FIGURES}/damped)

trust(1e-3 T_TRUST_1E3)
trust(1e-2 T_TRUST_1E2)

peak("${defaults_csv}" 2 row)
list(GET row 0 b)
list(GET row 2 a)
rounded("${b}" 3 DEFAULTS_PEAK_BETA)
rounded("${a}" 2 DEFAULTS_PEAK_AX)

peak("${damped_csv}" 2 row)
list(GET row 0 b)
list(GET row 2 a)
rounded("${b}" 2 DAMPED_PEAK_BETA)
rounded("${a}" 3 DAMPED_PEAK_AX)
peak("${damped_csv}" 4 row)
list(GET row 0 b)
list(GET row 4 a)
rounded("${b}" 2 DAMPED_LINEAR_BETA)
rounded("${a}" 3 DAMPED_LINEAR_AX)
peak("${damped_csv}" 3 row)
list(GET row 0 b)
list(GET row 3 a)
rounded("${b}" 2 DAMPED_PEAK_AY_BETA)
rounded("${a}" 3 DAMPED_PEAK_AY)

file(READ "${SOURCE}" html)
string(CONFIGURE "${html}" html @ONLY)
file(WRITE "${OUTPUT}" "${html}")
