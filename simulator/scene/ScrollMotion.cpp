#include "simulator/scene/ScrollMotion.h"

#include <algorithm>
#include <cmath>

namespace sim {
namespace {

double band(double beyond, double dimension) {
    return dimension <= 0 ? 0 : (1 - 1 / (beyond * ScrollMotion::kRubberBand / dimension + 1)) * dimension;
}

} // namespace

ScrollMotion::ScrollMotion(double least, double most, double dimension)
    : least_(least), most_(std::max(least, most)), dimension_(dimension), offset_(least) {}

double ScrollMotion::banded(double wanted) const {
    if (wanted < least_) {
        return least_ - band(least_ - wanted, dimension_);
    }
    if (wanted > most_) {
        return most_ + band(wanted - most_, dimension_);
    }
    return wanted;
}

void ScrollMotion::release(double offset, double velocity) {
    offset_ = offset;
    velocity_ = velocity;
    resting_ = false;
    step();
}

double ScrollMotion::advance(double ms) {
    for (int i = 0; i < static_cast<int>(std::ceil(ms)) && !resting_; ++i) {
        // Each millisecond: inside the ends the velocity decays at the deceleration rate; past
        // an end a critically damped spring pulls the content back to it.
        double edge = std::clamp(offset_, least_, most_);
        if (offset_ != edge) {
            double pull = offset_ - edge;
            velocity_ += -kSpringPerMs * kSpringPerMs * pull - 2 * kSpringPerMs * velocity_;
        } else {
            velocity_ *= kDecelerationPerMs;
        }
        offset_ += velocity_;
        step();
    }
    return offset_;
}

// Comes to rest when slow enough inside the ends, or close enough to the end it springs back to.
void ScrollMotion::step() {
    double edge = std::clamp(offset_, least_, most_);
    bool inside = offset_ == edge;
    if ((inside && std::abs(velocity_) < kRestSpeed) ||
        (!inside && std::abs(offset_ - edge) < 0.5 && std::abs(velocity_) < kRestSpeed)) {
        offset_ = std::clamp(std::round(offset_ * 2) / 2, least_, most_);
        velocity_ = 0;
        resting_ = true;
    }
}

} // namespace sim
