# One Wine server for the whole run, started before the first test and stopped after the last:
# a cold start costs seconds for each test program. The start's output is sent away, or the
# server (which outlives the command) would hold CTest's pipe open and CTest would wait forever.
# Wine's recycle bin is the freedesktop.org trash of $XDG_DATA_HOME, here inside the build; when
# that folder is missing Wine deletes for good what it is asked to recycle.
set(VIDOR_WINE_DATA ${CMAKE_BINARY_DIR}/wine-data)
set(VIDOR_WINE_ENVIRONMENT
  "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix;WINEDEBUG=-all;DISPLAY=;WINEDLLOVERRIDES=mscoree,mshtml=;XDG_DATA_HOME=${VIDOR_WINE_DATA}")
add_test(NAME wine.start COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/wine-start.sh)
set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine
  ENVIRONMENT "${VIDOR_WINE_ENVIRONMENT}")
add_test(NAME wine.stop COMMAND sh -c "exec >/dev/null 2>&1; /usr/lib/wine/wineserver -k; true")
set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine
  ENVIRONMENT "${VIDOR_WINE_ENVIRONMENT}")
