#include "addon/hooks/HookInstaller.h"

#include "addon/hooks/AddonState.h"
#include "addon/hooks/HostMessages.h"
#include "addon/hooks/LaunchImage.h"
#include "addon/hooks/SaveButton.h"
#include "addon/hooks/SavedTab.h"
#include "platform/runtime/RuntimeFunctions.h"
#include "platform/substrate/MSHookMessageEx.h"

namespace lv {

void installHooks() {
    ReplacedMethods& slots = addonState().slots;

    MSHookMessageEx(objc_getClass("SBApplication"), host::currentDefaultPNGName,
                    applicationCurrentDefaultPNGName, &slots.currentDefaultPNGName);
    MSHookMessageEx(objc_getClass("AppController"), host::applicationDidFinishLaunching,
                    appControllerDidFinishLaunching, &slots.applicationDidFinishLaunching);

    Class stopwatch = objc_getClass("StopWatchViewController");
    rt::addMethod(stopwatch, host::saveButtonClicked, stopwatchSaveButtonClicked);
    MSHookMessageEx(stopwatch, host::viewDidLoad, stopwatchViewDidLoad, &slots.viewDidLoad);
    MSHookMessageEx(stopwatch, host::clearAllLaps, stopwatchClearAllLaps, &slots.clearAllLaps);
    MSHookMessageEx(stopwatch, host::stopTimer, stopwatchStopTimer, &slots.stopTimer);
    MSHookMessageEx(stopwatch, host::startTimer, stopwatchStartTimer, &slots.startTimer);
}

} // namespace lv
