#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "hosts/preview/PreviewSession.h"
#include "hosts/preview/SpringBoardSession.h"
#include "platform/render/Canvas.h"

namespace corvale::preview {

// The page's two tabs: the Settings app and SpringBoard. Only one app can be on the device's screen
// (see SpringBoardSession), so a tab switch makes the other one active; each keeps its state
// meanwhile, but the one off the screen is suspended (its display links stop, so a name cloud left
// running costs nothing). Actions, frames and the panel's state go to the active one.
class PreviewTabs {
public:
    enum class Tab { settings, springBoard };

    PreviewTabs(PreviewSession& settings, SpringBoardSession& springBoard);

    // {"type": "tab", "tab": "settings" | "springboard"}, else the active app's action.
    nlohmann::ordered_json perform(const nlohmann::json& action);
    std::optional<platform::render::Canvas> drawScreen();
    // The active app's state with "tab" naming it.
    nlohmann::ordered_json state();
    bool takeChanged();
    // Whether the active app's screen moves by itself (an animation, the name cloud).
    bool moving() const;

    // The Settings app reloads when its panes change on disk, whichever tab is shown.
    std::vector<std::filesystem::path> watchedFolders() const { return m_settings.watchedFolders(); }
    void reloadSettings();

private:
    nlohmann::ordered_json switchTo(const std::string& name);

    PreviewSession& m_settings;
    SpringBoardSession& m_springBoard;
    Tab m_active = Tab::settings;
    bool m_switched = false;
};

} // namespace corvale::preview
