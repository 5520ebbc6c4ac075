#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "astro/Angles.h"
#include "astro/Horizontal.h"
#include "astro/Projection.h"
#include "catalogues/StarCatalogue.h"
#include "settings/DisplayOptions.h"
#include "view/Canvas.h"
#include "view/Colors.h"
#include "view/PainterSupport.h"
#include "view/SkyPanel.h"

class QImage;
class QtCanvas;
class SkyObject;
class SkyOverlay;
class Star;

// The view settings kept in the settings store, read by the caller so that
// the view itself never touches the store.
struct SkyViewSettings {
    uint16_t projection = EqualArea;
    double elevation = 0.0;  // radians
    double direction = 0.0;  // radians
    DisplayOptions options;
    float starLimit = 4.5f;
    float dsoLimit = 9.0f;
    int32_t asteroidsToShow = 250;
};

// One polyline of a constellation figure: 1-based indices into its stars.
using FigureLine = std::vector<uint16_t>;

// The sky view: viewing geometry (direction, elevation, projection, zoom,
// scroll), the mapping from the projection plane to the pixels of the paint
// surface, the display options and limits, the palette, the off-screen frame
// and every painter. Positions come in as altitude and azimuth (radians,
// azimuth a compass bearing); the plane has y upward, pixels y downward.
class SkyView {
public:
    // panel may be null (nothing is shown or written then); the surface
    // starts at the panel's size, or 1x1 without one.
    SkyView(const SkyViewSettings& settings, SkyPanel* panel);
    ~SkyView();
    SkyView(const SkyView&) = delete;
    SkyView& operator=(const SkyView&) = delete;

    // --- geometry -----------------------------------------------------------
    // A value outside 0-8 falls back to EqualArea rather than draw nothing.
    void SetProjection(uint16_t p);
    Projection GetProjection() const { return projection_; }
    // Plane point of a sky position in the current projection. No allocation.
    void Project(double altitude, double azimuth, double& x, double& y) const;
    // Projects the object into its screenX/screenY and centres the view there.
    void CentreOn(SkyObject* object);
    void SetCentre(double x, double y);
    void ScrollVertical(float f);
    void ScrollHorizontal(float f);
    void ZoomIn(float f);
    void ZoomOut(float f);
    void Resize(int width, int height);
    // Resize to the panel's surface size.
    void FitToSurface();
    void UpdateBounds();
    // Called for every point of a frame, hence here.
    bool IsInView(double x, double y) const {
        return planeLeft_ < x && x < planeRight_ && planeBottom_ < y && y < planeTop_;
    }
    int32_t ToPixelX(double x) const { return TruncToPixel((x - planeLeft_) * scale_); }
    int32_t ToPixelY(double y) const { return TruncToPixel(surfaceHeight_ - (y - planeBottom_) * scale_); }
    double FromPixelX(int32_t px) const { return px / static_cast<double>(scale_) + planeLeft_; }
    double FromPixelY(int32_t py) const { return (surfaceHeight_ - py) / static_cast<double>(scale_) + planeBottom_; }

    double PlaneLeft() const { return planeLeft_; }
    double PlaneRight() const { return planeRight_; }
    double PlaneBottom() const { return planeBottom_; }
    double PlaneTop() const { return planeTop_; }
    double CentreX() const { return centreX_; }
    double CentreY() const { return centreY_; }
    int32_t SurfaceWidth() const { return surfaceWidth_; }
    int32_t SurfaceHeight() const { return surfaceHeight_; }
    int32_t HalfWidth() const { return halfWidth_; }
    int32_t HalfHeight() const { return halfHeight_; }
    float Scale() const { return scale_; }
    // Sets the zoom directly (command line, tests); bounds follow.
    void SetScale(float scale);
    float LabelScale() const { return labelScale_; }
    float SqrtScale() const { return sqrtScale_; }
    float ZoomSteps() const { return zoomSteps_; }

    // Azimuth and altitude of the view centre; the projections read the
    // radians members.
    Angle direction;
    Angle elevation;
    Angle standardParallel;

    float starLimit = 4.5f;
    float dsoLimit = 9.0f;
    int32_t asteroidsToShow = 250;

    // Rise, transit and set texts of the selected object, written by the
    // update cycle and shown by ShowReadout.
    std::string setText;
    std::string transitText;
    std::string riseText;

    void SetOptions(const DisplayOptions& options) { options_ = options; }
    DisplayOptions GetOptions() const { return options_; }
    DisplayOptions& Options() { return options_; }
    const DisplayOptions& Options() const { return options_; }

    // --- palette --------------------------------------------------------------
    Palette& GetPalette() { return palette_; }
    const Palette& GetPalette() const { return palette_; }
    // These recolour the side panel too; the caller redraws.
    bool ToggleRedMode();
    void Brighter();
    void Dimmer();

    // --- side panel and status bar ---------------------------------------------
    void ShowClockMode(bool running, bool systemTime);
    void SetStatusText(int panel, const std::string& text);
    // The readout of the selected object, or of nothing.
    void ShowReadout(SkyObject* object);
    void ShowLockedName(SkyObject* object);
    void ShowDirection();
    void ApplyPanelColours();
    SkyPanel* Panel() const { return panel_; }

