#pragma once

#include "census/RunFlags.h"
#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Panel.h"
#include "platform/controls/Window.h"

namespace vidor::census {

// The parts of the main window that the census, the walk and the deletion work on.
struct CensusWindow {
    platform::Window& form;
    platform::Panel& pSaisie;
    platform::Panel& pExec;
    platform::CheckBox& poubel;
    platform::CheckBox& Poubel2;
    platform::Button& bGo;
    platform::Button& bEffacer;
    platform::Button& bConserver;
    platform::Button& bAuto;
    platform::Button& bAnn;
    platform::ListBox& lUnites;
    platform::ListBox& lExt;
    platform::ListBox& lDel;
    platform::Label& eExec;
    platform::Label& eTaille;
    RunFlags& flags;
};

}  // namespace vidor::census
