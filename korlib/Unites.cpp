#include "korlib/Unites.h"

namespace vidor::korlib {

bool UniteExiste(platform::Drives& drives, const std::string& text) {
    return !text.empty() && drives.rootListable(text.front());
}

}  // namespace vidor::korlib
