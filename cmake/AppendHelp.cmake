# Appends the compiled help to the freshly linked program, then its length as 8 bytes,
# little-endian: the program finds its help from the end of its own file.
#   cmake -DPROGRAM=quillswp32.exe -DHELP=quillswp32.chm -P AppendHelp.cmake
# Runs as the link's own last step (a changed help relinks), so it always meets a freshly linked
# file and the help is never appended twice.
file(SIZE "${HELP}" help_size)
file(READ "${HELP}" signature LIMIT 4 HEX)
if(help_size EQUAL 0 OR NOT signature STREQUAL "49545346")
  message(FATAL_ERROR "${HELP} is not a compiled HTML help file")
endif()

# The length's bytes as printf octal escapes (NUL bytes cannot live in a CMake string) and as hex.
set(escapes "")
set(trailer_hex "")
set(rest ${help_size})
foreach(i RANGE 7)
  math(EXPR byte "${rest} % 256")
  math(EXPR rest "${rest} / 256")
  math(EXPR hex "256 + ${byte}" OUTPUT_FORMAT HEXADECIMAL)
  string(SUBSTRING "${hex}" 3 2 hex)
  string(APPEND trailer_hex "${hex}")
  math(EXPR d2 "${byte} / 64")
  math(EXPR d1 "(${byte} / 8) % 8")
  math(EXPR d0 "${byte} % 8")
  string(APPEND escapes "\\${d2}${d1}${d0}")
endforeach()
# A file that already ends with this help and its length was not freshly linked: leave it alone
# rather than carry the help twice.
file(SIZE "${PROGRAM}" program_size)
math(EXPR help_at "${program_size} - 8 - ${help_size}")
if(help_at GREATER 0)
  file(READ "${PROGRAM}" head OFFSET ${help_at} LIMIT 4 HEX)
  math(EXPR trailer_at "${program_size} - 8")
  file(READ "${PROGRAM}" tail OFFSET ${trailer_at} HEX)
  if(head STREQUAL "49545346" AND tail STREQUAL trailer_hex)
    message(STATUS "${PROGRAM} already carries its help")
    return()
  endif()
endif()

set(trailer "${PROGRAM}.trailer")
execute_process(COMMAND printf "${escapes}" OUTPUT_FILE "${trailer}" RESULT_VARIABLE rc)
file(SIZE "${trailer}" trailer_size)
if(NOT rc EQUAL 0 OR NOT trailer_size EQUAL 8)
  message(FATAL_ERROR "cannot write the help trailer")
endif()

set(joined "${PROGRAM}.joined")
execute_process(COMMAND cat "${PROGRAM}" "${HELP}" "${trailer}" OUTPUT_FILE "${joined}" RESULT_VARIABLE rc)
file(SIZE "${PROGRAM}" linked_size)
file(SIZE "${joined}" joined_size)
math(EXPR expected "${linked_size} + ${help_size} + 8")
if(NOT rc EQUAL 0 OR NOT joined_size EQUAL expected)
  message(FATAL_ERROR "cannot append the help to ${PROGRAM}")
endif()
file(CHMOD "${joined}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(RENAME "${joined}" "${PROGRAM}")
file(REMOVE "${trailer}")
