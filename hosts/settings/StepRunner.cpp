#include "hosts/settings/StepRunner.h"

#include "platform/foundation/RunLoop.h"
#include "platform/foundation/SimulatedDevice.h"
#include "platform/preferences/PreferencesInteraction.h"
#include "platform/render/AlertPainter.h"
#include "platform/render/ScreenRenderer.h"
#include "platform/uikit/UIAlertAction.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/SimulatedKeyboard.h"
#include "platform/uikit/TouchScreen.h"
#include "platform/uikit/UIWindow.h"
#include "hosts/settings/PageDump.h"
#include "hosts/settings/PaneLint.h"
#include "hosts/common/ValueJSON.h"
#include "platform/uikit/UIColor.h"

namespace corvale::settingshost {

namespace {

constexpr const char* colourParserSelector = "_colorFromKVString:";

// The pane's colour parser, which it adds to UIColor when it loads; nothing when it has none.
PaneLint::ColourCheck paneColourCheck() {
    Class colourClass = objc_getClass("UIColor");
    if (!class_respondsToClassSelector(colourClass, colourParserSelector))
        return {};
    return [colourClass](const std::string& text) {
        return objc_msgSendClass(colourClass, colourParserSelector, {Value(text)}).objectAs<UIColor>() !=
               nullptr;
    };
}

} // namespace

StepRunner::StepRunner(SettingsApplication& application, std::ostream& output, std::ostream& errors)
    : m_application(application), m_output(output), m_errors(errors) {}

ExitStatus StepRunner::run(const std::vector<HostStep>& steps) {
    for (const auto& step : steps) {
        bool ran = runStep(step);
        platform::RunLoop::main().runUntilIdle();
        // The display pass after each turn of the run loop: what the next step reads or touches is laid out.
        if (const auto& window = m_application.window())
            window->layoutIfNeeded();
        m_events.collect();
        if (!ran)
            return exitStepFailed;
    }
    return m_lintFoundProblems ? exitLintProblems : exitSuccess;
}

bool StepRunner::runStep(const HostStep& step) {
    switch (step.kind) {
    case HostStep::Kind::dump:
        return dump();
    case HostStep::Kind::set:
        return set(step);
    case HostStep::Kind::tap:
        return tap(step);
    case HostStep::Kind::alert:
        return alert(step);
    case HostStep::Kind::back:
        return back();
    case HostStep::Kind::home:
        return home();
    case HostStep::Kind::lint:
        return lint();
    case HostStep::Kind::render:
        return render(step);
    case HostStep::Kind::scroll:
        return scroll(step);
    case HostStep::Kind::tapCredit:
        return tapCredit(step);
    case HostStep::Kind::tapBranding:
        return tapBranding();
    case HostStep::Kind::waitCredits:
        return waitCredits();
    case HostStep::Kind::tapAt:
        return tapAt(step);
    case HostStep::Kind::type:
        return type(step);
    case HostStep::Kind::returnKey:
        return pressReturn();
    }
    return false;
}

bool StepRunner::fail(const std::string& message) {
    m_errors << "corvale-settings: " << message << '\n';
    return false;
}

std::shared_ptr<PSListController> StepRunner::requireTopPage(const char* step) {
    auto page = m_application.topPage();
    if (!page)
        fail(std::string(step) + ": the page on top is not a preferences list");
    return page;
}

bool StepRunner::dump() {
    auto page = requireTopPage("dump");
    if (!page)
        return false;
    m_output << PageDump::dump(page, m_application.presentedAlert(), m_events.take()).dump() << std::endl;
    return true;
}

bool StepRunner::set(const HostStep& step) {
    auto page = requireTopPage("set");
    if (!page)
        return false;
    if (m_application.presentedAlert())
        return fail("set: an alert covers the page; answer it first with 'alert TITLE'");
    if (!platform::PreferencesInteraction::setValueOfRowWithKey(page, step.name, step.value))
        return fail("set: no row with the key '" + step.name + "' on the page '" + page->title() + "'");
    return true;
}

bool StepRunner::tap(const HostStep& step) {
    auto page = requireTopPage("tap");
    if (!page)
        return false;
    if (m_application.presentedAlert())
        return fail("tap: an alert covers the page; answer it first with 'alert TITLE'");
    if (!platform::PreferencesInteraction::tapRowWithLabel(page, step.name))
        return fail("tap: no row labelled '" + step.name + "' on the page '" + page->title() + "'");
    return true;
}

bool StepRunner::tapAt(const HostStep& step) {
    // A presented alert is modal: a touch on one of its buttons answers it, and a touch anywhere else
    // lands on the dimmed screen around the card and reaches nothing below.
    if (auto alert = m_application.presentedAlert()) {
        auto action = platform::render::AlertPainter::actionAt(*alert, m_application.window()->bounds().size,
                                                               step.point);
        if (action && action->isEnabled())
            platform::tapAlertAction(alert, action->title());
        return true;
    }
    if (!platform::TouchScreen::tap(*m_application.window(), step.point))
        return fail("tap-at: nothing on the screen takes touches at " + std::to_string(step.point.x) + ", " +
                    std::to_string(step.point.y));
    return true;
}

bool StepRunner::type(const HostStep& step) {
    if (!platform::SimulatedKeyboard::type(*m_application.window(), step.name))
        return fail("type: no field is being edited; tap one first");
    return true;
}

bool StepRunner::pressReturn() {
    if (!platform::SimulatedKeyboard::pressReturn(*m_application.window()))
        return fail("return: no field is being edited; tap one first");
    return true;
}

bool StepRunner::alert(const HostStep& step) {
    auto alert = m_application.presentedAlert();
    if (!alert)
        return fail("alert: no alert is presented");
    if (!platform::tapAlertAction(alert, step.name))
        return fail("alert: the alert '" + alert->title() + "' has no action '" + step.name + "'");
    return true;
}

bool StepRunner::back() {
    if (m_application.presentedAlert())
        return fail("back: an alert covers the page; answer it first with 'alert TITLE'");
    if (!m_application.goBack())
        return fail("back: the first page is on top");
    return true;
}

bool StepRunner::home() {
    m_application.goHome();
    return true;
}

bool StepRunner::render(const HostStep& step) {
    std::string error;
    if (!platform::render::renderWindowToPNG(*m_application.window(),
                                             platform::SimulatedDevice::screenScale(), step.name, &error))
        return fail("render: " + error);
    return true;
}

bool StepRunner::scroll(const HostStep& step) {
    auto page = requireTopPage("scroll");
    if (!page)
        return false;
    if (m_application.presentedAlert())
        return fail("scroll: an alert covers the page; answer it first with 'alert TITLE'");
    const auto& table = page->table();
    table->_dragToContentOffset({table->contentOffset().x, step.value.doubleValue()});
    return true;
}

bool StepRunner::lint() {
    if (!m_application.paneBundle())
        return fail("lint: no pane with a bundle is open; open one with 'tap LABEL' or --pane LABEL");
    auto colourCheck = paneColourCheck();
    if (!colourCheck)
        m_errors << "corvale-settings: lint: the pane adds no " << colourParserSelector
                 << " to UIColor; theme colours are not checked\n";
    const auto& bundle = m_application.paneBundle();
    auto tweakName = bundle->objectForInfoDictionaryKey("KVTweakName").stringValue();
    PaneLint lint(bundle->bundlePath(), tweakName, std::move(colourCheck));
    for (const auto& problem : lint.run()) {
        m_lintFoundProblems = true;
        m_output << lintLine(problem).dump() << '\n';
    }
    m_output.flush();
    return true;
}

nlohmann::ordered_json StepRunner::lintLine(const LintProblem& problem) {
    return {{"plist", problem.plist},
            {"label", hosts::ValueJSON::from(problem.label)},
            {"property", problem.property.empty() ? nlohmann::ordered_json(nullptr)
                                                  : nlohmann::ordered_json(problem.property)},
            {"value", hosts::ValueJSON::from(problem.value)},
            {"problem", problem.problem}};
}

} // namespace corvale::settingshost
