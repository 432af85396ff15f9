#pragma once

namespace merrow {

// What the library does when it is loaded into SpringBoard: reads the prompt state and, on iOS 12.0
// and later, substitutes the launch and unlock methods and adds __zr_presentFollowAlert. Below 12.0
// nothing is substituted and the library stays inert.
void loadIntoSpringBoard();

// The present routine: at most one prompt per state key, recorded before the display check.
void presentFollowAlert();

} // namespace merrow
