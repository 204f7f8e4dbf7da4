# SPDX-License-Identifier: MIT
# Run by cpack once the sources for the tarball are gathered: a tarball has
# no git history, so it carries the time stamp of its commit in a file.
file(WRITE ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/source-date-epoch "$ENV{SOURCE_DATE_EPOCH}\n")
