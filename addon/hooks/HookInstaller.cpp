#include "addon/hooks/HookInstaller.h"

#include "addon/hooks/AddonState.h"
#include "addon/hooks/LaunchImage.h"
#include "addon/hooks/SaveButton.h"
#include "addon/hooks/SavedTab.h"
#include "platform/runtime/Implementation.h"
#include "platform/runtime/RuntimeFunctions.h"
#include "platform/substrate/MSHookMessageEx.h"

namespace lv {

void installHooks() {
    ReplacedMethods& slots = addonState().slots;

    MSHookMessageEx(objc_getClass("SBApplication"), sel_registerName("_currentDefaultPNGName"),
                    rt::imp<std::shared_ptr<NSString>()>(applicationCurrentDefaultPNGName),
                    &slots.currentDefaultPNGName);
    MSHookMessageEx(objc_getClass("AppController"), sel_registerName("applicationDidFinishLaunching:"),
                    rt::imp<void(id)>(appControllerDidFinishLaunching), &slots.applicationDidFinishLaunching);

    Class stopwatch = objc_getClass("StopWatchViewController");
    class_addMethod(stopwatch, sel_registerName("saveButtonClicked"),
                    rt::imp<void()>(stopwatchSaveButtonClicked), "v@:");
    MSHookMessageEx(stopwatch, sel_registerName("viewDidLoad"), rt::imp<void()>(stopwatchViewDidLoad),
                    &slots.viewDidLoad);
    MSHookMessageEx(stopwatch, sel_registerName("_clearAllLaps"), rt::imp<void()>(stopwatchClearAllLaps),
                    &slots.clearAllLaps);
    MSHookMessageEx(stopwatch, sel_registerName("_stopTimer"), rt::imp<void()>(stopwatchStopTimer),
                    &slots.stopTimer);
    MSHookMessageEx(stopwatch, sel_registerName("_startTimer"), rt::imp<void()>(stopwatchStartTimer),
                    &slots.startTimer);
}

} // namespace lv
