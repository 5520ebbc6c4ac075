#include "view/QtCanvas.h"

#include <algorithm>
#include <cmath>

namespace {

// Clips the segment to a rectangle well outside the image (Liang-Barsky).
// Far-off ends (a point near the antipode of a stereographic view lands
// millions of pixels away) would otherwise overflow the rasteriser's
// fixed-point coordinates. False when nothing of the segment is inside.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, double left, double top, double right, double bottom) {
    double t0 = 0.0, t1 = 1.0;
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - left, right - x0, y0 - top, bottom - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            if (t > t1) return false;
            if (t > t0) t0 = t;
        } else {
            if (t < t0) return false;
            if (t < t1) t1 = t;
        }
    }
    const double ax = x0 + t0 * dx, ay = y0 + t0 * dy;
    const double bx = x0 + t1 * dx, by = y0 + t1 * dy;
    x0 = ax;
    y0 = ay;
    x1 = bx;
    y1 = by;
    return true;
}

constexpr int kClipMargin = 4096;
// Wider dots than this are left to the toolkit.
constexpr int kMaxStampWidth = 64;

}  // namespace

QtCanvas::QtCanvas(int width, int height)
    : image_(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32), fontName_("MS Sans Serif") {
    image_.fill(Qt::black);
}

QtCanvas::QtCanvas(QPaintDevice& device, int width, int height, const QTransform& toDevice)
    : image_(1, 1, QImage::Format_RGB32),
      device_(&device),
      width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      toDevice_(toDevice),
      fontName_("MS Sans Serif") {}

QtCanvas::~QtCanvas() { End(); }

bool QtCanvas::Finish() {
    End();
    return painted_;
}

void QtCanvas::Begin() {
    if (painter_) return;
    if (device_) {
        painter_ = std::make_unique<QPainter>();
        // A device that refuses painting is reported by Finish; the frame
        // goes to the scratch image meanwhile, so that every call stays
        // harmless.
        if (!painter_->begin(device_)) {
            painted_ = false;
            painter_->begin(&image_);
        }
        painter_->setTransform(toDevice_);
        // Nothing of the frame spills over its edges onto the page.
        painter_->setClipRect(QRect(0, 0, width_, height_));
    } else {
        // Detach before painting so that the painter and the direct pixel
        // writes below share one buffer.
        image_.bits();
        painter_ = std::make_unique<QPainter>(&image_);
    }
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
    painter_->setBackgroundMode(Qt::TransparentMode);
    painterPen_ = {};
    fontDirty_ = true;
    fontOnPainter_ = false;
}

void QtCanvas::End() {
    if (!painter_) return;
    Flush();
    if (painter_->isActive() && !painter_->end()) painted_ = false;
    painter_.reset();
}

void QtCanvas::Resize(int width, int height) {
    End();
    if (device_) return;
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == image_.width() && height == image_.height()) return;
    image_ = QImage(width, height, QImage::Format_RGB32);
    image_.fill(Qt::black);
    spare_ = QImage();
}

void QtCanvas::Renew() {
    if (device_) return;
    End();
    if (image_.isDetached()) return;
    if (spare_.size() != image_.size() || !spare_.isDetached()) spare_ = QImage(image_.size(), image_.format());
    image_.swap(spare_);
}

const QImage& QtCanvas::Image() {
    End();
    return image_;
}

void QtCanvas::Flush() {
    FlushDots();
    FlushLines();
}

void QtCanvas::FlushLines() {
    if (!painter_ || pendingLines_.empty()) return;
    ApplyPen();
    painter_->drawLines(pendingLines_.data(), static_cast<int>(pendingLines_.size()));
    pendingLines_.clear();
}

void QtCanvas::FlushDots() {
    if (!painter_ || pendingDots_.empty()) return;
    painter_->setPen(Qt::NoPen);
    for (const auto& [rgb, dots] : pendingDots_) {
        painter_->setBrush(QColor(static_cast<QRgb>(rgb)));
        painter_->drawRects(dots.data(), static_cast<int>(dots.size()));
    }
    painter_->setBrush(Qt::NoBrush);
    pendingDots_.clear();
    painterPen_ = {};
}

