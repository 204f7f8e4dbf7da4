# SPDX-License-Identifier: MIT
# What every zip of the release needs before its files are gathered: the
# time stamp of the sources, which every member carries, Python, which
# writes the zip with zip.py beside this file, and the folder STAGE for the
# files made for it. The zips' scripts include it, with SOURCE_DIR, PYTHON
# and STAGE set.
set(BRELIX_DATE_SOURCE_DIR ${SOURCE_DIR})
include(${CMAKE_CURRENT_LIST_DIR}/source-date.cmake)
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  message(FATAL_ERROR "No time stamp for the zip: the sources have neither git history nor a "
                      "source-date-epoch file; set SOURCE_DATE_EPOCH")
endif()
if(NOT PYTHON)
  message(FATAL_ERROR "The zip is written by Python: install python3")
endif()
file(MAKE_DIRECTORY ${STAGE})
