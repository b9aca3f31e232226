# Run by CPack while it stages the Debian package: the machine values the package provides for
# every user, in /etc/xdg where the settings store looks when a user has none. Only the package
# ships them: `cmake --install` leaves /etc alone, and a copy started from its build folder still
# asks for its update folder.
file(INSTALL "${CPACK_VIDOR_PACKAGING_DIR}/Brenlo.conf" DESTINATION /etc/xdg/Brenlo)