void QtCanvas::ApplyPen() {
    const PainterPen wanted{PainterPen::Line, penColour_, penWidth_, penStyle_};
    if (painterPen_ == wanted) return;
    painter_->setPen(LinePen(penColour_, penWidth_, penStyle_));
    painterPen_ = wanted;
}

QPen QtCanvas::LinePen(Colour colour, int width, PenStyle style) {
    QPen pen(ToQColor(colour));
    if (width <= 1) {
        pen.setWidth(0);  // cosmetic: exactly one pixel
        pen.setCapStyle(Qt::SquareCap);
        // A dotted pattern only exists for one-pixel pens; wider dotted pens
        // draw solid.
        pen.setStyle(style == PenStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    } else {
        pen.setWidth(width);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    return pen;
}

void QtCanvas::FillRect(int left, int top, int right, int bottom) {
    Begin();
    Flush();
    if (right <= left || bottom <= top) return;
    painter_->fillRect(QRect(left, top, right - left, bottom - top), ToQColor(brushColour_));
}

void QtCanvas::SetPenColour(Colour c) {
    if (c == penColour_) return;
    FlushLines();
    penColour_ = c;
}

void QtCanvas::SetPenWidth(int width) {
    if (width < 0) width = 0;
    if (width == penWidth_) return;
    FlushLines();
    penWidth_ = width;
}

void QtCanvas::SetPenStyle(PenStyle style) {
    if (style == penStyle_) return;
    FlushLines();
    penStyle_ = style;
}

void QtCanvas::SetBrushColour(Colour c) { brushColour_ = c; }
void QtCanvas::SetBrushStyle(BrushStyle style) { brushStyle_ = style; }

void QtCanvas::MoveTo(int x, int y) { PlacePen(x, y); }

void QtCanvas::LineTo(int x, int y) {
    const PenPosition from = pen_;
    const int x0 = from.x, y0 = from.y;
    PlacePen(x, y);
    Begin();
    if (penWidth_ <= 1 && y == y0 && x == x0 + 1) {
        // A one-pixel dot (a faint star): the line's end point is not drawn,
        // so only (x0, y0) is set. Written straight into the image: nothing
        // else is pending in between, so the order of drawing is kept.
        if (device_) {
            // Lines drawn before stay below the dot.
            FlushLines();
            if (x0 >= 0 && y0 >= 0 && x0 < width_ && y0 < height_)
                pendingDots_[penColour_.Rgb()].emplace_back(x0, y0, 1.0, 1.0);
            return;
        }
        Flush();
        if (x0 >= 0 && y0 >= 0 && x0 < image_.width() && y0 < image_.height()) {
            reinterpret_cast<QRgb*>(image_.scanLine(y0))[x0] = qRgb(penColour_.r, penColour_.g, penColour_.b);
        }
        return;
    }
    if (!device_ && y == y0 && x == x0 + 1 && penWidth_ <= kMaxStampWidth) {
        // A wide pen's dot (a planet, a minor planet): the toolkit strokes it
        // as a path, which costs as much as a label. Its pixels are the same
        // wherever it stands, so they are found once per width and set here.
        Flush();
        const std::vector<QPoint>& stamp = Stamp(penWidth_);
        const QRgb colour = qRgb(penColour_.r, penColour_.g, penColour_.b);
        const unsigned iw = static_cast<unsigned>(image_.width()), ih = static_cast<unsigned>(image_.height());
        for (const QPoint& d : stamp) {
            const int px = x0 + d.x(), py = y0 + d.y();
            if (static_cast<unsigned>(px) < iw && static_cast<unsigned>(py) < ih)
                reinterpret_cast<QRgb*>(image_.scanLine(py))[px] = colour;
        }
        return;
    }
    // Dots drawn before stay below the line.
    FlushDots();
    const int w = Width(), h = Height();
    if (std::min(x0, x) < -kClipMargin || std::max(x0, x) > w + kClipMargin || std::min(y0, y) < -kClipMargin ||
        std::max(y0, y) > h + kClipMargin) {
        double ax = x0, ay = y0, bx = x, by = y;
        if (!ClipSegment(ax, ay, bx, by, -kClipMargin, -kClipMargin, w + kClipMargin, h + kClipMargin)) return;
        pendingLines_.emplace_back(static_cast<int>(std::lround(ax)), static_cast<int>(std::lround(ay)),
                                   static_cast<int>(std::lround(bx)), static_cast<int>(std::lround(by)));
        return;
    }
    if (penWidth_ <= 1) {
        // The end point belongs to the next segment, not to this one.
        if (x == x0 && y == y0) return;
        const int dx = x - x0, dy = y - y0;
        const int steps = std::max(std::abs(dx), std::abs(dy));
        // Shorten by one pixel along the major axis, in the line's own slope.
        const int ex = x0 + static_cast<int>(std::lround(dx * double(steps - 1) / steps));
        const int ey = y0 + static_cast<int>(std::lround(dy * double(steps - 1) / steps));
        pendingLines_.emplace_back(x0, y0, ex, ey);
    } else {
        pendingLines_.emplace_back(x0, y0, x, y);
    }
    if (pendingLines_.size() >= 4096) FlushLines();
}

void QtCanvas::Dots(std::span<const CanvasDot> dots) {
    if (dots.empty()) return;
    Begin();
    if (device_) {
        // Lines drawn before stay below the dots.
        FlushLines();
        for (const CanvasDot& d : dots) {
            if (d.x >= 0 && d.y >= 0 && d.x < width_ && d.y < height_)
                pendingDots_[d.colour.Rgb()].emplace_back(d.x, d.y, 1.0, 1.0);
        }
        return;
    }
    Flush();
    // The painter draws on this same image and never shares it, so its bits
    // are taken once for the whole batch.
    uchar* bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    const unsigned w = static_cast<unsigned>(image_.width()), h = static_cast<unsigned>(image_.height());
    for (const CanvasDot& d : dots) {
        if (static_cast<unsigned>(d.x) < w && static_cast<unsigned>(d.y) < h)
            reinterpret_cast<QRgb*>(bits + d.y * stride)[d.x] = 0xff000000u | d.colour.Rgb();
    }
}

const std::vector<QPoint>& QtCanvas::Stamp(int width) {
    std::vector<QPoint>& stamp = stamps_[width];
    if (!stamp.empty()) return stamp;
    // Painted by the toolkit itself, with the very pen a line would get, on
    // a scratch image around a dot at (c, c).
    const int c = width + 2, size = 2 * c + 2;
    QImage scratch(size, size, QImage::Format_RGB32);
    scratch.fill(Qt::black);
    {
        QPainter p(&scratch);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(LinePen(Colour(255, 255, 255), width, PenStyle::Solid));
        p.drawLine(c, c, c + 1, c);
    }
    for (int py = 0; py < size; ++py) {
        const QRgb* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(py));
        for (int px = 0; px < size; ++px) {
            if ((row[px] & 0xffffff) != 0) stamp.emplace_back(px - c, py - c);
        }
    }
    return stamp;
}

void QtCanvas::Ellipse(int left, int top, int right, int bottom) {
    Begin();
    Flush();
    ApplyPen();
    if (brushStyle_ == BrushStyle::Solid) {
        painter_->setBrush(QBrush(ToQColor(brushColour_)));
    } else {
        painter_->setBrush(Qt::NoBrush);
    }
    // The right and bottom edges of the rectangle are outside the figure.
    painter_->drawEllipse(QRect(left, top, std::max(right - left - 1, 0), std::max(bottom - top - 1, 0)));
    painter_->setBrush(Qt::NoBrush);
}
