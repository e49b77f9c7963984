#include "addon/views/LVLabel.h"

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Message.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIKitMessages.h"

void LVLabel::describe(rt::ClassBuilder& b) {
    b.method<&LVLabel::initWithCoder>(msg::initWithCoder);
    b.method<&LVLabel::setHighlighted>(msg::setHighlighted);
}

std::shared_ptr<LVLabel> LVLabel::withFrameShadow(CGRect frame, std::shared_ptr<UIColor> shadowColor,
                                                  CGSize shadowOffset) {
    auto label = rt::make<LVLabel>();
    label->initWithFrameShadowColorShadowOffset(frame, std::move(shadowColor), shadowOffset);
    return label;
}

void LVLabel::initWithFrameShadowColorShadowOffset(CGRect frame, std::shared_ptr<UIColor> shadowColor,
                                                   CGSize shadowOffset) {
    initWithFrame(frame);
    setShadowColor(std::move(shadowColor));
    setShadowOffset(shadowOffset);
    configure();
}

void LVLabel::initWithCoder(const id& /*coder*/) {
    // The toolkit here reads no interface archives, so the decoder initialiser has nothing to
    // restore and the label keeps its defaults.
    configure();
}

void LVLabel::configure() {
    savedShadowColor_ = shadowColor();
    savedShadowOffset_ = shadowOffset();
    highlightedShadowColor_ = nullptr;
    // Negation rather than subtraction from zero: a zero component becomes -0, which draws the same.
    highlightedShadowOffset_ = CGSize{-savedShadowOffset_.width, -savedShadowOffset_.height};
}

void LVLabel::setHighlighted(bool highlighted) {
    UILabel::setHighlighted(highlighted);
    // The pair follows the state the inherited operation has set, read back through the runtime so
    // that a replaced isHighlighted decides, not the argument.
    auto me = self();
    setShadowColor(rt::send(me, msg::isHighlighted) ? highlightedShadowColor_ : savedShadowColor_);
    setShadowOffset(rt::send(me, msg::isHighlighted) ? highlightedShadowOffset_ : savedShadowOffset_);
}
