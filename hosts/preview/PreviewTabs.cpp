#include "hosts/preview/PreviewTabs.h"

namespace corvale::preview {

PreviewTabs::PreviewTabs(PreviewSession& settings, SpringBoardSession& springBoard)
    : m_settings(settings), m_springBoard(springBoard) {}

nlohmann::ordered_json PreviewTabs::switchTo(const std::string& name) {
    if (name == "settings") {
        if (m_active != Tab::settings) {
            m_springBoard.suspend();
            m_settings.activate();
        }
        m_active = Tab::settings;
    } else if (name == "springboard") {
        if (m_active != Tab::springBoard) {
            m_settings.suspend();
            m_springBoard.activate();
        }
        m_active = Tab::springBoard;
    } else {
        return {{"ok", false}, {"error", "no tab '" + name + "': settings or springboard"}};
    }
    m_switched = true;
    return {{"ok", true}};
}

nlohmann::ordered_json PreviewTabs::perform(const nlohmann::json& action) {
    if (action.value("type", std::string()) == "tab")
        return switchTo(action.value("tab", std::string()));
    return m_active == Tab::settings ? m_settings.perform(action) : m_springBoard.perform(action);
}

std::optional<platform::render::Canvas> PreviewTabs::drawScreen() {
    return m_active == Tab::settings ? m_settings.drawScreen() : m_springBoard.drawScreen();
}

nlohmann::ordered_json PreviewTabs::state() {
    bool settings = m_active == Tab::settings;
    nlohmann::ordered_json state{{"tab", settings ? "settings" : "springboard"}};
    state.update(settings ? m_settings.state() : m_springBoard.state());
    return state;
}

bool PreviewTabs::takeChanged() {
    // Both are taken so that the inactive app's changes do not pile up for its return.
    bool settings = m_settings.takeChanged();
    bool springBoard = m_springBoard.takeChanged();
    bool switched = std::exchange(m_switched, false);
    return switched || (m_active == Tab::settings ? settings : springBoard);
}

bool PreviewTabs::moving() const {
    return m_active == Tab::springBoard ? m_springBoard.moving() : m_settings.moving();
}

void PreviewTabs::reloadSettings() {
    m_settings.restart();
    // The relaunched Settings app took the key window; SpringBoard's alerts present from it.
    if (m_active == Tab::springBoard)
        m_springBoard.activate();
}

} // namespace corvale::preview
