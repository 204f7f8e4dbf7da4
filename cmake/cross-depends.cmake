# SPDX-License-Identifier: MIT
# Run by cpack in a cross build before it packs. dpkg-shlibdeps reads the
# package's Depends from the target's own libraries, as a native build does,
# and finds them only where their multiarch packages are installed; without
# them it would leave Depends empty, so cpack stops here instead.
set(arch ${CPACK_DEBIAN_PACKAGE_ARCHITECTURE})
set(libraries libc6:${arch} libstdc++6:${arch} libgcc-s1:${arch})
execute_process(COMMAND dpkg-query -W [=[-f=${Status}\n]=] ${libraries}
                OUTPUT_VARIABLE status ERROR_QUIET)
string(REGEX MATCHALL "install ok installed" installed "${status}")
list(LENGTH installed count)
list(LENGTH libraries wanted)
if(NOT count EQUAL wanted)
  list(JOIN libraries " " names)
  message(FATAL_ERROR "the package's Depends need the target's libraries: "
                      "dpkg --add-architecture ${arch} && apt-get update && apt-get install ${names}")
endif()
