# The Windows installer, Vidor-<version>-setup.exe, made by CPack's NSIS generator (Debian's nsis):
# Vidor.exe and Renovex.exe side by side under Program Files\Brenlo for the whole machine, or
# under the user's own programs folder when the installer is not run as an administrator or is
# given /CurrentUser; a Start menu shortcut; an uninstaller listed among the installed programs.
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
# The programs' own icon on the installer and the uninstaller; the programs shipped without their
# symbols, which make most of their size.
set(CPACK_NSIS_MUI_ICON ${VIDOR_ICON})
set(CPACK_NSIS_MUI_UNIICON ${VIDOR_ICON})
set(CPACK_STRIP_FILES ON)
# /MAJ=<folder> on the installer's command line: the update folder, where Vidor looks for its new
# versions. Installed for the machine, it is the machine's value (the registry's 32-bit view, where
# Vidor keeps it); installed for one user, it is that user's own value, which Vidor reads first and
# which a user without rights can write. Without it, Vidor asks at its first start.
set(CPACK_NSIS_DEFINES "!include FileFunc.nsh\nVar CurrentUserOnly")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS [=[
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/MAJ=" $R1
  IfErrors noUpdateFolder
    StrCmp $SV_ALLUSERS "AllUsers" 0 updateFolderForUser
    SetRegView 32
    WriteRegStr HKLM "Software\Brenlo\Brenlo" "RépertoireMiseAJour" $R1
    SetRegView 64
    Goto noUpdateFolder
  updateFolderForUser:
    WriteRegStr HKCU "Software\Brenlo\Brenlo" "RépertoireMiseAJour" $R1
  noUpdateFolder:
]=])

# CMake's own installer script, changed: a 64-bit installer (the programs are), the administrator's
# rights asked for but not required, the user's own programs folder rather than the documents when
# installing for one user, and /CurrentUser, which installs for the one user even when run as an
# administrator (an administrator deploying for one person; Wine's user is always one).
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
# The choice of one user (asked for, or a user without administrator rights) is made first, so
# that the earlier version looked for is the one this installation replaces.
change_template([=[Function .onInit
]=] [=[Function .onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/CurrentUser" $R1
  IfErrors +3
    StrCmp $R1 "" 0 +2
      StrCpy $CurrentUserOnly 1
  UserInfo::GetAccountType
  Pop $R1
  StrCmp $R1 "Admin" +3
  StrCmp $R1 "Power" +2
    StrCpy $CurrentUserOnly 1
]=])
set(uninstall_key
  [=["Software\Microsoft\Windows\CurrentVersion\Uninstall\@CPACK_PACKAGE_INSTALL_REGISTRY_KEY@"]=])
change_template("ReadRegStr $0 HKLM ${uninstall_key} \"UninstallString\""
  "StrCmp $CurrentUserOnly 1 0 +3
    ReadRegStr $0 HKCU ${uninstall_key} \"UninstallString\"
    Goto +2
  ReadRegStr $0 HKLM ${uninstall_key} \"UninstallString\"")
# Once chosen for one user, the account's rights no longer matter: the context stays the user's.
change_template([=[  UserInfo::GetAccountType
  Pop $1
  StrCmp $1 "Admin" 0 +4]=] [=[  UserInfo::GetAccountType
  Pop $1
  StrCmp $CurrentUserOnly 1 done
  StrCmp $1 "Admin" 0 +4]=])
# The uninstaller removes what it was installed with: an uninstaller registered for the user, at
# its own place, keeps the user's context whatever the account, and leaves the machine's alone.
change_template([=[Function un.onInit
]=] "Function un.onInit
  ReadRegStr $0 HKCU ${uninstall_key} \"UninstallString\"
  StrCmp $0 '\"$INSTDIR\\@CPACK_NSIS_UNINSTALL_NAME@.exe\"' done
")
# The installer and its uninstaller speak French, as the program does: NSIS's French language
# file alone for their pages and buttons ("Installation de Vidor"), whatever the system's
# language, and the template's own English messages and shortcut translated.
string(REGEX REPLACE "  !insertmacro MUI_LANGUAGE \"[A-Za-z]+\"[^\n]*\n" "" changed "${template}")
if(changed STREQUAL template)
  message(FATAL_ERROR
    "CMake's NSIS template inserts no languages: update ${CMAKE_CURRENT_LIST_FILE}")
endif()
set(template "${changed}")
change_template(";Languages\n" ";Languages\n  !insertmacro MUI_LANGUAGE \"French\"\n")
change_template([=["@CPACK_NSIS_PACKAGE_NAME@ is already installed. $\n$\nDo you want to uninstall the old version before installing the new one?"]=]
  [=["@CPACK_NSIS_PACKAGE_NAME@ est déjà installé.$\n$\nVoulez-vous désinstaller l'ancienne version avant d'installer la nouvelle ?"]=])
change_template([=["Uninstall failed."]=] [=["La désinstallation de l'ancienne version a échoué."]=])
change_template([=["Set install registry entry: '$1' to '$0'"]=]
  [=["Inscription dans le registre : '$1' = '$0'"]=])
change_template([=[\Uninstall.lnk"]=] [=[\Désinstaller @CPACK_NSIS_PACKAGE_NAME@.lnk"]=])
file(WRITE ${CMAKE_BINARY_DIR}/nsis/NSIS.template.in "${template}")
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_BINARY_DIR}/nsis)

include(CPack)
