#pragma once

#include <cstdint>

#include "platform/controls/Label.h"

namespace vidor::census {

// The running byte total of a census, shown in its label as "1'234'567 bytes". It counts in 64
// bits: sizes add up beyond 2 GiB, and a file of any size counts fully.
class TailleTotale {
  public:
    explicit TailleTotale(platform::Label& eTaille) : eTaille_(eTaille) {}

    std::int64_t value() const { return value_; }
    // Starts again from 0 (the label is left as it is).
    void reset() { value_ = 0; }
    // Adds or takes off a file's size and shows the new total; an addition that would leave the
    // range is not made.
    void add(std::uint64_t size);
    void subtract(std::uint64_t size);

    // The label's text for a total.
    static std::string caption(std::int64_t total);

  private:
    void show();

    platform::Label& eTaille_;
    std::int64_t value_ = 0;
};

}  // namespace vidor::census
