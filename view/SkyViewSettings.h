#pragma once

#include "view/SkyView.h"

class SettingsStore;

// The view's stored settings (projection, elevation, direction, display
// options, limits, minor-planet count) read from a settings store.
SkyViewSettings ReadSkyViewSettings(const SettingsStore& store);
// The same from a store of its own, created and released here.
SkyViewSettings ReadSkyViewSettings();
