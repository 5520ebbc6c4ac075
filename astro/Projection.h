#pragma once

#include <cmath>
#include <cstdint>

#include "astro/Horizontal.h"

// The nine projections of the sky onto the view's plane, each described in
// one place: its number (as stored in the settings and typed on the command
// line), its names, its keyboard letter, its family and its standard
// parallel.
//
// Positions come in as altitude and azimuth in radians (azimuth a compass
// bearing: 0 north, pi/2 east); the plane has x to the right of the view
// direction and y upward, in units of the sphere's radius.

enum Projection : uint16_t {
    Orthographic = 0,
    Stereographic = 1,
    EqualArea = 2,
    LambertCylindrical = 3,
    BehrmanCylindrical = 4,
    TristanEdwards = 5,
    Peters = 6,
    GallOrthographic = 7,
    Balthasart = 8,
    ProjectionCount = 9,
};

enum class ProjectionFamily : uint8_t {
    // Two discs side by side: the half of the sky in front of the viewer,
    // and the half behind.
    TwoHemispheres,
    // Azimuthal, about the view direction; grids and the equator are drawn.
    Azimuthal,
    // Cylindrical equal area about the horizon, true to scale at the
    // standard parallel.
    Cylindrical,
};

struct ProjectionFacts {
    Projection id;
    const char* commandName;  // what the keyboard commands report ("stereographic")
    const char* dialogItem;   // the preferences list's item ("Stereographic")
    char key;                 // the letter that selects it after the projection key
    ProjectionFamily family;
    double standardParallelDegrees;  // cylindrical ones only
};

// What the keyboard commands report after switching, and the items of the
// preferences dialog's list; empty for a number that is no projection.
const char* ProjectionCommandName(int projection);
const char* ProjectionDialogItem(int projection);

// The projection a stored or typed number stands for, when it stands for one.
constexpr bool IsProjection(int value) { return value >= 0 && value < ProjectionCount; }
// The facts of a projection; a number outside the range gives equal area's.
const ProjectionFacts& FactsOf(int projection);

// The sky as one projection maps it for one view direction and elevation:
// everything that is the same for every point of a frame is worked out once.
class ProjectionFrame {
public:
    // direction and elevation of the view centre, radians; the standard
    // parallel (radians) counts for the cylindrical projections only.
    ProjectionFrame(Projection projection, double direction, double elevation, double standardParallel);

    bool Matches(Projection projection, double direction, double elevation, double standardParallel) const {
        return projection == projection_ && direction == direction_ && elevation == elevation_ &&
               standardParallel == standardParallel_;
    }

    // The plane point of a sky position. A point straight behind an azimuthal
    // view has no image; it goes to the centre.
    void Project(double altitude, double azimuth, double& x, double& y) const;
    // The same for a place whose sines and cosines are known: no
    // trigonometry at all.
    void Project(const HorizontalPlace& place, double& x, double& y) const;

private:
    // The two families drawn round the view direction (azimuthal, two
    // hemispheres), from the sines and cosines of the altitude and of the
    // azimuth less the view direction.
    void ProjectRound(double cosA, double sinA, double sinDz, double cosDz, double azimuth, double& x, double& y) const;

    Projection projection_;
    ProjectionFamily family_;
    double direction_, elevation_, standardParallel_;
    double sinElevation_, cosElevation_;
    double sinDirection_, cosDirection_;
    // The azimuths that bound the half of the sky behind the viewer.
    double backFrom_, backTo_;
    double cosParallel_;
};

// Inline: the star layer projects tens of thousands of places a frame.
inline void ProjectionFrame::Project(const HorizontalPlace& place, double& x, double& y) const {
    if (family_ == ProjectionFamily::Cylindrical) {
        // The offset from the view direction is an angle here, not a sine.
        Project(place.altitude, place.azimuth, x, y);
        return;
    }
    // Sine and cosine of the azimuth less the view direction.
    const double sinDz = place.sinAzimuth * cosDirection_ - place.cosAzimuth * sinDirection_;
    const double cosDz = place.cosAzimuth * cosDirection_ + place.sinAzimuth * sinDirection_;
    ProjectRound(place.cosAltitude, place.sinAltitude, sinDz, cosDz, place.azimuth, x, y);
}

inline void ProjectionFrame::ProjectRound(double cosA, double sinA, double sinDz, double cosDz, double azimuth,
                                          double& x, double& y) const {
    if (family_ == ProjectionFamily::TwoHemispheres) {
        const double x0 = cosA * sinDz;
        y = sinA * cosElevation_ - cosDz * cosA * sinElevation_;
        const bool back = backFrom_ < backTo_ ? (backFrom_ < azimuth && azimuth < backTo_)
                                              : (azimuth > backFrom_ || azimuth < backTo_);
        x = back ? x0 - 1.3 : x0 + 1.3;
        return;
    }
    const double c = cosA * cosDz;
    const double w = 1 + sinElevation_ * sinA + cosElevation_ * c;
    if (static_cast<long long>(w * 1000000.0) == 0) {
        x = 0.0;
        y = 0.0;
        return;
    }
    const double k = projection_ == Stereographic ? 2 / w : std::sqrt(2 / w);
    x = k * cosA * sinDz;
    y = k * (cosElevation_ * sinA - sinElevation_ * c);
}
