# The Windows installer, Vidor-<version>-setup.exe, made by CPack's NSIS generator (Debian's nsis):
# Vidor.exe and Renovex.exe side by side under Program Files\Brenlo for the whole machine, or
# under the user's own programs folder when the installer is not run as an administrator; a
# Start menu shortcut; an uninstaller listed among the installed programs.
install(TARGETS Vidor RUNTIME DESTINATION .)
if(TARGET Renovex)
  install(TARGETS Renovex RUNTIME DESTINATION .)
endif()
# Packaging builds the programs alone, not the tests.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR NSIS)
set(CPACK_VERBATIM_VARIABLES ON) # the NSIS lines below keep their quotes, $ and backslashes
set(CPACK_PACKAGE_NAME Vidor)
set(CPACK_PACKAGE_VENDOR Brenlo)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Vidor : suppression des fichiers temporaires")
set(CPACK_PACKAGE_FILE_NAME Vidor-${PROJECT_VERSION}-setup)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Brenlo)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Vidor)
set(CPACK_PACKAGE_EXECUTABLES Vidor Vidor)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME Vidor)
set(CPACK_NSIS_DISPLAY_NAME "Vidor ${PROJECT_VERSION}")
set(CPACK_NSIS_INSTALLED_ICON_NAME Vidor.exe)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_IGNORE_LICENSE_PAGE ON)
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
# /MAJ=<folder> on the installer's command line: the machine's update folder, where Vidor looks
# for its new versions (the registry's 32-bit view, where Vidor keeps it). Without it, Vidor asks
# at its first start.
set(CPACK_NSIS_DEFINES "!include FileFunc.nsh")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS [=[
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/MAJ=" $R1
  IfErrors noUpdateFolder
    SetRegView 32
    WriteRegStr HKLM "Software\Brenlo\Brenlo" "RépertoireMiseAJour" $R1
    SetRegView 64
  noUpdateFolder:
]=])

# CMake's own installer script, changed in three places: a 64-bit installer (the programs are),
# the administrator's rights asked for but not required, and the user's own programs folder
# rather than the documents when installing for one user.
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in template)
function(change_template from to)
  string(FIND "${template}" "${from}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "CMake's NSIS template has no '${from}': update ${CMAKE_CURRENT_LIST_FILE}")
  endif()
  string(REPLACE "${from}" "${to}" changed "${template}")
  set(template "${changed}" PARENT_SCOPE)
endfunction()
change_template("  ;Set compression" "  Target amd64-unicode\n  ;Set compression")
change_template("RequestExecutionLevel admin" "RequestExecutionLevel highest")
change_template("$DOCUMENTS\\@CPACK_PACKAGE_INSTALL_DIRECTORY@"
  "$LOCALAPPDATA\\Programs\\@CPACK_PACKAGE_INSTALL_DIRECTORY@")
file(WRITE ${CMAKE_BINARY_DIR}/nsis/NSIS.template.in "${template}")
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_BINARY_DIR}/nsis)

include(CPack)
