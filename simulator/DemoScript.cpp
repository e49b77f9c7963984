#include "simulator/DemoScript.h"

namespace sim {

const std::string& demoScript() {
    static const std::string script =
        R"(# The Clock application starts on its first tab; SpringBoard names the launch image.
launch
shot 01-launch-image.png
screen
# Time a run of three laps on the stopwatch. The Save button is disabled while it runs.
tab stopwatch
start
wait 30.04
lap
wait 30.03
lap
wait 15.36
screen
shot 02-stopwatch-running.png
# Stopping enables Save; saving stores the result once and disables the button again.
stop
screen
shot 03-stopped-save-enabled.png
save
screen
shot 04-saved-save-disabled.png
# A second result: reset, time and save it.
reset
start
wait 42.5
stop
save
dump
# The fifth tab, Saved, lists the two results with their totals, dates and lap counts.
tab saved
screen
shot 05-saved-tab.png
# A tap on a result slides its laps in under a title of its total.
tap 0 0
screen
wait 0.15
shot 06-lap-panel-mid-slide.png
# A moment later the panel settles over the list; back slides it out again.
wait 0.35
screen
shot 07-lap-panel.png
back
wait 0.15
shot 08-lap-panel-sliding-out.png
wait 0.35
screen
shot 09-saved-tab-again.png
# Relaunching opens the Saved tab again, with its own launch image.
quit
launch
shot 10-relaunch-launch-image.png
screen
shot 11-relaunch-on-saved-tab.png
# Other applications keep their own launch images.
launch-image com.apple.mobilemail
)";
    return script;
}

} // namespace sim
