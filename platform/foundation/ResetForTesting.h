#pragma once

namespace platform {

// Puts every process-wide singleton of the platform back as a new process finds it, so that one test
// cannot see what another left behind: the preferences store's in-memory copies, the posted Darwin
// notifications, the device event log, the appearance proxies' recorded values, the simulated device
// (release, application, screen, appearance, size class, installed schemes) and the media clock.
// Files on the device root are left alone (a test's device root is its own). A singleton added to the
// platform is reset here.
void resetForTesting();

// The simulated device as its defaults and the environment describe it; part of resetForTesting.
void resetSimulatedDevice();

} // namespace platform
