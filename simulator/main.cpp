// The `lapvane` command: the simulated device (sim, demo, window) and the saved-times tools (times).

#include "simulator/CommandWords.h"
#include "simulator/LapvaneCommand.h"
#include "simulator/cli/StandardStreams.h"

#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

int runCommandLine(int argc, char** argv) {
    CLI::App app;
    int status = 0;
    sim::defineLapvaneCommand(app, status, LAPVANE_VERSION);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    for (const std::string& problem :
         {sim::emptyValueProblem(arguments), sim::commandWordsProblem(app, arguments)}) {
        if (!problem.empty()) {
            std::cerr << problem;
            return 1;
        }
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // A bad option or command line is status 1, as every other refusal; help and the
        // version are 0.
        return app.exit(e) == 0 ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "lapvane: " << e.what() << '\n';
        return 1;
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    sim::guardStandardStreams();
    int status = runCommandLine(argc, argv);
    // Output that did not arrive is a failure whatever the command did: what it printed was the
    // point of running it.
    if (std::string problem = sim::closeStandardOutput(); !problem.empty()) {
        std::cerr << problem << '\n';
        status = 1;
    }
    return status;
}
