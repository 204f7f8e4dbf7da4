# SPDX-License-Identifier: MIT
# Makes the page's shell from TEMPLATE with the icon ICON put in as a data:
# URL, so that the page stays one file: cmake -DTEMPLATE=... -DICON=...
# -DOUTPUT=... -P icon.cmake. The SVG loses its comments and line breaks,
# and the characters a URL or an HTML attribute would take for their own
# are percent-encoded.
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
file(WRITE ${OUTPUT} "${page}")
