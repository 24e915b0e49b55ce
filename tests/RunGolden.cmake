# One golden case through the program itself: the case's list and pool are
# copied beside a copy of the program, "/refreshcode" regenerates the code
# file at a fixed time, and the bytes must equal the expected file.
# -DPROGRAM=<tafelbau> -DLIST=<.tbf> -DPOOL=<pool file> -DEXPECTED=<.pbi> -DWORK=<scratch folder>
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(COPY "${PROGRAM}" DESTINATION "${WORK}")
get_filename_component(program_name "${PROGRAM}" NAME)
file(COPY_FILE "${POOL}" "${WORK}/TafelbauGadgetPool.ini")
file(COPY_FILE "${LIST}" "${WORK}/list.tbf")
set(ENV{SOURCE_DATE_EPOCH} 1700000000)
set(ENV{TZ} UTC)
set(ENV{XDG_CONFIG_HOME} "${WORK}/config")
execute_process(COMMAND "${WORK}/${program_name}" /refreshcode "${WORK}/list.pbi"
                RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "/refreshcode failed (${status}): ${err}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/list.pbi" "${EXPECTED}"
                RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  message(FATAL_ERROR "${WORK}/list.pbi differs from ${EXPECTED}")
endif()
