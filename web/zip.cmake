# SPDX-License-Identifier: MIT
# Makes the web zip: one folder, brelix/, that any static web server serves
# as it is, as an app that installs from its address and works offline. It
# holds the page as index.html, the manifest, the service worker, the icons
# rendered from the SVG icon, and the licence; the same bytes from the same
# sources wherever they lie. The folder's name stays the same from version
# to version, so an update unpacked over it keeps the app's address.
# Usage: cmake -DSOURCE_DIR=... -DVERSION=... -DPAGE=... -DRSVG=... -DPYTHON=...
#              -DSTAGE=folder -DZIP=file -P zip.cmake
include(${SOURCE_DIR}/cmake/zip-stage.cmake)
if(NOT RSVG)
  message(FATAL_ERROR "rsvg-convert is missing: the web zip's icons are drawn with it; install librsvg2-bin")
endif()

# icon(FILE SIZE [DRAWING BACKGROUND]): the icon SIZE px square, with the
# drawing DRAWING px wide in its middle on BACKGROUND, or alone.
function(icon file size)
  set(options -w ${size} -h ${size})
  if(ARGC GREATER 2)
    math(EXPR margin "(${size} - ${ARGV2}) / 2")
    set(options -w ${ARGV2} -h ${ARGV2} --page-width ${size} --page-height ${size} --left ${margin} --top ${margin}
                -b ${ARGV3})
  endif()
  execute_process(COMMAND ${RSVG} ${options} -o ${STAGE}/${file} ${SOURCE_DIR}/desktop/brelix.svg
                  COMMAND_ERROR_IS_FATAL ANY)
endfunction()
# The drawing alone, for browsers and Android's launcher, which put it on a
# background of their own.
icon(icon-192.png 192)
icon(icon-512.png 512)
# On the theme's blue: Android's masks cut up to a circle of 40 % of the
# size about the middle, in which the drawing's square lies whole (its half
# diagonal is 144 * 1.414 = 203.6 px, under 204.8); iOS, which rounds the
# corners and shows no transparency, gets most of its square.
icon(icon-maskable-512.png 512 288 "#1c6aa3")
icon(apple-touch-icon.png 180 136 "#1c6aa3")

# The files beside the page that the service worker keeps, named once.
configure_file(${SOURCE_DIR}/web/manifest.webmanifest ${STAGE}/manifest.webmanifest COPYONLY)
set(kept manifest.webmanifest icon-192.png icon-512.png icon-maskable-512.png apple-touch-icon.png)
list(JOIN kept "', '" KEPT)
set(KEPT "'${KEPT}'")
configure_file(${SOURCE_DIR}/web/sw.js ${STAGE}/sw.js @ONLY)
set(members brelix/index.html=${PAGE} brelix/sw.js=${STAGE}/sw.js)
foreach(file IN LISTS kept)
  list(APPEND members brelix/${file}=${STAGE}/${file})
endforeach()
list(APPEND members brelix/LICENSE=${SOURCE_DIR}/LICENSE)
execute_process(COMMAND ${PYTHON} ${SOURCE_DIR}/cmake/zip.py ${ZIP} ${members} COMMAND_ERROR_IS_FATAL ANY)
