// The controller's side of charts: the scene and the description of the
// moment and place, handed to the view's chart painter.

#include <QPaintDevice>

#include "controller/Planetarium.h"
#include "view/SkyChart.h"
#include "view/SkyFrame.h"
#include "view/SkyView.h"

namespace {

ChartDescription Describe(const Observer& o) {
    Angle latitude = o.latitude, longitude = o.longitude;
    ChartDescription d;
    d.title = "Velkaris sky chart";
    d.subject = "The sky at " + o.civilDateText() + " " + o.civilTimeText() + " (UTC " + o.universal().DateText() +
                " " + o.universal().TimeText() + ") from latitude " + latitude.FormatSigned(false) + ", longitude " +
                longitude.FormatSigned(false);
    return d;
}

}  // namespace

std::string Planetarium::ExportChart(const std::string& path, bool inkSaving) {
    return WriteChart(*view_, Scene(), path, inkSaving, Describe(*observer_));
}

bool Planetarium::PrintChart(QPaintDevice& device, bool inkSaving) {
    return PaintChart(*view_, Scene(), device, QRectF(0, 0, device.width(), device.height()), inkSaving);
}
