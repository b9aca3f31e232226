#pragma once

#include <string>

#include "census/Census.h"
#include "census/CensusWindow.h"
#include "census/Deletion.h"
#include "census/DeletionList.h"
#include "census/RemovalJournal.h"
#include "census/RunFlags.h"
#include "census/RunReport.h"
#include "census/TailleTotale.h"
#include "korlib/Registre.h"
#include "platform/QuietWindowSystem.h"
#include "platform/Services.h"
#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Panel.h"
#include "platform/controls/Window.h"

namespace vidor::app {

// The main window: the selection panel where the user picks drives, extensions and options,
// and the execution panel where the census runs and the files to delete are reviewed.
class F_Main : public platform::Window {
  public:
    explicit F_Main(platform::Services& sys);
    ~F_Main() override;

    // Start-up, before the window is first shown: may end the program, or run a whole
    // unattended run when the command line asks for one.
    void Form_Load();

    // The window closes: stores the choices of a run started without parameters, then ends the
    // program.
    void Form_Unload();

    // Selection panel.
    platform::Panel pSaisie;
    platform::CheckBox poubel;
    platform::CheckBox VidorTP;
    platform::CheckBox VidorIE;
    platform::Button bSos;
    platform::Panel fUnites;
    platform::Button bLocal;
    platform::ListBox lUnites;
    platform::Panel fExt;
    platform::ListBox lExt;
    platform::Button bGo;
    platform::Label lblinfo;
    platform::Label z;

    // Execution panel.
    platform::Panel pExec;
    platform::CheckBox Poubel2;
    platform::Button bAuto;
    platform::Button bEffacer;
    platform::Button bConserver;
    platform::Button bAnn;
    platform::ListBox lDel;
    platform::Label eTaille;
    platform::Label eExec;

    census::RunFlags flags;

  private:
    void holdControls();
    void connectHandlers();

    // Start-up steps.
    [[noreturn]] void endAsSecondCopy();
    void countRun();
    void restoreChoices();
    void startManual();

    // The command line and the unattended run.
    void runCommandLine(std::string line);
    void chooseFromCommandLine(std::string line);
    void readParameter(const std::string& parameter);
    void chooseDrives(std::string list);
    void chooseExtensions(std::string list);
    void reduceWindow();
    void startUnattended();
    // An unattended run in a reduced window, or a manual one at full height.
    void setModeAuto(bool on);
    void bAuto_Click();
    void bAuto_MouseMove();

    // "/LISTE": what the run would remove, printed; nothing removed.
    void runPreview(const std::string& line);
    void printPreview();
    // "/RESTAURER": puts back what the last run sent to the recycle bin, then ends the program.
    [[noreturn]] void restoreLastRun();

    // The recycle bin and the journal, at the start of a census; what a run did, at its end.
    void keepUpTrash();
    void tellRunEnd(bool unattended);

    // Handlers of the selection panel.
    void bLocal_Click();
    void lUnites_Click();
    void lExt_Click();
    void bSos_Click();
    void VidorIE_Click();
    void VidorTP_Click();
    void poubel_Click();

    // Handlers of the execution panel.
    void Poubel2_Click();
    void bAnn_Click();
    void bAnn_MouseMove();
    void pExec_MouseMove();

    platform::QuietWindowSystem quiet_;  // silenced for a run that only prints
    platform::Services sys_;             // the machine's, with `quiet_` for its window system
    korlib::Registre registre_;
    bool savedDrives_ = false;  // "Unités sélectionnées" held a choice at start-up

    census::CensusWindow censusWindow_;
    census::TailleTotale total_;
    census::RunReport report_;
    census::RemovalJournal journal_;
    census::Census census_;
    census::DeletionList deletionList_;
    census::Deletion deletion_;
};

}  // namespace vidor::app
