# Run by "cmake --install": puts the command "rydex" on the PATH as a link to
# the installed program and writes the desktop entry, whose Exec names that
# command by its full path, so the entry starts the program even where the
# prefix's bin folder is not on the desktop session's PATH (~/.local/bin).
# Then the desktop learns of the entry and of the ride file types it opens.
# Given (folders relative to the prefix, or absolute): rydex_bindir,
# rydex_program, rydex_entry_dir, rydex_entry_template, rydex_entry_name,
# rydex_mime_dir.

foreach(var rydex_bindir rydex_program rydex_entry_dir rydex_mime_dir)
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

# A staged installation (DESTDIR) is a package's, whose own triggers renew
# the desktop's caches where it is finally installed. Installed in place,
# the file types and the entry's claim on them count at once.
function(renew_cache tool dir)
  find_program(found_${tool} ${tool})
  if(found_${tool})
    execute_process(COMMAND "${found_${tool}}" "${dir}" RESULT_VARIABLE rc
                    OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
      message(WARNING "${tool} ${dir} failed (${rc}): ${out}${err}")
    endif()
  endif()
endfunction()
if("$ENV{DESTDIR}" STREQUAL "")
  renew_cache(update-mime-database "${rydex_mime_dir}")
  renew_cache(update-desktop-database "${rydex_entry_dir}")
endif()
