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
# Edit mode: the totals slide right, the lap counts fade out, Add appears on the left.
edit
wait 0.5
screen
shot 10-edit-mode.png
# Add opens the new section dialog; the name typed becomes a new, empty last section.
add
type Work
screen
shot 11-new-section-dialog.png
button Add
wait 0.5
screen
shot 12-section-work-added.png
# Drag both results into Work. The second move empties Default: it leaves the file at once, and
# the table a tenth of a second later.
move 0 0 1 0
move 0 0 1 1
screen
shot 13-default-emptied.png
wait 0.1
screen
shot 14-default-dropped.png
# Delete the second result: the minus control, then Delete.
delete 0 1
wait 0.5
screen
shot 15-after-delete.png
# A name that is already taken is refused, over a fresh dialog.
add
type Work
button Add
wait 0.5
screen
shot 16-name-refused.png
button Dismiss
wait 0.5
button Dismiss
wait 0.5
# Done ends edit mode.
done
wait 0.5
screen
shot 17-done.png
# Relaunching opens the Saved tab again, with its own launch image.
quit
launch
shot 18-relaunch-launch-image.png
# The launch image gives way to the application's first frame at the next turn of the run loop.
wait 0.1
screen
shot 19-relaunch-on-saved-tab.png
# Other applications keep their own launch images.
launch-image com.apple.mobilemail
shot 20-mail-launch-image.png
)";
    return script;
}

} // namespace sim
