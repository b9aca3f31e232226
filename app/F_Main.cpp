#include "app/F_Main.h"

#include "korlib/Registre.h"

namespace vidor::app {

using platform::Button;
using platform::CheckBox;
using platform::Label;
using platform::ListBox;
using platform::Panel;

namespace {

// The caption the window was designed with: Form_Load puts the program's title and version in
// its place before the window is first shown, so no one ever sees it.
constexpr const char* kDesignCaption = "Form1";

platform::Services withWindows(const platform::Services& sys, platform::WindowSystem& windows) {
    return {sys.settings, sys.drives,  sys.files,   sys.webCache, sys.process,
            windows,      sys.journal, sys.trashed, sys.notifier};
}

}  // namespace

// Places, sizes (twips) and tab indexes of the controls, as the window was designed.
F_Main::F_Main(platform::Services& sys)
    : Window("F_Main", 7320, 3390, kDesignCaption),
      pSaisie("pSaisie", {0, 0, 7335, 3375}, 0),
      poubel("poubel", {3720, 3000, 3375, 255}, 20, "Mettre dans la corbeille Windows", 1),
      VidorTP("VidorTP", {3720, 1800, 3615, 375}, 19, "Effacer les temp"),
      VidorIE("VidorIE", {3720, 1440, 3615, 375}, 17, "Effacer les fichiers Internet temporaires"),
      bSos("bSos", {6000, 960, 735, 255}, 12, "Aide"),
      fUnites("fUnites", {120, 120, 1335, 3135}, 4, Panel::Kind::Frame, "Unités à traiter"),
      bLocal("bLocal", {240, 2775, 855, 255}, 16, "Local"),
      lUnites("lUnites", {240, 360, 855, 2400}, 5, ListBox::Selection::Multiple),
      fExt("fExt", {1560, 120, 1935, 3135}, 2, Panel::Kind::Frame, "Extensions temporaires"),
      lExt("lExt", {240, 360, 1455, 2595}, 3, ListBox::Selection::Multiple),
      bGo("bGo", {4080, 840, 1215, 495}, 1, "Recenser", true),
      lblinfo("lblinfo", {3600, 2160, 3615, 615}, 18, ""),
      z("z", {3600, 120, 3735, 735}, 6,
        "Ce programme efface les fichiers temporaires (extensions sélectionnées) sur les unités "
        "sélectionnées.",
        true),
      pExec("pExec", {0, 0, 7335, 3495}, 7),
      Poubel2("Poubel2", {7080, 2970, 180, 195}, 21, ""),
      bAuto("bAuto", {6600, 0, 735, 255}, 15, "Auto"),
      bEffacer("bEffacer", {6000, 2880, 1335, 375}, 14, "Effacer  ", true),
      bConserver("bConserver", {4680, 2880, 1335, 375}, 13, "Conserver"),
      bAnn("bAnn", {3360, 2880, 1335, 375}, 10, "Annuler"),
      lDel("lDel", {120, 360, 7095, 2400}, 9, ListBox::Selection::Single),
      eTaille("eTaille", {120, 2880, 3615, 375}, 11, "0 bytes"),
      eExec("eExec", {120, 120, 6495, 255}, 8, "Fichiers à supprimer"),
      quiet_(sys.windows, sys.process),
      sys_(withWindows(sys, quiet_)),
      registre_(sys.settings, sys.process.exeName()),
      censusWindow_{.form = *this,
                    .pSaisie = pSaisie,
                    .pExec = pExec,
                    .poubel = poubel,
                    .Poubel2 = Poubel2,
                    .bGo = bGo,
                    .bEffacer = bEffacer,
                    .bConserver = bConserver,
                    .bAuto = bAuto,
                    .bAnn = bAnn,
                    .lUnites = lUnites,
                    .lExt = lExt,
                    .lDel = lDel,
                    .eExec = eExec,
                    .eTaille = eTaille,
                    .flags = flags},
      total_(eTaille),
      journal_(sys.journal, sys.trashed, sys.process),
      census_(sys_, censusWindow_, total_, report_),
      deletionList_(sys.files, censusWindow_, total_),
      deletion_(sys_, censusWindow_, report_) {
    holdControls();
    connectHandlers();
    // What a screen reader says of the controls that the window names beside them: the small box
    // is the second recycle-bin choice, and the heading over the files names their list.
    Poubel2.setLabelledBy(poubel);
    lDel.setLabelledBy(eExec);
    pExec.setVisible(false);
    Poubel2.setVisible(false);
    bEffacer.setVisible(false);
    setDefaultButton(&bGo);
    // Enabled once a drive and an extension are selected.
    bGo.setEnabled(false);
    lUnites.toolTip = [this](int line) { return sys_.drives.location(lUnites.item(line).front()); };
}

F_Main::~F_Main() = default;

void F_Main::holdControls() {
    hold(pSaisie);
    for (platform::Control* control : std::initializer_list<platform::Control*>{
             &poubel, &VidorTP, &VidorIE, &bSos, &fUnites, &fExt, &bGo, &lblinfo, &z}) {
        pSaisie.hold(*control);
    }
    fUnites.hold(bLocal);
    fUnites.hold(lUnites);
    fExt.hold(lExt);
    hold(pExec);
    for (platform::Control* control : std::initializer_list<platform::Control*>{
             &Poubel2, &bAuto, &bEffacer, &bConserver, &bAnn, &lDel, &eTaille, &eExec}) {
        pExec.hold(*control);
    }
}

void F_Main::connectHandlers() {
    onLoad = [this] { Form_Load(); };
    onUnload = [this] { Form_Unload(); };
    bLocal.onClick = [this] { bLocal_Click(); };
    lUnites.onClick = [this] { lUnites_Click(); };
    lExt.onClick = [this] { lExt_Click(); };
    bSos.onClick = [this] { bSos_Click(); };
    VidorIE.onClick = [this] { VidorIE_Click(); };
    VidorTP.onClick = [this] { VidorTP_Click(); };
    poubel.onClick = [this] { poubel_Click(); };
    Poubel2.onClick = [this] { Poubel2_Click(); };
    bAnn.onClick = [this] { bAnn_Click(); };
    bGo.onClick = [this] {
        keepUpTrash();
        census_.bGo_Click();
    };
    bEffacer.onClick = [this] { deletion_.bEffacer_Click(); };
    bConserver.onClick = [this] { deletionList_.bConserver_Click(); };
    lDel.onClick = [this] { deletionList_.lDel_Click(); };
    lDel.onDblClick = [this] { deletionList_.lDel_DblClick(); };
    bAnn.onMouseMove = [this] { bAnn_MouseMove(); };
    bAuto.onClick = [this] { bAuto_Click(); };
    bAuto.onMouseMove = [this] { bAuto_MouseMove(); };
    pExec.onMouseMove = [this] { pExec_MouseMove(); };
    report_.onRemoved = [this](const census::RunReport::Removed& removed) {
        journal_.record(removed);
    };
    report_.onFinished = [this](bool unattended) { tellRunEnd(unattended); };
}

}  // namespace vidor::app
