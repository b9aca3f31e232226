#include "census/TailleTotale.h"

#include <limits>

#include "korlib/ValeurFormate.h"

namespace vidor::census {

namespace {
constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
}

std::string TailleTotale::caption(std::int64_t total) {
    return korlib::ValeurFormate(total) + " bytes";
}

void TailleTotale::add(std::uint64_t size) {
    if (value_ < 0 || size <= kMax - static_cast<std::uint64_t>(value_)) {
        if (size <= kMax) value_ += static_cast<std::int64_t>(size);
    }
    show();
}

void TailleTotale::subtract(std::uint64_t size) {
    if (size <= kMax &&
        value_ >= std::numeric_limits<std::int64_t>::min() + static_cast<std::int64_t>(size)) {
        value_ -= static_cast<std::int64_t>(size);
    }
    show();
}

void TailleTotale::show() {
    eTaille_.setCaption(caption(value_));
}

}  // namespace vidor::census
