# Run at install time, when the prefix is final: `cmake --install --prefix` and the package
# both choose it after configuring, and the entry has to name the program where it lands.
#   sp_template, sp_output    the entry's template and the file written from it
#   sp_bindir, sp_docdir      where the program and the documents go, relative to the prefix
#                             or absolute
foreach(dir sp_bindir sp_docdir)
    if(NOT IS_ABSOLUTE "${${dir}}")
        set(${dir} "${CMAKE_INSTALL_PREFIX}/${${dir}}")
    endif()
endforeach()
if("${sp_bindir}${sp_docdir}" MATCHES "[\n\r]")
    message(FATAL_ERROR "A desktop entry cannot name a folder with a line break in it: ${sp_bindir}, ${sp_docdir}")
endif()

# Exec= is read twice: first as a string value (backslash escapes), then split into
# arguments, where a path with a space or a shell character must stand in double quotes
# with \ " ` $ escaped. A literal % is written %% so that it is not taken for a field code.
set(sp_exec "${sp_bindir}/spring-pendulum")
if(sp_exec MATCHES "[ \t\"'\\\\><~|&;$*?#()`]")
    foreach(c "\\" "\"" "`" "$")
        string(REPLACE "${c}" "\\${c}" sp_exec "${sp_exec}")
    endforeach()
    set(sp_exec "\"${sp_exec}\"")
endif()
string(REPLACE "\\" "\\\\" sp_exec "${sp_exec}")
string(REPLACE "%" "%%" sp_exec "${sp_exec}")

# Path= is a plain string value: only its backslashes are escaped.
string(REPLACE "\\" "\\\\" sp_path "${sp_docdir}")

configure_file("${sp_template}" "${sp_output}" @ONLY)
