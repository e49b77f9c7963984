#pragma once
// View controllers. The view is built lazily: the first access runs `loadView` and then
// `viewDidLoad`, both sent by selector so that a subclass's registered override (or a hook)
// runs. The view lives in the runtime instance variable `_view`, where code that reads
// instance variables by name finds it. Containers send the appearance messages.
//
// Subclasses override loadView, viewDidLoad, viewWillAppear: etc. by defining a method of the
// same C++ name and registering it in their own describe(); calling the base class's version
// (`UIViewController::viewDidLoad()`) is the `[super viewDidLoad]`.

#include "platform/runtime/NSObject.h"
#include "platform/uikit/UIView.h"

#include <memory>
#include <optional>
#include <string>

class UINavigationItem;
class UITabBarController;
class UITabBarItem;

/// `UIViewController`.
class UIViewController : public NSObject {
  public:
    static constexpr const char* kClassName = "UIViewController";
    using Super = NSObject;
    static void describe(rt::ClassBuilder& b);

    /// `initWithNibName:bundle:`. There are no nibs here: loadView always makes a plain view.
    void initWithNibNameBundle(std::optional<std::string> nibName, id bundle);
    [[nodiscard]] const std::optional<std::string>& nibName() const { return nibName_; }

    /// The view, loaded on first access (loadView, then viewDidLoad).
    std::shared_ptr<UIView> view();
    /// Sets the view without loading (nil unloads it).
    void setView(std::shared_ptr<UIView> view);
    /// True once the view exists; never loads it.
    [[nodiscard]] bool isViewLoaded() const;

    // The default implementations, registered for their selectors.
    /// `loadView`: a plain view filling the application frame (no nib is ever found).
    void loadView();
    void viewDidLoad() {}
    void viewWillAppear(bool /*animated*/) {}
    void viewDidAppear(bool /*animated*/) {}
    void viewWillDisappear(bool /*animated*/) {}
    void viewDidDisappear(bool /*animated*/) {}
    void didReceiveMemoryWarning() {}

    /// The title; setting it also renames the tab bar item and navigation item when they exist.
    [[nodiscard]] const std::optional<std::string>& title() const { return title_; }
    void setTitle(std::optional<std::string> title);
    /// The tab bar item, made on first use with the controller's title and no image.
    std::shared_ptr<UITabBarItem> tabBarItem();
    void setTabBarItem(std::shared_ptr<UITabBarItem> item) { tabBarItem_ = std::move(item); }
    /// The navigation item, made on first use with the controller's title.
    std::shared_ptr<UINavigationItem> navigationItem();
    /// The tab bar controller holding this controller, nil when none.
    [[nodiscard]] std::shared_ptr<UITabBarController> tabBarController() const {
        return tabBarController_.lock();
    }
    /// True between the controller's viewWillAppear: and viewWillDisappear: sent by a container.
    [[nodiscard]] bool isAppearing() const { return onScreen_; }

    /// Sends `viewWillAppear:` (or Disappear) and records that the controller is on screen.
    /// Called by containers (tab bar controller, window) only.
    void beginAppearanceTransition(bool appearing, bool animated);
    /// Sends `viewDidAppear:` (or Disappear). Called by containers only.
    void endAppearanceTransition(bool appearing, bool animated);

  private:
    friend class UITabBarController;

    std::optional<std::string> nibName_;
    std::optional<std::string> title_;
    std::shared_ptr<UITabBarItem> tabBarItem_;
    std::shared_ptr<UINavigationItem> navigationItem_;
    std::weak_ptr<UITabBarController> tabBarController_;
    bool onScreen_ = false;
};
