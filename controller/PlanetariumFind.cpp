// Turning to an object found by name, and saying where it is.

#include <cmath>
#include <cstdio>

#include "astro/Constants.h"
#include "catalogues/BayerLetters.h"
#include "controller/ObjectNames.h"
#include "controller/Planetarium.h"
#include "controller/ReportDisplay.h"
#include "view/SkyView.h"

namespace {

int SecondOfDay(int hours, int minutes, double seconds) {
    return hours * 3600 + minutes * 60 + static_cast<int>(seconds);
}

}  // namespace

std::string Planetarium::GoTo(const ObjectRef& ref) {
    SkyObject* object = ObjectOf(ref.kind, ref.catalogue, ref.index);
    if (!object) return {};
    // A star too faint for the frame, a minor planet not shown: placed for
    // the moment all the same.
    PlaceForReport(ref.kind, ref.index, *object);
    // Named as the side panel names it.
    const std::string said = WhereIs(ShownName(*object), *object);

    if (locked_ && locked_ != object) {
        ClearLock();
        view_->ShowLockedName(nullptr);
    }
    selectedKind_ = ref.kind;
    if (ref.kind == KindStar) selectedCatalogue_ = ref.catalogue;
    selectedIndex_ = ref.index;
    selected_ = object;
    LookAtSelected();
    if (report_ && report_->IsOpen()) FillReport();
    UpdateRiseTransitSet();
    return said;
}

std::string Planetarium::WhereIs(const std::string& name, SkyObject& object) {
    char text[256];
    if (!object.belowHorizon) {
        std::snprintf(text, sizeof text, "%s stands %.0f\u00b0 above the horizon", name.c_str(),
                      std::fabs(object.altitude.radians) * 180.0 / static_cast<double>(Pi));
        return text;
    }
    HmsAngle rise, transit, set;
    const uint32_t today = object.RiseTransitSet(rise, transit, set);
    if (today & RtsNeverRises) return name + " is below the horizon and never rises here";
    const DateTime now = observer_->civil();
    if ((today & RtsRise) &&
        SecondOfDay(rise.hours, rise.minutes, rise.seconds) > SecondOfDay(now.hour, now.minute, now.second))
        return name + " is below the horizon; it rises at " + EventClockText(rise);

    // Risen already today: the search runs again on the next civil day,
    // with the clock stopped there, and everything is put back.
    const Observer saved = *observer_;
    DateTime oneDay;
    oneDay.day = 1;
    const DateTime next = Observer::addOffset(now, oneDay);
    observer_->setUseSystemClock(false);
    observer_->stop();
    observer_->setCivil(next.hour, next.minute, next.second, next.day, next.month, next.year);
    observer_->update();
    const uint32_t tomorrow = object.RiseTransitSet(rise, transit, set);
    *observer_ = saved;
    // The Sun, the Moon and the planets were left at the next day's places
    // by their searches.
    Recompute();
    if (tomorrow & RtsRise) return name + " is below the horizon; it rises tomorrow at " + EventClockText(rise);
    return name + " is below the horizon and does not rise today or tomorrow";
}
