# SPDX-License-Identifier: MIT
# Makes the page from TEMPLATE: cmake -DTEMPLATE=... -DSHAPE=... -DICON=...
# -DNODE=... -DPROGRAM=... -DGLUE=... -DOUTPUT=... -P page.cmake.
# SHAPE, the code that shows the dialogue, goes into the page's script. The
# program's opening, what PROGRAM (the node build) writes before its first
# read, goes in as a string, and as the lines that SHAPE makes of it, which
# the page shows before its script and the program have run. GLUE, the program for the browser with its Emscripten glue,
# goes in as the text of a script that does not run until the page runs it.
# The icon ICON goes in as a data: URL, so that the page stays one file. The
# SVG loses its comments and line breaks, and the characters a URL or an
# HTML attribute would take for their own are percent-encoded.
execute_process(COMMAND ${NODE} ${CMAKE_CURRENT_LIST_DIR}/opening.js literal ${PROGRAM}
                OUTPUT_VARIABLE opening COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${NODE} ${CMAKE_CURRENT_LIST_DIR}/opening.js lines ${PROGRAM} ${SHAPE}
                OUTPUT_VARIABLE lines COMMAND_ERROR_IS_FATAL ANY)
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

# A script's text ends at the first "</script", and "<!--" in it changes
# where; what goes into one must hold neither.
function(read_script file variable)
  file(READ ${file} text)
  string(TOLOWER "${text}" lower)
  string(FIND "${lower}" "</script" end)
  string(FIND "${lower}" "<!--" comment)
  if(NOT end EQUAL -1 OR NOT comment EQUAL -1)
    message(FATAL_ERROR "${file} holds \"</script\" or \"<!--\", which would end its script early")
  endif()
  set(${variable} "${text}" PARENT_SCOPE)
endfunction()
read_script(${SHAPE} shape)
read_script(${GLUE} glue)

file(READ ${TEMPLATE} page)
string(REPLACE "{{{ ICON }}}" "data:image/svg+xml,${svg}" page "${page}")
string(REPLACE "{{{ OPENING }}}" "${opening}" page "${page}")
# The body's elements lose the blanks and line breaks between their tags,
# each of which would be a node of its own, for nothing: every element
# there that holds others lays them out as blocks, a flex box or a grid.
string(FIND "${page}" "<body>" body)
string(FIND "${page}" "<script>" script)
string(SUBSTRING "${page}" 0 ${body} head)
math(EXPR length "${script} - ${body}")
string(SUBSTRING "${page}" ${body} ${length} elements)
string(SUBSTRING "${page}" ${script} -1 rest)
string(REGEX REPLACE ">[ \t\r\n]+<" "><" elements "${elements}")
string(REPLACE "{{{ LINES }}}" "${lines}" elements "${elements}")
string(REPLACE "{{{ SHAPE }}}" "${shape}" rest "${rest}")
string(REPLACE "{{{ GLUE }}}" "${glue}" rest "${rest}")
file(WRITE ${OUTPUT} "${head}${elements}${rest}")
