# Installs the build into a fresh prefix and checks what a user gets: the
# command on the PATH, the program with its languages, themes and icon, the
# desktop entry (whose Exec is run) and the AppStream description. The
# prefix has a space in it, as a home folder may. Nothing outside WORK_DIR is
# touched: the installed program runs with a home of its own.
# Given: BUILD_DIR, WORK_DIR, ID, BIN_DIR, PROGRAM_DIR, DATA_DIR.

# cmake --install writes the list of what it installed into the build
# folder, where a user's own "cmake --install" left the list he removes an
# installation by: the test puts his list back however it ends.
set(manifest "${BUILD_DIR}/install_manifest.txt")
set(kept_manifest "${WORK_DIR}.manifest")
function(restore_manifest)
  if(EXISTS "${kept_manifest}")
    file(RENAME "${kept_manifest}" "${manifest}")
  else()
    file(REMOVE "${manifest}")
  endif()
endfunction()

function(fail)
  restore_manifest()
  string(JOIN "" text ${ARGV})
  message(FATAL_ERROR "${text}")
endfunction()

function(expect_file path)
  if(NOT EXISTS "${path}" OR IS_DIRECTORY "${path}")
    fail("not installed: ${path}")
  endif()
endfunction()

# The width and height a PNG file's header gives.
function(png_size path out)
  file(READ "${path}" header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 32 8 width_hex)
  string(SUBSTRING "${header}" 40 8 height_hex)
  math(EXPR width "0x${width_hex}")
  math(EXPR height "0x${height_hex}")
  set(${out} "${width}x${height}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${WORK_DIR}" "${kept_manifest}")
if(EXISTS "${manifest}")
  file(RENAME "${manifest}" "${kept_manifest}")
endif()
set(prefix "${WORK_DIR}/installed programs")
set(home "${WORK_DIR}/home")
file(MAKE_DIRECTORY "${home}")

execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  fail("cmake --install failed (${rc}):\n${out}\n${err}")
endif()

# The program and its files share one folder; the command is a link to it.
set(program_dir "${prefix}/${PROGRAM_DIR}")
set(command "${prefix}/${BIN_DIR}/rydex")
foreach(file rydex lng/english.lng lng/czech.lng RX05TdF.sui RX05Night.sui)
  expect_file("${program_dir}/${file}")
endforeach()
if(NOT IS_SYMLINK "${command}")
  fail("${command} is not a link to the program")
endif()
file(REAL_PATH "${command}" resolved)
file(REAL_PATH "${program_dir}/rydex" real_program)
if(NOT resolved STREQUAL real_program)
  fail("${command} leads to ${resolved}, not to ${real_program}")
endif()
file(GLOB strays "${prefix}/${BIN_DIR}/*.sui" "${prefix}/${BIN_DIR}/lng")
if(strays)
  fail("data files in the PATH's folder: ${strays}")
endif()

# The icon at every size of the icon theme, each picture of its folder's size.
set(icons "${prefix}/${DATA_DIR}/icons/hicolor")
expect_file("${icons}/scalable/apps/${ID}.svg")
foreach(size 16 22 24 32 48 64 128 256)
  set(png "${icons}/${size}x${size}/apps/${ID}.png")
  expect_file("${png}")
  png_size("${png}" got)
  if(NOT got STREQUAL "${size}x${size}")
    fail("${png} is ${got}")
  endif()
endforeach()

set(entry "${prefix}/${DATA_DIR}/applications/${ID}.desktop")
set(metainfo "${prefix}/${DATA_DIR}/metainfo/${ID}.metainfo.xml")
expect_file("${entry}")
expect_file("${metainfo}")
file(STRINGS "${entry}" icon_line REGEX "^Icon=")
if(NOT icon_line STREQUAL "Icon=${ID}")
  fail("the entry's icon is \"${icon_line}\", not ${ID}")
endif()

# The entry's Exec, unquoted as a launcher does, names the installed command,
# which is given the files opened with it.
file(STRINGS "${entry}" exec_line REGEX "^Exec=")
if(NOT exec_line MATCHES " %F$")
  fail("the entry's command takes no files: ${exec_line}")
