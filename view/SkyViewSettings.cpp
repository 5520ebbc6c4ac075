#include "view/SkyViewSettings.h"

#include "settings/SettingsStore.h"

SkyViewSettings ReadSkyViewSettings(const SettingsStore& store) {
    SkyViewSettings s;
    const ViewSettings view = store.ReadView();
    s.projection = static_cast<uint16_t>(FactsOf(view.projection).id);
    s.elevation = view.elevation;
    s.direction = view.direction;
    s.options = store.ReadDisplayOptions();
    const LimitSettings limits = store.ReadLimits();
    s.starLimit = static_cast<float>(limits.stars);
    s.dsoLimit = static_cast<float>(limits.deepSky);
    s.asteroidsToShow = store.ReadAsteroidCount();
    return s;
}

SkyViewSettings ReadSkyViewSettings() {
    SettingsStore store;
    return ReadSkyViewSettings(store);
}
