#pragma once

#include <cstdint>

#include "common/SettingsKeys.h"

namespace tarnwk {

// `totalObjectsRemoved`: the number of found items sent to quarantine, a
// 32-bit count mirrored in the store under "TOTALOBJECTSREMOVED".
class RemovedObjectsCounter {
public:
    std::int32_t value() const { return value_; }
    // Adds `count`, stopping at the largest 32-bit value.
    void add(std::int32_t count);
    // Replaces the value with the stored one (0 when absent or not a count).
    void load(Settings& settings);
    [[nodiscard]] bool save(Settings& settings) const;

private:
    std::int32_t value_ = 0;
};

}  // namespace tarnwk
