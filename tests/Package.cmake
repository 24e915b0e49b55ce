# The Debian package: made by CPack from the build's install rules into a
# scratch folder, its dependencies found by dpkg-shlibdeps, its files where
# the installed program looks for them.
# -DBUILD=<build folder> -DWORK=<scratch folder> -DLIBDIR=<library folder below /usr> -DWITH_UI=<ON|OFF>
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
          ./usr/share/mime/packages/tafelbau.xml)
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
