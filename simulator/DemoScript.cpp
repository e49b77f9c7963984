#include "simulator/DemoScript.h"

namespace sim {

const std::string& demoScript() {
    static const std::string script = R"(# The Clock application starts on its first tab.
launch
screen
# Time a run of three laps on the stopwatch.
tab stopwatch
start
wait 30.04
lap
wait 30.03
lap
wait 15.36
stop
screen
# Save the result, then time and save a second one.
save
reset
start
wait 42.5
stop
save
dump
# The Saved tab lists both results; a tap shows the laps of the first.
tab saved
screen
tap 0 0
wait 0.5
screen
back
wait 0.5
# A new section, and the second result moved into it.
edit
add
type Intervals
screen
button Add
wait 0.5
move 0 1 1 0
wait 0.5
screen
done
wait 0.5
# Relaunching keeps the tab and the results.
quit
launch
screen
)";
    return script;
}

} // namespace sim
