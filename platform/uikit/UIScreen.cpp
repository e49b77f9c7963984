#include "platform/uikit/UIScreen.h"

#include "platform/uikit/Environment.h"

std::shared_ptr<UIScreen> UIScreen::mainScreen() {
    return ui::Environment::current().screen();
}

CGRect UIScreen::bounds() const {
    CGSize size = ui::Environment::current().configuration().screenSize;
    return {{0, 0}, size};
}

CGFloat UIScreen::scale() const {
    return ui::Environment::current().configuration().scale;
}

CGRect UIScreen::applicationFrame() const {
    const auto& config = ui::Environment::current().configuration();
    return {{0, config.statusBarHeight},
            {config.screenSize.width, config.screenSize.height - config.statusBarHeight}};
}
