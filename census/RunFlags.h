#pragma once

namespace vidor::census {

// The main window's state flags, all false when it opens.
struct RunFlags {
    bool modeAuto = false;       // unattended run: the census goes on into the deletion
    bool tousIE = false;         // purge Temporary Internet Files folders, clear the web cache
    bool tousTP = false;         // purge TEMP folders
    bool versCorbeille = false;  // files go to the recycle bin instead of being deleted
    bool arretDemande = false;   // the user asked the running census to stop
    bool enCours = false;        // a census walks the drives
};

}  // namespace vidor::census
