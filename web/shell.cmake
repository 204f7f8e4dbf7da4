# SPDX-License-Identifier: MIT
# Makes the page's shell from TEMPLATE: cmake -DTEMPLATE=... -DICON=...
# -DNODE=... -DPROGRAM=... -DOUTPUT=... -P shell.cmake.
# The program's opening, what PROGRAM (the node build) writes before its
# first read, goes in as a string, which the page shows before the program
# has started. The icon ICON goes in as a data: URL, so that the page stays
# one file. The SVG loses its comments and line breaks, and the characters a
# URL or an HTML attribute would take for their own are percent-encoded.
execute_process(COMMAND ${NODE} ${CMAKE_CURRENT_LIST_DIR}/opening.js ${PROGRAM}
                OUTPUT_VARIABLE opening COMMAND_ERROR_IS_FATAL ANY)
file(READ ${ICON} svg)
string(REGEX REPLACE "<\\?xml[^>]*>" "" svg "${svg}")
string(REGEX REPLACE "<!--([^-]|-[^-])*-->" "" svg "${svg}")
string(REGEX REPLACE "[ \t\r\n]+" " " svg "${svg}")
string(REPLACE "> <" "><" svg "${svg}")
string(STRIP "${svg}" svg)
string(REPLACE "%" "%25" svg "${svg}")
string(REPLACE "#" "%23" svg "${svg}")
string(REPLACE "<" "%3C" svg "${svg}")
string(REPLACE ">" "%3E" svg "${svg}")
string(REPLACE "\"" "%22" svg "${svg}")
string(REPLACE "&" "%26" svg "${svg}")
file(READ ${TEMPLATE} page)
string(REPLACE "{{{ ICON }}}" "data:image/svg+xml,${svg}" page "${page}")
string(REPLACE "{{{ OPENING }}}" "${opening}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
