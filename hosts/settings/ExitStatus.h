#pragma once

namespace corvale::settingshost {

// What `corvale-settings` exits with.
enum ExitStatus : int {
    exitSuccess = 0,
    // The pane could not be opened or a step could not run.
    exitStepFailed = 1,
    exitUsage = 2,
    // `lint` found problems (and every step ran).
    exitLintProblems = 3,
};

} // namespace corvale::settingshost