endif()
string(REGEX REPLACE "^Exec=(.*) %F$" "\\1" exec "${exec_line}")
if(exec MATCHES "^\"(.*)\"$")
  set(exec "${CMAKE_MATCH_1}")
  string(REPLACE "\\\\" "\\" exec "${exec}")
  string(REGEX REPLACE "\\\\([\"`$\\\\])" "\\1" exec "${exec}")
endif()
if(NOT exec STREQUAL command)
  fail("the entry starts \"${exec}\" (${exec_line}), not ${command}")
endif()

# The entry opens the ride files, whose types the desktop learns from the
# program's own MIME package where it does not know them yet.
set(types "application/vnd.ant.fit;application/gpx+xml;application/vnd.garmin.tcx+xml;")
file(READ "${entry}" entry_text)
string(FIND "${entry_text}" "\nMimeType=${types}\n" at)
if(at EQUAL -1)
  fail("the entry does not open ${types}:\n${entry_text}")
endif()
set(mime "${prefix}/${DATA_DIR}/mime")
expect_file("${mime}/packages/${ID}.xml")
file(READ "${mime}/packages/${ID}.xml" mime_package)
if(mime_package MATCHES "application/gzip|\\*\\.gz\"")
  fail("the MIME package claims every gzip archive")
endif()
find_program(update_mime update-mime-database)
if(update_mime)
  # Installed in place, the database was renewed and holds both types.
  file(STRINGS "${mime}/globs2" globs)
  foreach(glob "application/vnd.ant.fit:\\*\\.fit" "application/vnd.garmin.tcx\\+xml:\\*\\.tcx")
    if(NOT globs MATCHES "${glob}")
      fail("the renewed MIME database lacks ${glob}: ${globs}")
    endif()
  endforeach()
  expect_file("${mime}/magic")
else()
  message(STATUS "update-mime-database not installed: the MIME package is not checked")
endif()

# The installed program, started through the entry's command, finds its files.
set(run_env QT_QPA_PLATFORM=offscreen "HOME=${home}" "XDG_CONFIG_HOME=${home}/.config"
            "XDG_DATA_HOME=${home}/.local/share" "XDG_CACHE_HOME=${home}/.cache")
function(check_installation out_rc out_text)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env ${run_env} "${exec}" --check-installation
                  WORKING_DIRECTORY "${home}" RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE err TIMEOUT 60)
  set(${out_rc} "${rc}" PARENT_SCOPE)
  set(${out_text} "${out}${err}" PARENT_SCOPE)
endfunction()
function(expect_home_untouched what)
  file(GLOB_RECURSE created LIST_DIRECTORIES true "${home}/*")
  if(created)
    fail("${what} created files: ${created}")
  endif()
endfunction()
check_installation(rc text)
message(STATUS "rydex --check-installation (${rc}):\n${text}")
if(NOT rc EQUAL 0)
  fail("the installed program's check failed (${rc})")
endif()
get_filename_component(real_dir "${real_program}" DIRECTORY)
foreach(expected "in ${real_dir}\n" "czech, english" "RX05Night.sui, RX05TdF.sui"
                 "icon: ${ID}" "installation complete")
  string(FIND "${text}" "${expected}" at)
  if(at EQUAL -1)
    fail("the check does not say \"${expected}\"")
  endif()
endforeach()
expect_home_untouched("the check")

# The installed program carries no debug information.
file(STRINGS "${program_dir}/rydex" debug_sections REGEX "\\.debug_info" LIMIT_COUNT 1)
if(debug_sections)
  fail("the installed program is not stripped of its debug information")
endif()

# Help and version need no display; without one the program says so in one
# line and ends, instead of Qt's abort.
set(no_display_env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
                   "HOME=${home}" "XDG_CONFIG_HOME=${home}/.config"
                   "XDG_DATA_HOME=${home}/.local/share")
foreach(option --help --version "")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env ${no_display_env} "${command}" ${option}
                  WORKING_DIRECTORY "${home}" RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE err TIMEOUT 60)
  if(option STREQUAL "--help")
    set(expected "--version")
  elseif(option STREQUAL "--version")
    set(expected "2.4.0")
  else()
    set(expected "no display")
  endif()
  string(FIND "${out}${err}" "${expected}" at)
  string(REGEX MATCHALL "\n" newlines "${err}")
  list(LENGTH newlines err_lines)
  if(at EQUAL -1 OR (option AND NOT rc EQUAL 0) OR (NOT option AND (rc EQUAL 0 OR
     NOT err_lines EQUAL 1)))
    fail("rydex ${option} without a display (${rc}): ${out}${err}")
  endif()
