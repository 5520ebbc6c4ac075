#include "controller/SlewFiles.h"

#include <optional>

#include "catalogues/SkyObject.h"
#include "controller/Planetarium.h"
#include "view/SkyView.h"

void Planetarium::FollowSlewFile() {
    // A file that is missing or holds no position leaves the view as it is.
    const std::optional<SlewPosition> position = ReadSlewFile(IncomingSlewPath);
    if (!position) return;
    SkyObject target;
    target.ra.SetRadians(position->ra);
    target.dec.SetRadians(position->dec);
    target.magnitude = -999.0f;
    target.UpdateHorizontal(999.0f, false);
    SetElevation(static_cast<float>(target.altitude.radians), false);
    SetDirectionRadians(static_cast<float>(target.azimuth.radians), false);
    view_->CentreOn(&target);
}

void Planetarium::WriteLockedPosition() {
    // A file that cannot be written is tried again at the next redraw.
    WriteSlewFile(OutgoingSlewPath, SlewPosition{locked_->ra.radians, locked_->dec.radians});
}
