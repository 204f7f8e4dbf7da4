# Read by cpack before it packs: the time stamp that makes packages
# reproducible, and the copy of it that goes into the source tarball.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  if(EXISTS ${CPACK_BRELIX_SOURCE_DIR}/.git)
    execute_process(COMMAND git -C ${CPACK_BRELIX_SOURCE_DIR} log -1 --format=%ct
                    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  elseif(EXISTS ${CPACK_BRELIX_SOURCE_DIR}/source-date-epoch)
    file(STRINGS ${CPACK_BRELIX_SOURCE_DIR}/source-date-epoch epoch LIMIT_COUNT 1)
  endif()
  if(epoch MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} ${epoch})
  endif()
endif()
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  file(WRITE ${CPACK_BRELIX_BINARY_DIR}/source-date/source-date-epoch "$ENV{SOURCE_DATE_EPOCH}\n")
endif()