endforeach()
expect_home_untouched("rydex without a display")

# A damaged installation is reported as one, with what is wrong.
file(REMOVE "${program_dir}/lng/english.lng")
file(WRITE "${program_dir}/RX05Night.sui" "QWidget { color: red;")
check_installation(rc text)
if(rc EQUAL 0)
  fail("the check passed without english.lng and with a broken theme:\n${text}")
endif()
foreach(expected "english.lng is missing" "RX05Night.sui is no usable style sheet")
  string(FIND "${text}" "${expected}" at)
  if(at EQUAL -1)
    fail("the check of a damaged installation does not say \"${expected}\":\n${text}")
  endif()
endforeach()

# Where GLib's tools are, the desktop's view: a FIT file (by its content
# too, beside the astronomers' FITS images that share its ending) and a TCX
# file are known, and the entry is among the programs that open them.
find_program(gio gio)
if(gio AND update_mime)
  set(samples "${WORK_DIR}/samples")
  file(MAKE_DIRECTORY "${samples}")
  string(ASCII 14 16 20 8 1 1 1 1 46 70 73 84 1 1 fit_header)
  file(WRITE "${samples}/ride.fit" "${fit_header}")
  file(WRITE "${samples}/ride" "${fit_header}")
  file(WRITE "${samples}/sky.fit" "SIMPLE  =                    T")
  file(WRITE "${samples}/ride.tcx" "<?xml version=\"1.0\"?>\n<TrainingCenterDatabase "
       "xmlns=\"http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2\"/>\n")
  set(gio_env "XDG_DATA_DIRS=${prefix}/${DATA_DIR}:/usr/local/share:/usr/share"
              "XDG_DATA_HOME=${WORK_DIR}/gio-data" "XDG_CONFIG_HOME=${WORK_DIR}/gio-config"
              "XDG_CACHE_HOME=${WORK_DIR}/gio-cache" "HOME=${WORK_DIR}/gio-home")
  # "!": anything but that type (the image type's name differs by version).
  foreach(sample_and_type "ride.fit=application/vnd.ant.fit" "ride=application/vnd.ant.fit"
                          "sky.fit=!application/vnd.ant.fit"
                          "ride.tcx=application/vnd.garmin.tcx+xml")
    string(REPLACE "=" ";" sample_and_type "${sample_and_type}")
    list(GET sample_and_type 0 sample)
    list(GET sample_and_type 1 type)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E env ${gio_env} "${gio}" info
                            -a standard::content-type "${samples}/${sample}"
                    OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(REGEX REPLACE "^!" "" named_type "${type}")
    string(FIND "${out}" "content-type: ${named_type}\n" at)
    set(wanted YES)
    if(type MATCHES "^!")
      set(wanted NO)
    endif()
    set(found NO)
    if(NOT at EQUAL -1)
      set(found YES)
    endif()
    if(NOT out MATCHES "content-type: " OR NOT found STREQUAL wanted)
      fail("the desktop takes ${sample} for another type than ${type}: ${out}${err}")
    endif()
  endforeach()
  foreach(type application/vnd.ant.fit application/gpx+xml application/vnd.garmin.tcx+xml)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E env ${gio_env} "${gio}" mime "${type}"
                    OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(FIND "${out}" "${ID}.desktop" at)
    if(at EQUAL -1)
      fail("the desktop does not offer the program for ${type}: ${out}${err}")
    endif()
  endforeach()
else()
  message(STATUS "gio not installed: the desktop's view of the ride files is not checked")
endif()

# The desktop's own validators, where they are installed.
function(validate tool what)
  find_program(found_${tool} ${tool})
  set(program "${found_${tool}}")
  if(NOT program)
    message(STATUS "${tool} not installed: ${what} is not validated")
    return()
  endif()
  execute_process(COMMAND "${program}" ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE err)
  message(STATUS "${tool} (${rc}): ${out}${err}")
  if(NOT rc EQUAL 0)
    fail("${tool} rejects ${what}")
  endif()
endfunction()
validate(desktop-file-validate "the desktop entry" "${entry}")
validate(appstreamcli "the AppStream description" validate --no-net "${metainfo}")

restore_manifest()
