#include "simulator/manual/ManualExamples.h"

namespace sim::manual {

const std::vector<ManualEntry>& manualExamples() {
    static const std::vector<ManualEntry> examples = {
        {"lapvane demo --keep-home",
         "Run the demonstration: a timed run with laps, two saved results, the Saved tab and its editing, "
         "with a picture of each step; the home folder is kept for lapvane times."},
        {"printf 'launch\\ntab stopwatch\\nstart\\nwait 12.5\\nlap\\nwait 3\\nstop\\nsave\\ntab "
         "saved\\nscreen\\n' "
         "| lapvane sim --home /tmp/phone",
         "Time a run of 15.5 seconds with a lap, save it and show the Saved tab, in a home of its own."},
        {"lapvane sim --home /tmp/phone --tz UTC --locale en_US --now 2026-12-07T08:30:00Z run.txt",
         "Run a script file on a device whose clock starts at a given moment, dates in English and UTC."},
        {"lapvane window --home /tmp/phone --record session.txt",
         "Use the device with the mouse and record what you do as a script for lapvane sim."},
        {"lapvane times list", "List the results saved in the default home."},
        {"lapvane times export --format csv --home /tmp/phone > times.csv",
         "Export the saved results of a home for a spreadsheet."},
        {"lapvane times stats --section Default --format json",
         "The fastest, slowest and average laps of each result of one section, as JSON."},
        {"gunzip -c saved.plist.gz | lapvane times check --file -",
         "Check a saved-times file read from standard input for values the add-on would misread."},
        {"lapvane help times export", "Describe a command, as lapvane times export --help does."},
    };
    return examples;
}

} // namespace sim::manual
