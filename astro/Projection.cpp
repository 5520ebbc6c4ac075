#include "astro/Projection.h"

#include <cmath>

#include "astro/Constants.h"

namespace {

using enum ProjectionFamily;

constexpr ProjectionFacts kFacts[ProjectionCount] = {
    {Orthographic, "orthographic", "Orthographic", 'O', TwoHemispheres, 0.0},
    {Stereographic, "stereographic", "Stereographic", 'S', Azimuthal, 0.0},
    {EqualArea, "equal area", "Equal Area", 'E', Azimuthal, 0.0},
    {LambertCylindrical, "lambert cylindrical equal area", "Lambert Cylindrical Equal Area", 'L', Cylindrical, 0.0},
    {BehrmanCylindrical, "behrman cylindrical equal area", "Behrman Cylindrical", 'B', Cylindrical, 30.0},
    {TristanEdwards, "tristan edwards", "Tristan Edwards", 'T', Cylindrical, 37.383},
    {Peters, "peters", "Peters", 'P', Cylindrical, 44.138},
    {GallOrthographic, "gall orthographic", "Gall Orthographic", 'G', Cylindrical, 45.0},
    {Balthasart, "balthasart orthographic", "Balthasart", 'A', Cylindrical, 50.0},
};

}  // namespace

const ProjectionFacts& FactsOf(int projection) { return kFacts[IsProjection(projection) ? projection : EqualArea]; }

const char* ProjectionCommandName(int projection) {
    return IsProjection(projection) ? kFacts[projection].commandName : "";
}

const char* ProjectionDialogItem(int projection) {
    return IsProjection(projection) ? kFacts[projection].dialogItem : "";
}

ProjectionFrame::ProjectionFrame(Projection projection, double direction, double elevation, double standardParallel)
    : projection_(projection),
      family_(FactsOf(projection).family),
      direction_(direction),
      elevation_(elevation),
      standardParallel_(standardParallel),
      sinElevation_(std::sin(elevation)),
      cosElevation_(std::cos(elevation)),
      sinDirection_(std::sin(direction)),
      cosDirection_(std::cos(direction)),
      cosParallel_(std::cos(standardParallel)) {
    const double pi = static_cast<double>(Pi);
    backFrom_ = direction + pi / 2;
    backTo_ = direction + 3 * pi / 2;
    if (backFrom_ > 2 * pi) backFrom_ -= 2 * pi;
    if (backTo_ > 2 * pi) backTo_ -= 2 * pi;
}

void ProjectionFrame::Project(double altitude, double azimuth, double& x, double& y) const {
    const double dz = azimuth - direction_;
    if (family_ == Cylindrical) {
        const double pi = static_cast<double>(Pi);
        x = cosParallel_ * dz;
        y = std::sin(altitude) / cosParallel_;
        if (x > pi * cosParallel_) {
            x -= 2 * pi * cosParallel_;
        } else if (x < -pi * cosParallel_) {
            x += 2 * pi * cosParallel_;
        }
        return;
    }
    ProjectRound(std::cos(altitude), std::sin(altitude), std::sin(dz), std::cos(dz), azimuth, x, y);
}
