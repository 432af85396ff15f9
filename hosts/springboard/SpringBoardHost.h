#pragma once

#include <iosfwd>
#include <memory>
#include <vector>

#include "platform/foundation/ManualClock.h"
#include "platform/runtime/NSObject.h"
#include "hosts/springboard/SpringBoardStep.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIWindow.h"

namespace corvale::springboardhost {

// One SpringBoard process: its application and lock-screen manager objects, a key window over the
// whole screen and the manual media clock, and the steps played against them.
class SpringBoardHost {
public:
    SpringBoardHost(std::ostream& out, std::ostream& err);

    // Loads the tweaks; false (with a message) only when the device has no substitution folder at all.
    void loadTweaks();
    // Runs the steps until one fails or `restart` is reached; the index of that restart comes back
    // in *restartAt (steps.size() when none).
    int run(const std::vector<SpringBoardStep>& steps, std::size_t* restartAt);

    std::shared_ptr<UIAlertController> presentedAlert() const;
    // SpringBoard's key window over the whole screen, for a host that draws it live.
    const std::shared_ptr<UIWindow>& window() const { return m_window; }

private:
    int runStep(const SpringBoardStep& step);
    int waitForManifest();
    void advanceFrames(long count);
    int tap(const std::string& title);
    int render(const std::string& path);
    int record(const std::string& path, double seconds);
    void dump();
    void settle();

    std::ostream& m_out;
    std::ostream& m_err;
    std::shared_ptr<platform::ManualClock> m_clock;
    long m_frame = 0;
    id m_springBoard;
    id m_lockScreenManager;
    std::shared_ptr<UIWindow> m_window;
    std::vector<std::string> m_loadedLibraries;
};

} // namespace corvale::springboardhost
