# Where things go inside the simulated device root. `cmake --install --prefix <device root>` lays the
# device out as a package would; every install rule uses these names and nothing else.
set(DEVICE_LIBRARY_DIR "usr/lib")
set(DEVICE_BINARY_DIR "usr/bin")
set(DEVICE_PREFERENCE_BUNDLES_DIR "Library/PreferenceBundles")
set(DEVICE_PREFERENCE_LOADER_DIR "Library/PreferenceLoader/Preferences")
set(DEVICE_SUBSTRATE_DIR "Library/MobileSubstrate/DynamicLibraries")
set(DEVICE_PREFERENCES_DIR "var/mobile/Library/Preferences")

# Installed executables and modules find the platform library inside the same device root.
set(CMAKE_INSTALL_RPATH "$ORIGIN/../lib")
