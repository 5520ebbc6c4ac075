#include "view/SkyChart.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QTransform>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include "platform/AtomicFile.h"
#include "view/QtCanvas.h"
#include "view/SkyFrame.h"
#include "view/SkyView.h"

std::optional<ChartFormat> ChartFormatOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    // A name without an extension (a device, say) gets a picture, as ever.
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return ChartFormat::Png;
    std::string extension = path.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == "png") return ChartFormat::Png;
    if (extension == "svg") return ChartFormat::Svg;
    if (extension == "pdf") return ChartFormat::Pdf;
    return std::nullopt;
}

bool PaintChart(SkyView& view, const SkyScene& scene, QPaintDevice& device, const QRectF& target, bool inkSaving) {
    const double width = view.SurfaceWidth(), height = view.SurfaceHeight();
    const double scale = std::min(target.width() / width, target.height() / height);
    QTransform toDevice;
    toDevice.translate(target.x() + (target.width() - width * scale) / 2,
                       target.y() + (target.height() - height * scale) / 2);
    toDevice.scale(scale, scale);
    QtCanvas canvas(device, view.SurfaceWidth(), view.SurfaceHeight(), toDevice);
    view.PaintOn(canvas, inkSaving, [&] { DrawSky(view, scene); });
    // A device writing into a buffer (PDF, SVG) is done once the painter ends.
    return canvas.Finish();
}

QByteArray EncodeChart(SkyView& view, const SkyScene& scene, ChartFormat format, bool inkSaving,
                       const ChartDescription& description) {
    const int width = view.SurfaceWidth(), height = view.SurfaceHeight();
    const QRectF whole(0, 0, width, height);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool painted = true;
    switch (format) {
        case ChartFormat::Png: {
            QImage picture;
            if (inkSaving) {
                picture = QImage(width, height, QImage::Format_RGB32);
                painted = PaintChart(view, scene, picture, whole, true);
            } else {
                picture = view.Image();
            }
            painted = painted && picture.save(&buffer, "PNG");
            break;
        }
        case ChartFormat::Svg: {
            QSvgGenerator svg;
            svg.setOutputDevice(&buffer);
            svg.setSize(QSize(width, height));
            svg.setViewBox(whole);
            svg.setResolution(96);
            svg.setTitle(QString::fromStdString(description.title));
            svg.setDescription(QString::fromStdString(description.subject));
            painted = PaintChart(view, scene, svg, whole, inkSaving);
            break;
        }
        case ChartFormat::Pdf: {
            QPdfWriter pdf(&buffer);
            pdf.setCreator(QStringLiteral("Velkaris"));
            pdf.setTitle(QString::fromStdString(description.title));
            pdf.setResolution(96);
            // A page of the frame's size: 96 pixels to the inch, 72 points.
            pdf.setPageSize(
                QPageSize(QSizeF(width * 0.75, height * 0.75), QPageSize::Point, QString(), QPageSize::ExactMatch));
            pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
            painted = PaintChart(view, scene, pdf, QRectF(0, 0, pdf.width(), pdf.height()), inkSaving);
            break;
        }
    }
    buffer.close();
    return painted ? bytes : QByteArray();
}

std::string WriteChart(SkyView& view, const SkyScene& scene, const std::string& path, bool inkSaving,
                       const ChartDescription& description) {
    const std::optional<ChartFormat> format = ChartFormatOf(path);
    if (!format) return "its name ends in neither .png, .svg nor .pdf";
    const QByteArray bytes = EncodeChart(view, scene, *format, inkSaving, description);
    if (bytes.isEmpty()) return "the chart could not be encoded";
    if (WriteFileAtomically(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))))
        return {};
    const int error = errno;
    struct stat existing {};
    if (stat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) return "it is not a regular file";
    return std::strerror(error);
}
