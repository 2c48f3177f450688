# Run by "cmake --install": puts the command "rydex" on the PATH as a link to
# the installed program and writes the desktop entry, whose Exec names that
# command by its full path, so the entry starts the program even where the
# prefix's bin folder is not on the desktop session's PATH (~/.local/bin).
# Given (folders relative to the prefix, or absolute): rydex_bindir,
# rydex_program, rydex_entry_dir, rydex_entry_template, rydex_entry_name.

foreach(var rydex_bindir rydex_program rydex_entry_dir)
  if(NOT IS_ABSOLUTE "${${var}}")
    set(${var} "${CMAKE_INSTALL_PREFIX}/${${var}}")
  endif()
endforeach()

# A relative link, so a staged installation (DESTDIR) links within itself.
file(RELATIVE_PATH link "${rydex_bindir}" "${rydex_program}")
set(command "$ENV{DESTDIR}${rydex_bindir}/rydex")
message(STATUS "Installing: ${command} -> ${link}")
file(MAKE_DIRECTORY "$ENV{DESTDIR}${rydex_bindir}")
file(CREATE_LINK "${link}" "${command}" SYMBOLIC)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${command}")

# Exec's quoting: a path of plain characters stands as it is; any other is
# put in double quotes, with '"', '`', '$' and '\' escaped by a backslash,
# and each backslash doubled again for the file's string escapes.
set(rydex_exec "${rydex_bindir}/rydex")
if(NOT rydex_exec MATCHES "^[A-Za-z0-9/._+-]+$")
  string(REPLACE "\\" "\\\\" rydex_exec "${rydex_exec}")
  string(REGEX REPLACE "([\"`$])" "\\\\\\1" rydex_exec "${rydex_exec}")
  string(REPLACE "\\" "\\\\" rydex_exec "${rydex_exec}")
  set(rydex_exec "\"${rydex_exec}\"")
endif()
set(entry "$ENV{DESTDIR}${rydex_entry_dir}/${rydex_entry_name}")
message(STATUS "Installing: ${entry}")
configure_file("${rydex_entry_template}" "${entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")
