#pragma once

#include <QByteArray>
#include <QRectF>
#include <optional>
#include <string>

class QPaintDevice;
class SkyView;
struct SkyScene;

// Charts: the sky as the view shows it (its size, projection, zoom and
// options), painted by the window's own painters onto a file or a printer,
// in the window's colours or in the ink-saving palette (dark on white).
// Vector formats keep lines, discs and text as such, text as text.
enum class ChartFormat { Png, Svg, Pdf };

// The format a file name asks for by its extension (.png, .svg, .pdf, in
// any case; a PNG picture without any); nullopt for another extension.
std::optional<ChartFormat> ChartFormatOf(const std::string& path);

// What a chart says about itself: title and subject of the file.
struct ChartDescription {
    std::string title;    // "Velkaris sky chart"
    std::string subject;  // the moment and the place
};

// Paints the chart onto a device, fitted into target (device coordinates)
// and centred there, the frame's proportions kept. Positions must be
// current, as for a frame. False when the device could not be painted on.
bool PaintChart(SkyView& view, const SkyScene& scene, QPaintDevice& device, const QRectF& target, bool inkSaving);

// The chart as a PNG picture, an SVG drawing or a one-page PDF document of
// the frame's size (a pixel is 1/96 inch); empty when it could not be made.
// A PNG in the window's colours is the frame last shown, as it was shown.
QByteArray EncodeChart(SkyView& view, const SkyScene& scene, ChartFormat format, bool inkSaving,
                       const ChartDescription& description);

// Encodes the chart in the format of the file's extension and writes it,
// whole or not at all (a file already there stays as it was on failure).
// Empty on success; otherwise why not, to follow "cannot write 'FILE': ".
std::string WriteChart(SkyView& view, const SkyScene& scene, const std::string& path, bool inkSaving,
                       const ChartDescription& description);
