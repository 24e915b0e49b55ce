# The Debian package: made by CPack from the build's install rules into a
# scratch folder, its dependencies found by dpkg-shlibdeps, its files where
# the installed program looks for them.
# Debian's own checker finds no error and no warning in it, and the README
# gives its size as it is.
# -DBUILD=<build folder> -DWORK=<scratch folder> -DLIBDIR=<library folder below /usr> -DWITH_UI=<ON|OFF>
# -DREADME=<the README> -DLINTIAN=<lintian>: checked only where given
file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND ${CMAKE_CPACK_COMMAND} --config "${BUILD}/CPackConfig.cmake" -B "${WORK}"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(GLOB deb "${WORK}/tafelbau_*.deb")
if(NOT status EQUAL 0 OR NOT deb)
  message(FATAL_ERROR "cpack failed (${status}):\n${out}${err}")
endif()

execute_process(COMMAND dpkg-deb --field "${deb}" Depends OUTPUT_VARIABLE depends COMMAND_ERROR_IS_FATAL ANY)
set(needed libc6 libstdc\\+\\+6 qt6-translations-l10n)
if(WITH_UI)
  list(APPEND needed libqt6widgets6)
endif()
foreach(package IN LISTS needed)
  if(NOT depends MATCHES "(^|, )${package}( |,|$)")
    message(FATAL_ERROR "the package does not depend on ${package}: ${depends}")
  endif()
endforeach()

execute_process(COMMAND dpkg-deb --contents "${deb}" OUTPUT_VARIABLE contents COMMAND_ERROR_IS_FATAL ANY)
set(files ./usr/bin/tafelbau ./usr/share/tafelbau/TafelbauGadgetPool.ini ./usr/share/applications/tafelbau.desktop
          ./usr/share/mime/packages/tafelbau.xml ./usr/share/doc/tafelbau/copyright
          ./usr/share/doc/tafelbau/changelog.gz ./usr/share/man/man1/tafelbau.1.gz)
if(WITH_UI)
  list(APPEND files ./usr/${LIBDIR}/libtafelbau_ui.so)
endif()
foreach(f IN LISTS files)
  string(REPLACE "." "\\." pattern "${f}")
  if(NOT contents MATCHES " ${pattern}\n")
    message(FATAL_ERROR "the package lacks ${f}:\n${contents}")
  endif()
endforeach()
if(contents MATCHES " ./usr/local/")
  message(FATAL_ERROR "the package installs below /usr/local:\n${contents}")
endif()

# The library is the program's own: nothing for ldconfig to do.
execute_process(COMMAND dpkg-deb --ctrl-tarfile "${deb}" COMMAND tar -t OUTPUT_VARIABLE control
                COMMAND_ERROR_IS_FATAL ANY)
if(control MATCHES "postinst|postrm")
  message(FATAL_ERROR "the package has maintainer scripts:\n${control}")
endif()

if(LINTIAN)
  execute_process(COMMAND ${LINTIAN} --tag-display-limit 0 "${deb}" OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(out MATCHES "(^|\n)[EW]: ")
    message(FATAL_ERROR "lintian finds errors or warnings:\n${out}${err}")
  endif()
endif()

if(NOT README)
  return()
endif()
# "tafelbau_VERSION_amd64.deb (about N MB)": within a fifth of the size.
file(READ "${README}" readme)
if(NOT readme MATCHES "tafelbau_[^`]*\\.deb`[ \n]+\\(about ([0-9.]+) MB\\)")
  message(FATAL_ERROR "the README gives no size of the package")
endif()
set(said "${CMAKE_MATCH_1}")
file(SIZE "${deb}" bytes)
math(EXPR kilobytes "${bytes} / 1000")
execute_process(COMMAND awk "BEGIN { d = ${kilobytes} / 1000 - ${said}; exit !(d <= ${said} / 5 && -d <= ${said} / 5) }"
                RESULT_VARIABLE far)
if(NOT far EQUAL 0)
  message(FATAL_ERROR "the README says the package is about ${said} MB; it is ${kilobytes} kB")
endif()
