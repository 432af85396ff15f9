#pragma once

#include <memory>

#include "platform/uikit/UIColor.h"
#include "platform/uikit/UINavigationBar.h"

// How the root page dresses the navigation bar while the header colour runs into it.
namespace BarAppearance {

// The bar in the header colour with white items, opaque and without its hairline.
void theme(UINavigationBar& bar, const UIColorPtr& headerColour);
// The bar as the application's appearance proxy has it, translucent again.
void restore(UINavigationBar& bar);

} // namespace BarAppearance
