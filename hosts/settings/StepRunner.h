#pragma once

#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "hosts/settings/EventRecorder.h"
#include "hosts/common/ExitStatus.h"
#include "hosts/settings/HostStep.h"
#include "hosts/settings/LintProblem.h"
#include "hosts/settings/SettingsApplication.h"

namespace corvale::settingshost {

using hosts::ExitStatus;
using enum hosts::ExitStatus;

// Runs the command line's steps against the open pane, in order, printing JSON lines on `output`
// and the reason a step cannot run on `errors`. The main queue is drained after every step, as the
// app's run loop would before the next touch.
class StepRunner {
public:
    StepRunner(SettingsApplication& application, std::ostream& output, std::ostream& errors);

    // exitStepFailed at the first step that cannot run (the rest are skipped); else exitLintProblems
    // when a lint step found problems; else exitSuccess.
    ExitStatus run(const std::vector<HostStep>& steps);

    static nlohmann::ordered_json lintLine(const LintProblem& problem);

private:
    bool runStep(const HostStep& step);
    bool dump();
    bool set(const HostStep& step);
    bool tap(const HostStep& step);
    bool alert(const HostStep& step);
    bool back();
    bool home();
    bool lint();
    bool render(const HostStep& step);
    bool scroll(const HostStep& step);
    bool tapAt(const HostStep& step);
    bool type(const HostStep& step);
    bool pressReturn();
    bool tapCredit(const HostStep& step);
    bool tapBranding();
    bool waitCredits();
    // The top page, or nil with the reason printed.
    std::shared_ptr<PSListController> requireTopPage(const char* step);
    bool fail(const std::string& message);

    SettingsApplication& m_application;
    std::ostream& m_output;
    std::ostream& m_errors;
    EventRecorder m_events;
    bool m_lintFoundProblems = false;
};

} // namespace corvale::settingshost
