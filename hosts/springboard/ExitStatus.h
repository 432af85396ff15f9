#pragma once

namespace corvale::springboardhost {

// What `merrow-springboard` exits with.
enum ExitStatus : int {
    exitSuccess = 0,
    // A step could not run: no alert to tap, a render that failed, a download that never settled.
    exitStepFailed = 1,
    exitUsage = 2,
};

} // namespace corvale::springboardhost
