#include "platform/uikit/UIDevice.h"

std::shared_ptr<UIDevice> UIDevice::currentDevice() {
    return ui::Environment::current().device();
}

UIUserInterfaceIdiom UIDevice::userInterfaceIdiom() const {
    return ui::Environment::current().configuration().idiom;
}

std::string UIDevice::model() const {
    return userInterfaceIdiom() == UIUserInterfaceIdiomPad ? "iPad" : "iPhone";
}
