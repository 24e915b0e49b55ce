# The installed program as a user or the Debian package gets it: installs the
# build into a temporary DESTDIR under /usr, checks every file and where it
# lies, validates the desktop entry, the file type and the metadata as the
# desktop's own tools read them, and runs the installed program with a fresh
# user data folder.
# -DBUILD=<build folder> -DSOURCE=<source folder> -DWORK=<scratch folder>
# -DLIBDIR=<library folder below the prefix> -DDATADIR=<shipped files below the prefix>
# -DMANDIR=<manual folder below the prefix> -DWITH_UI=<ON|OFF>
# -DGOLDEN=<a golden case folder: list.tbf, TafelbauGadgetPool.ini, expected.pbi>

function(fail)
  list(JOIN ARGN "" text)
  message(FATAL_ERROR "${text}")
endfunction()

function(need_tool var name package)
  find_program(${var} ${name})
  if(NOT ${var})
    fail("${name} is missing: install ${package} (scripts/setup.sh does)")
  endif()
endfunction()

function(run)
  cmake_parse_arguments(R "" "OUT;ERR" "COMMAND" ${ARGN})
  execute_process(COMMAND ${R_COMMAND} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    fail("${R_COMMAND} failed (${status}):\n${out}${err}")
  endif()
  if(R_OUT)
    set(${R_OUT} "${out}" PARENT_SCOPE)
  endif()
  if(R_ERR)
    set(${R_ERR} "${err}" PARENT_SCOPE)
  endif()
endfunction()

function(expect_same_file actual expected)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${actual}" "${expected}" RESULT_VARIABLE differ)
  if(NOT differ EQUAL 0)
    fail("${actual} differs from ${expected} ${ARGN}")
  endif()
endfunction()

need_tool(desktop_file_validate desktop-file-validate desktop-file-utils)
need_tool(update_desktop_database update-desktop-database desktop-file-utils)
need_tool(xmllint xmllint libxml2-utils)
need_tool(update_mime_database update-mime-database shared-mime-info)
find_program(appstreamcli appstreamcli)
find_program(groff groff)

file(REMOVE_RECURSE "${WORK}")
set(root "${WORK}/destdir")
set(prefix "${root}/usr")
set(ENV{DESTDIR} "${root}")
run(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix /usr)
unset(ENV{DESTDIR})

# The layout, file for file: nothing missing, nothing extra (no tests, no
# build tools).
set(expected
    bin/tafelbau
    ${DATADIR}/TafelbauGadgetPool.ini
    share/applications/tafelbau.desktop
    share/icons/hicolor/48x48/apps/tafelbau.png
    share/icons/hicolor/scalable/apps/tafelbau.svg
    share/metainfo/de.tafelbau.tafelbau.metainfo.xml
    share/mime/packages/tafelbau.xml
    share/doc/tafelbau/changelog.gz
    share/doc/tafelbau/copyright
    ${MANDIR}/man1/tafelbau.1.gz)
if(WITH_UI)
  list(APPEND expected ${LIBDIR}/libtafelbau_ui.so)
endif()
list(SORT expected)
file(GLOB_RECURSE installed RELATIVE "${prefix}" LIST_DIRECTORIES false "${root}/*")
list(SORT installed)
if(NOT installed STREQUAL expected)
  list(JOIN installed "\n  " got)
  list(JOIN expected "\n  " want)
  fail("installed under ${prefix}:\n  ${got}\nexpected:\n  ${want}")
endif()
expect_same_file("${prefix}/${DATADIR}/TafelbauGadgetPool.ini" "${SOURCE}/data/TafelbauGadgetPool.ini")

# The desktop entry, and the association a file manager (and xdg-mime) reads.
run(COMMAND ${desktop_file_validate} "${prefix}/share/applications/tafelbau.desktop" OUT out)
if(NOT out STREQUAL "")
  fail("desktop-file-validate: ${out}")
endif()
file(COPY "${prefix}/share/applications" DESTINATION "${WORK}/check")
run(COMMAND ${update_desktop_database} "${WORK}/check/applications")
file(READ "${WORK}/check/applications/mimeinfo.cache" cache)
if(NOT cache MATCHES "\napplication/x-tafelbau-list=tafelbau.desktop;")
  fail("mimeinfo.cache does not give list files to tafelbau.desktop:\n${cache}")
endif()

# The file type, compiled as the desktop compiles it: the glob and the magic
# of the first line must both arrive.
foreach(xml share/mime/packages/tafelbau.xml share/metainfo/de.tafelbau.tafelbau.metainfo.xml
            share/icons/hicolor/scalable/apps/tafelbau.svg)
  run(COMMAND ${xmllint} --noout "${prefix}/${xml}")
endforeach()
file(COPY "${prefix}/share/mime" DESTINATION "${WORK}/check")
# It warns about a folder that is not among the desktop's data folders.
set(ENV{XDG_DATA_DIRS} "${WORK}/check")
run(COMMAND ${update_mime_database} "${WORK}/check/mime" ERR err)
if(NOT err STREQUAL "")
  fail("update-mime-database: ${err}")
endif()
file(STRINGS "${WORK}/check/mime/globs2" globs REGEX "x-tafelbau-list")
if(NOT globs MATCHES "application/x-tafelbau-list:\\*\\.tbf")
  fail("globs2 has no *.tbf for the list type: ${globs}")
endif()
# In the compiled magic a rule reads ">offset=" + 2-byte length + value.
file(READ "${WORK}/check/mime/magic" magic HEX)
string(HEX "application/x-tafelbau-list" type_hex)
string(HEX "GdtListFileVersion" value_hex)
if(NOT magic MATCHES "3a${type_hex}5d0a3e303d0012${value_hex}")
  fail("the compiled magic has no GdtListFileVersion at offset 0 for the list type")
endif()

if(appstreamcli)
  run(COMMAND ${appstreamcli} validate --no-net --pedantic
              "${prefix}/share/metainfo/de.tafelbau.tafelbau.metainfo.xml")
endif()
# The manual page and the changelog unpack to what they were made from.
need_tool(gzip gzip gzip)
set(unpacked "${WORK}/unpacked")
file(MAKE_DIRECTORY "${unpacked}")
foreach(packed ${MANDIR}/man1/tafelbau.1.gz share/doc/tafelbau/changelog.gz)
  get_filename_component(name "${packed}" NAME_WLE)
  execute_process(COMMAND ${gzip} -dc "${prefix}/${packed}" OUTPUT_FILE "${unpacked}/${name}"
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    fail("${packed} does not unpack")
  endif()
endforeach()
expect_same_file("${unpacked}/tafelbau.1" "${SOURCE}/dist/tafelbau.1")
file(READ "${unpacked}/changelog" changelog)
if(NOT changelog MATCHES "^tafelbau \\([0-9.]+\\) unstable; urgency=medium\n" OR changelog MATCHES "@[A-Z_]+@")
  fail("the changelog is not one Debian reads, or a placeholder was left in it:\n${changelog}")
endif()
if(groff)
  run(COMMAND ${groff} -t -man -ww -z "${unpacked}/tafelbau.1" ERR err)
  if(NOT err STREQUAL "")
    fail("the manual page has faults:\n${err}")
  endif()
endif()

# The installed program itself: no display, a user of its own.
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
set(ENV{HOME} "${WORK}/home")
set(ENV{XDG_CONFIG_HOME} "${WORK}/config")
set(ENV{XDG_DATA_HOME} "${WORK}/data")
set(ENV{SOURCE_DATE_EPOCH} 1700000000)
set(ENV{TZ} UTC)
set(program "${prefix}/bin/tafelbau")
set(own_pool "${WORK}/data/Tafelbau/TafelbauGadgetPool.ini")

run(COMMAND "${program}" --version OUT out)
if(NOT out MATCHES "^Tafelbau [0-9]")
  fail("--version printed: ${out}")
endif()

# Regenerates the code of a copy of `list`; it must equal `expected` (or,
# with DIFFERS, must not: the check above it would pass by chance otherwise).
function(refresh list expected why)
  cmake_parse_arguments(R "DIFFERS" "" "" ${ARGN})
  file(REMOVE_RECURSE "${WORK}/run")
  file(MAKE_DIRECTORY "${WORK}/run")
  file(COPY_FILE "${list}" "${WORK}/run/list.tbf")
  run(COMMAND "${program}" /refreshcode "${WORK}/run/list.pbi" ERR err)
  if(NOT err STREQUAL "")
    fail("/refreshcode (${why}) said: ${err}")
  endif()
  if(R_DIFFERS)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/run/list.pbi" "${expected}"
                    RESULT_VARIABLE differ)
    if(differ EQUAL 0)
      fail("${WORK}/run/list.pbi equals ${expected} (${why})")
    endif()
  else()
    expect_same_file("${WORK}/run/list.pbi" "${expected}" "(${why})")
  endif()
endfunction()

# First start: the shipped pool becomes the user's, and the code follows it.
refresh("${SOURCE}/examples/demo.tbf" "${SOURCE}/examples/demo.pbi" "first start")
expect_same_file("${own_pool}" "${SOURCE}/data/TafelbauGadgetPool.ini" "(the user's copy)")

# The user's copy is what is read from then on, and it is not copied over.
file(COPY_FILE "${GOLDEN}/TafelbauGadgetPool.ini" "${own_pool}")
refresh("${GOLDEN}/list.tbf" "${GOLDEN}/expected.pbi" "the user's edited pool")
expect_same_file("${own_pool}" "${GOLDEN}/TafelbauGadgetPool.ini" "(the user's copy after a start)")

# A pool beside the executable wins over the user's.
file(COPY_FILE "${SOURCE}/data/TafelbauGadgetPool.ini" "${own_pool}")
refresh("${GOLDEN}/list.tbf" "${GOLDEN}/expected.pbi" "the shipped pool" DIFFERS)
file(COPY_FILE "${GOLDEN}/TafelbauGadgetPool.ini" "${prefix}/bin/TafelbauGadgetPool.ini")
refresh("${GOLDEN}/list.tbf" "${GOLDEN}/expected.pbi" "a pool beside the program")
file(REMOVE "${prefix}/bin/TafelbauGadgetPool.ini")
