#include "korlib/ValeurFormate.h"

namespace vidor::korlib {

std::string ValeurFormate(std::int64_t total) {
    // The magnitude as unsigned, so that the most negative total has one too.
    std::uint64_t magnitude =
        total < 0 ? 0 - static_cast<std::uint64_t>(total) : static_cast<std::uint64_t>(total);
    std::string digits = std::to_string(magnitude);
    std::string text;
    text.reserve(digits.size() + digits.size() / 3 + 1);
    if (total < 0) text += '-';
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += '\'';
        text += digits[i];
    }
    return text;
}

}  // namespace vidor::korlib
