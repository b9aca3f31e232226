#pragma once

#include <string>

namespace vidor::platform::windows {

// What the drive list's tip says of a drive, in the words a user knows it by: its name (the
// volume's label, or a network drive's share) followed by its kind, "Données (disque dur)",
// "\\serveur\partage (lecteur réseau)"; the kind alone, capitalised, for a drive without a name,
// "Disque amovible". The kind of an unknown type is "lecteur".
std::string driveDescription(const std::string& name, int type);

}  // namespace vidor::platform::windows
