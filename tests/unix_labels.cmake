# SPDX-License-Identifier: MIT
# Read by ctest after the unit tests have been discovered: the ones that
# only a Unix system can run get the label unix.
set_tests_properties(Dialogue.StopsWithStatus2WhenAReadFailsAfterSomeInput WriteText.ReportsAWriteThatFailsWithinAText
                     PROPERTIES LABELS unix)
