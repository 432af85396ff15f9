#pragma once

namespace platform {

// libcurl's process-wide set-up, done once, before the first transfer, whichever thread gets there
// first. Never undone: transfers may run until the process exits.
void initializeCurlOnce();

} // namespace platform
