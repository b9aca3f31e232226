#pragma once

#include <string>

#include "korlib/Registre.h"
#include "platform/controls/ListBox.h"

namespace vidor::selection {

// Extensions that never enter the list from the saved settings, as first written.
inline constexpr const char* kDefaultForbidden =
    "ACL,BAT,CAB,CFG,CNT,COM,CPL,DA0,DAK,DAT,DLL,DOC,DOK,DOS,DOT,DRV,EXE,FON,GDI,GIF,ICM,ICO,"
    "INF,INI,JPG,LNK,LST,NLS,MPD,OCA,OCX,OLB,PCX,PDR,PIF,PPT,REG,RSC,SCF,SCR,SRG,SYS,TLB,TRN,"
    "TTF,TWD,TXT,VDX,XLM,XLS,XLW,";
// The extensions listed, and those selected, when nothing is saved: each followed by a tab.
inline constexpr const char* kDefaultExtensions = "bak\ttmp\tsyd\t$$$\twbk\told\tchk\tlog";
inline constexpr const char* kDefaultSelected = "tmp\tsyd\t$$$\told\tchk";

// The forbidden list, every entry between two commas, from "Extensions interdites"; the default
// list is stored first when nothing is.
std::string forbiddenList(const korlib::Registre& registre);

// Fills the extension list from "Extensions" (or the defaults), trimming each element and
// leaving out empty and forbidden ones.
void fillExtensions(platform::ListBox& lExt, const korlib::Registre& registre,
                    const std::string& forbidden);

// Selects the extensions named in "Extensions sélectionnées" (or the default ones).
void restoreSelectedExtensions(platform::ListBox& lExt, const korlib::Registre& registre);

}  // namespace vidor::selection
