#pragma once
// The world clock, alarm and timer tabs are not simulated: each shows its title and a line that
// says so.

#include <memory>
#include <string>

class UIView;

namespace clk {

/// Fills `view` with a centred title and a smaller note below it.
void buildPlaceholderScreen(const std::shared_ptr<UIView>& view, const std::string& title,
                            const std::string& note);

} // namespace clk
