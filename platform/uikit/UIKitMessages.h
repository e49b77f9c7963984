#pragma once
// The typed messages the toolkit sends by selector. These are the methods that subclasses (the
// hosts, the add-on) override by registering their own implementation, and that hooks replace,
// so the toolkit always reaches them through rt::send, never by a direct C++ call. Each is
// declared here once; registrations, sends and hooks take the constant, and the type encoding
// follows from its signature.
//
// Signatures follow the runtime's conventions: objects by value as `id`, BOOL as `bool` ("c").

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/runtime/InstanceVariable.h"
#include "platform/runtime/Message.h"

#include <optional>
#include <string>

enum UITableViewCellStyle : NSInteger;

namespace msg {

// View controllers.
inline constexpr rt::Msg<void()> loadView{"loadView"};
inline constexpr rt::Msg<void()> viewDidLoad{"viewDidLoad"};
inline constexpr rt::Msg<void(bool)> viewWillAppear{"viewWillAppear:"};
inline constexpr rt::Msg<void(bool)> viewDidAppear{"viewDidAppear:"};
inline constexpr rt::Msg<void(bool)> viewWillDisappear{"viewWillDisappear:"};
inline constexpr rt::Msg<void(bool)> viewDidDisappear{"viewDidDisappear:"};
inline constexpr rt::Msg<void()> didReceiveMemoryWarning{"didReceiveMemoryWarning"};

// Initialisers a subclass extends.
inline constexpr rt::Msg<void(std::optional<std::string>, id)> initWithNibNameBundle{
    "initWithNibName:bundle:"};
inline constexpr rt::Msg<void(const id&)> initWithCoder{"initWithCoder:"};
inline constexpr rt::Msg<void(UITableViewCellStyle, std::optional<std::string>)> initWithStyleReuseIdentifier{
    "initWithStyle:reuseIdentifier:"};

// Controls.
inline constexpr rt::Msg<void(bool)> setEnabled{"setEnabled:"};
inline constexpr rt::Msg<bool()> isEnabled{"isEnabled"};
inline constexpr rt::Msg<void(bool)> setSelected{"setSelected:"};
inline constexpr rt::Msg<bool()> isSelected{"isSelected"};

// Highlighting: a cell sends setHighlighted: to every subview that responds to it.
inline constexpr rt::Msg<void(bool)> setHighlighted{"setHighlighted:"};
inline constexpr rt::Msg<bool()> isHighlighted{"isHighlighted"};

// Table cells.
inline constexpr rt::Msg<void(bool, bool)> setSelectedAnimated{"setSelected:animated:"};
inline constexpr rt::Msg<void(bool, bool)> setHighlightedAnimated{"setHighlighted:animated:"};
inline constexpr rt::Msg<void(bool, bool)> setEditingAnimated{"setEditing:animated:"};
inline constexpr rt::Msg<void()> prepareForReuse{"prepareForReuse"};

} // namespace msg

namespace ivar {

/// A view controller's view, which code that reads controllers by name reads.
inline constexpr rt::IvarRef<id> view{"_view"};

} // namespace ivar
