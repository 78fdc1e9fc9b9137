#include "common/RemovedObjectsCounter.h"

#include <limits>
#include <string>

namespace tarnwk {

void RemovedObjectsCounter::add(std::int32_t count) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    value_ = count > kMax - value_ ? kMax : value_ + count;
}

void RemovedObjectsCounter::load(Settings& settings) {
    const double stored = settings.number(Setting::TOTALOBJECTSREMOVED);
    const bool fits = stored >= 0 && stored <= std::numeric_limits<std::int32_t>::max();
    value_ = fits ? static_cast<std::int32_t>(stored) : 0;
}

bool RemovedObjectsCounter::save(Settings& settings) const {
    return settings.save(Setting::TOTALOBJECTSREMOVED, std::to_string(value_));
}

}  // namespace tarnwk
