#include "simulator/DemoScript.h"

namespace sim {

const std::string& demoScript() {
    static const std::string script =
        R"(# The Clock application starts on its first tab; SpringBoard names the launch image.
launch
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
# Stopping enables Save; saving stores the result once and disables the button again.
stop
screen
save
screen
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
# A tap on a result slides its laps in under a title of its total.
tap 0 0
screen
# A moment later the panel settles over the list; back slides it out again.
wait 0.5
screen
back
wait 0.5
screen
# Relaunching opens the Saved tab again, with its own launch image.
quit
launch
screen
# Other applications keep their own launch images.
launch-image com.apple.mobilemail
)";
    return script;
}

} // namespace sim
