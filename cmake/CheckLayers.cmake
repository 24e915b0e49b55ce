# Fails when an include breaks the program's two rules of structure:
#  - nothing under src/core/ includes Qt or a header of src/ui/;
#  - includes run downward: a subsystem includes only its own headers and
#    those of the subsystems below it, core and ui alike.
# Run with -DSOURCE_DIR=<src> [-DSTAMP=<file to touch on success>].
set(ranks document pool codegen commands canvas windows app)

function(rank_of subsystem out)
  list(FIND ranks "${subsystem}" r)
  set(${out} ${r} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/core/*.h" "${SOURCE_DIR}/core/*.cpp"
     "${SOURCE_DIR}/ui/*.h" "${SOURCE_DIR}/ui/*.cpp")
set(faults "")
foreach(file IN LISTS files)
  string(REGEX MATCH "^(core|ui)/([^/]+)/" _ "${file}")
  set(layer "${CMAKE_MATCH_1}")
  rank_of("${CMAKE_MATCH_2}" from)
  if(from EQUAL -1)
    list(APPEND faults "${file}: folder ${CMAKE_MATCH_2} is none of: ${ranks}")
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS includes)
    string(REGEX MATCH "[<\"]([^>\"]+)[>\"]" _ "${line}")
    set(header "${CMAKE_MATCH_1}")
    if(layer STREQUAL "core" AND (header MATCHES "^Q" OR header MATCHES "^ui/"))
      list(APPEND faults "${file}: the core includes ${header}")
    endif()
    if(header MATCHES "^(core|ui)/([^/]+)/")
      rank_of("${CMAKE_MATCH_2}" to)
      if(to GREATER from)
        list(APPEND faults "${file}: includes ${header}, from a subsystem above its own")
      endif()
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Includes that break the layers:\n  ${text}")
endif()
if(STAMP)
  file(TOUCH "${STAMP}")
endif()
