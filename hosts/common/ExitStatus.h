#pragma once

namespace corvale::hosts {

// What the device hosts exit with.
enum ExitStatus : int {
    exitSuccess = 0,
    // The pane could not be opened or a step could not run (no such row, no alert to tap, a render
    // that failed, a download that never settled).
    exitStepFailed = 1,
    exitUsage = 2,
    // The settings host's `lint` found problems (and every step ran).
    exitLintProblems = 3,
};

} // namespace corvale::hosts
