# SPDX-License-Identifier: MIT
# Makes the zip for Windows users, the same bytes from the same sources
# wherever they lie: one folder, brelix-VERSION, so that "Extract here"
# spills nothing among the user's files, with the program stripped, with
# the time stamp of the sources in its header, and the texts with Windows'
# line ends, the guide naming the version.
# Usage: cmake -DSOURCE_DIR=... -DSTRIP=... -DPYTHON=... -DPROGRAM=...
#              -DVERSION=... -DSTAGE=folder -DZIP=file -P zip.cmake
include(${SOURCE_DIR}/cmake/zip-stage.cmake)
# strip, like ld, writes SOURCE_DATE_EPOCH as the time stamp in the header.
execute_process(COMMAND ${STRIP} --strip-all -o ${STAGE}/brelix.exe ${PROGRAM} COMMAND_ERROR_IS_FATAL ANY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/LIESMICH.txt.in ${STAGE}/LIESMICH.txt @ONLY)
set(folder brelix-${VERSION})
execute_process(COMMAND ${PYTHON} ${SOURCE_DIR}/cmake/zip.py ${ZIP} ${folder}/
                        ${folder}/brelix.exe=${STAGE}/brelix.exe
                        ${folder}/LIESMICH.txt=${STAGE}/LIESMICH.txt
                        ${folder}/LICENSE.txt=${SOURCE_DIR}/LICENSE
                COMMAND_ERROR_IS_FATAL ANY)
