#include "platform/uikit/UITableViewCell.h"

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Message.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIKitMessages.h"
#include "platform/uikit/UILabel.h"

void UITableViewCell::describe(rt::ClassBuilder& b) {
    b.method<&UITableViewCell::setSelected>(msg::setSelected);
    b.method<&UITableViewCell::setHighlighted>(msg::setHighlighted);
    b.method<&UITableViewCell::setSelectedAnimated>(msg::setSelectedAnimated);
    b.method<&UITableViewCell::setHighlightedAnimated>(msg::setHighlightedAnimated);
    b.method<&UITableViewCell::setEditingAnimated>(msg::setEditingAnimated);
    b.method<&UITableViewCell::prepareForReuse>(msg::prepareForReuse);
}

void UITableViewCell::initWithStyleReuseIdentifier(UITableViewCellStyle style,
                                                   std::optional<std::string> reuseIdentifier) {
    initWithFrame(kInitialFrame);
    style_ = style;
    reuseIdentifier_ = std::move(reuseIdentifier);
    // The content view leaves the bottom point to the separator line (iOS 6).
    contentView_ =
        UIView::withFrame(CGRectMake(0, 0, kInitialFrame.size.width, kInitialFrame.size.height - 1));
    contentView_->setBackgroundColor(UIColor::clearColor());
    addSubview(contentView_);
}

std::shared_ptr<UILabel> UITableViewCell::textLabel() {
    if (!textLabel_) {
        textLabel_ = UIView::withFrame<UILabel>(CGRectMake(10, 0, frame().size.width - 20, 43));
        textLabel_->setFont(UIFont::boldSystemFontOfSize(20));
        textLabel_->setBackgroundColor(UIColor::clearColor());
        textLabel_->setHighlightedTextColor(UIColor::whiteColor());
        if (contentView_) {
            contentView_->addSubview(textLabel_);
        }
    }
    return textLabel_;
}

std::shared_ptr<UILabel> UITableViewCell::detailTextLabel() {
    if (style_ == UITableViewCellStyleDefault) {
        return nullptr;
    }
    if (!detailTextLabel_) {
        detailTextLabel_ = UIView::withFrame<UILabel>(CGRectMake(10, 22, frame().size.width - 20, 20));
        detailTextLabel_->setFont(UIFont::systemFontOfSize(14));
        detailTextLabel_->setTextColor(UIColor::grayColor());
        detailTextLabel_->setBackgroundColor(UIColor::clearColor());
        detailTextLabel_->setHighlightedTextColor(UIColor::whiteColor());
        if (contentView_) {
            contentView_->addSubview(detailTextLabel_);
        }
    }
    return detailTextLabel_;
}

std::shared_ptr<UIImageView> UITableViewCell::imageView() {
    if (!imageView_) {
        imageView_ = UIView::withFrame<UIImageView>(CGRectZero);
        if (contentView_) {
            contentView_->addSubview(imageView_);
        }
    }
    return imageView_;
}

void UITableViewCell::setAccessoryView(std::shared_ptr<UIView> view) {
    if (accessoryView_) {
        accessoryView_->removeFromSuperview();
    }
    accessoryView_ = std::move(view);
    if (accessoryView_) {
        addSubview(accessoryView_);
    }
}

void UITableViewCell::setBackgroundView(std::shared_ptr<UIView> view) {
    if (backgroundView_) {
        backgroundView_->removeFromSuperview();
    }
    backgroundView_ = std::move(view);
    if (backgroundView_) {
        backgroundView_->setFrame(bounds());
        insertSubviewAtIndex(backgroundView_, 0);
    }
}

void UITableViewCell::setSelectedBackgroundView(std::shared_ptr<UIView> view) {
    if (selectedBackgroundView_) {
        selectedBackgroundView_->removeFromSuperview();
    }
    selectedBackgroundView_ = std::move(view);
    if (selectedBackgroundView_) {
        selectedBackgroundView_->setFrame(bounds());
        selectedBackgroundView_->setHidden(!showsSelectionLook());
        insertSubviewAtIndex(selectedBackgroundView_, backgroundView_ ? 1 : 0);
    }
}

void UITableViewCell::setSelected(bool selected) {
    rt::send(self(), msg::setSelectedAnimated, selected, false);
}

void UITableViewCell::setHighlighted(bool highlighted) {
    rt::send(self(), msg::setHighlightedAnimated, highlighted, false);
}

void UITableViewCell::setSelectedAnimated(bool selected, bool /*animated*/) {
    selected_ = selected;
    updateSelectionLook();
}

void UITableViewCell::setHighlightedAnimated(bool highlighted, bool /*animated*/) {
    highlighted_ = highlighted;
    updateSelectionLook();
}

bool UITableViewCell::showsSelectionLook() const {
    return (highlighted_ || selected_) && selectionStyle_ != UITableViewCellSelectionStyleNone;
}

void UITableViewCell::propagateHighlight(UIView& view, bool highlighted) {
    // Copied: a subview's setHighlighted: may change the tree.
    auto children = view.subviews();
    for (const auto& child : children) {
        if (child == backgroundView_ || child == selectedBackgroundView_) {
            continue;
        }
        if (rt::respondsToSelector(child, msg::setHighlighted.sel())) {
            rt::send(child, msg::setHighlighted, highlighted);
        }
        if (highlighted && child != contentView_ && child->backgroundColor() &&
            child->backgroundColor()->alpha() > 0) {
            clearedBackgrounds_.emplace_back(child, child->backgroundColor());
            child->setBackgroundColor(UIColor::clearColor());
        }
        propagateHighlight(*child, highlighted);
    }
}

void UITableViewCell::updateSelectionLook() {
    bool look = showsSelectionLook();
    // With selection style None the subviews are left alone, unless they still show a look
    // given before the style changed.
    if (selectionStyle_ == UITableViewCellSelectionStyleNone && !lookShown_) {
        return;
    }
    if (selectedBackgroundView_) {
        selectedBackgroundView_->setHidden(!look);
    }
    // Every highlight or selection change reaches the subviews, even when the look stays, as on
    // the phone: subclasses of the labels see each call.
    propagateHighlight(*this, look);
    if (!look) {
        for (auto& [weak, color] : clearedBackgrounds_) {
            if (auto view = weak.lock()) {
                view->setBackgroundColor(color);
            }
        }
        clearedBackgrounds_.clear();
    }
    lookShown_ = look;
}

void UITableViewCell::setEditingAnimated(bool editing, bool /*animated*/) {
    editing_ = editing;
    if (!editing) {
        showingDeleteConfirmation_ = false;
    }
}

void UITableViewCell::prepareForReuse() {
    auto me = self();
    if (highlighted_) {
        rt::send(me, msg::setHighlightedAnimated, false, false);
    }
    if (selected_) {
        rt::send(me, msg::setSelectedAnimated, false, false);
    }
    showingDeleteConfirmation_ = false;
}

void UITableViewCell::setEditingControls(UITableViewCellEditingStyle style, bool reorder) {
    editingStyle_ = style;
    showsReorderControl_ = reorder;
}

void UITableViewCell::layoutSubviews() {
    CGRect area = bounds();
    area.origin = CGPointZero;
    if (contentView_) {
        contentView_->setFrame({{0, 0}, {area.size.width, area.size.height - 1}});
    }
    if (backgroundView_) {
        backgroundView_->setFrame(area);
    }
    if (selectedBackgroundView_) {
        selectedBackgroundView_->setFrame(area);
    }
}