    // --- frame ------------------------------------------------------------------
    void Clear();
    // Hands the finished frame to the panel.
    void Present();
    // The off-screen frame as drawn so far.
    const QImage& Image();
    Canvas& GetCanvas();
    // Runs paint with the painters drawing on another canvas (a chart for a
    // file or a printer), in the ink-saving palette when asked; the frame
    // and the palette of the window are left as they were.
    void PaintOn(QtCanvas& canvas, bool inkSaving, const std::function<void()>& paint);

    // --- primitive painters -------------------------------------------------------
    void MoveToPlane(double x, double y);
    void LineToPlane(double x, double y);
    void MoveToSky(double altitude, double azimuth);
    void LineToSky(double altitude, double azimuth);
    void DrawPoint(double x, double y, const std::string& label);
    void DrawLabel(double x, double y, const std::string& text);
    void DrawTextAt(double altitude, double azimuth, const std::string& text);
    void DrawEllipse(double x1, double y1, double x2, double y2);
    // Corners of the square around a disc given its centre and one projected
    // edge point: (cx - d, cy + d) and (cx + d, cy - d).
    static void DiscBox(double cx, double cy, double ex, double ey, double& x1, double& y1, double& x2, double& y2);
    // A bright star's disc of radius d pixels (2 or more) with its labels; t2
    // is the stored Bayer letter character, drawn as its Greek letter.
    void DrawStarDisc(double x, double y, int d, const std::string& t1, const std::string& t2, const std::string& t3);
    void DrawPoleMarker(double altitude, double azimuth, const std::string& label);

    // --- object painters ------------------------------------------------------------
    // Each projects the object into its screenX/screenY. Radii are angular,
    // in radians.
    void DrawStar(Star& star);
    // The stars of a catalogue that which names, in its order, each as
    // DrawStar draws it. An entry whose place no longer names its star's
    // altitude and azimuth is drawn from the star alone.
    void DrawStars(std::span<Star> stars, std::span<const StarCatalogue::ComputedStar> which);
    void DrawDeepSky(SkyObject& object, double radius, bool hasMessierNumber);
    // stars: the figure's stars in order; lines: polylines of 1-based indices.
    void DrawFigure(std::span<Star* const> stars, std::span<const FigureLine> lines);
    void DrawMinorPlanet(SkyObject& object, int32_t number);
    void DrawPlanet(SkyObject& object);
    void DrawSun(SkyObject& sun, double radius);
    void DrawMoon(SkyObject& moon, double radius);
    void DrawEarthShadow(SkyObject& shadow, double penumbraRadius, double umbraRadius);

    // --- overlay painters (on the grid tracer) ----------------------------------------
    void DrawHorizon();
    void DrawHorizontalGrid();
    void DrawEquator();
    void DrawEquatorialGrid();

    // The three parts of a star's label under the current options and zoom,
    // and the font height they are drawn with.
    struct StarLabel {
        std::string t1, t2, t3;
        int fontHeight = 0;
    };
    StarLabel BuildStarLabel(const Star& star) const;

private:
    bool Dimmed(const SkyObject& o) const;
    // Projects a star and marks whether it is in view.
    bool PlaceStar(Star& star);
    // Paints a star already placed in view.
    void PaintStar(const Star& star);
    // A star's fill colour, dimmed or not.
    Colour StarFill(int16_t colourClass, bool dim) const;
    // Pen, brush and font as a faint star's dot sets them.
    void SetFaintStarState(const Star& star);
    void ProjectObject(SkyObject& o) const;
    // Projects the object and returns the box of a disc of the given angular radius around it.
    void ObjectBox(SkyObject& o, double radius, double& x1, double& y1, double& x2, double& y2) const;
    // The same for an object already projected.
    void BoxAroundProjected(const SkyObject& o, double radius, double& x1, double& y1, double& x2, double& y2) const;
    void SizeStatusPanels();
    void OutlinedText(int x, int y, const std::string& text);
    void DrawFilledDisc(double x1, double y1, double x2, double y2, Colour colour, Colour labelColour, int fontHeight);

    SkyPanel* panel_;
    double planeLeft_ = 0.0, planeBottom_ = 0.0, planeRight_ = 0.0, planeTop_ = 0.0;
    double centreX_ = 0.0, centreY_ = 0.0;
    int32_t surfaceWidth_ = 0, surfaceHeight_ = 0;
    int32_t halfWidth_ = 0, halfHeight_ = 0;
    float scale_ = 175.0f;
    float labelScale_ = 0.0f, sqrtScale_ = 0.0f, zoomSteps_ = 0.0f;
    std::unique_ptr<QtCanvas> frame_;  // the window's frame
    QtCanvas* canvas_;                 // where the painters draw: the frame, or a chart's canvas
    DisplayOptions options_;
    Projection projection_ = EqualArea;
    Palette palette_;
    std::unique_ptr<SkyOverlay> overlay_;

public:
    // The vertices of a line fixed on the sky (the equator, the equatorial
    // grid) as the tracer placed them, in drawing order, for one moment and
    // place: they turn with the sky, not with the view, so a frame that
    // only moves the view traces none of them again.
    struct TracedVertices {
        double sidereal = 0.0;
        double latitude = 0.0;
        bool complete = false;
        std::vector<HorizontalPlace> places;
    };

private:
    TracedVertices equatorVertices_;
    TracedVertices equatorialGridVertices_;
    // The projection's constants for the direction and elevation they were
    // worked out for; renewed when either changes.
    const ProjectionFrame& Frame() const;
    mutable std::optional<ProjectionFrame> frameConstants_;
    std::vector<CanvasDot> dotBuffer_;
};
