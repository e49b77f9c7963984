#pragma once
// How far a row animating out of its table has faded. The painter fades the row by it and the
// scene of the screen (which draws nothing, and so links no drawing library) says the same.

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UIViewAnimation.h"

#include <algorithm>

namespace render {

/// How far a row animating out of its table has faded at `moment`: 1 at its start, 0 at
/// its end.
inline double dyingRowFade(const UITableView::DyingCell& dying, NSTimeInterval moment) {
    if (dying.animation == UITableViewRowAnimationNone || dying.end <= dying.start) {
        return 0;
    }
    double progress = std::clamp((moment - dying.start) / (dying.end - dying.start), 0.0, 1.0);
    return 1 - ui::Animator::curveProgress(UIViewAnimationCurveEaseInOut, progress);
}

} // namespace render
