#pragma once

namespace vidor::platform {

// A run without parameters needs a person at a screen; without one it says so and ends.
inline constexpr int kExitNoScreen = 3;
inline constexpr const char* kNoScreenMessage =
    "Vidor ne trouve pas d'écran : lancez-le depuis une session graphique, ou avec des "
    "paramètres (/U:, /E: ou /AUTO) pour un nettoyage sans écran.\n";

}  // namespace vidor::platform
