#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/render/Canvas.h"

class UIView;
class UIWindow;

namespace platform::render {

// Draws what `window` shows now (its view tree, the bars, and any presented alert on top) at
// `scale` pixels per point into a PNG file. False with a message in `error` on failure.
bool renderWindowToPNG(UIWindow& window, double scale, const std::string& path, std::string* error);

// The same drawing into memory: a canvas of the window's bounds size. Lays the window out first.
// Nothing (with a message in `error`) when the window has no area or is too large to draw.
std::optional<Canvas> renderWindow(UIWindow& window, double scale, std::string* error = nullptr);

// One view and its subtree, the view's bounds filling the canvas: its alpha applies, its transform
// (which places it in its superview) does not. Does not lay the view out.
std::optional<Canvas> renderView(UIView& view, double scale, std::string* error = nullptr);

} // namespace platform::render
