# SPDX-License-Identifier: MIT
# The time stamp that makes packages reproducible: SOURCE_DATE_EPOCH from
# the environment, else the time of the last commit of the sources in
# BRELIX_DATE_SOURCE_DIR, else the copy that a source tarball carries
# there. Sets ENV{SOURCE_DATE_EPOCH} if any of them gives one.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  if(EXISTS ${BRELIX_DATE_SOURCE_DIR}/.git)
    execute_process(COMMAND git -C ${BRELIX_DATE_SOURCE_DIR} log -1 --format=%ct
                    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  elseif(EXISTS ${BRELIX_DATE_SOURCE_DIR}/source-date-epoch)
    file(STRINGS ${BRELIX_DATE_SOURCE_DIR}/source-date-epoch epoch LIMIT_COUNT 1)
  endif()
  if(epoch MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} ${epoch})
  endif()
endif()
