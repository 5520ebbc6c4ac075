#include "shell/NightLook.h"

#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QProxyStyle>
#include <QWidget>
#include <algorithm>

namespace {

// Where a control keeps what it looked like before the night.
const char* const DayPalette = "velkarisDayPalette";
const char* const DayCursor = "velkarisDayCursor";

// The picture in shades of red: each pixel's brightest channel, scaled so
// that the picture's brightest pixel becomes `red`; transparency is kept. A
// picture tinted once comes out of a second tint unchanged.
QPixmap Tinted(const QPixmap& pixmap, int red) {
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    int brightest = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            brightest = std::max({brightest, qRed(line[x]), qGreen(line[x]), qBlue(line[x])});
        }
    }
    for (int y = 0; y < image.height() && brightest > 0; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            line[x] = qRgba(std::max({qRed(c), qGreen(c), qBlue(c)}) * red / brightest, 0, 0, qAlpha(c));
        }
    }
    QPixmap tinted = QPixmap::fromImage(image);
    tinted.setDevicePixelRatio(pixmap.devicePixelRatio());
    return tinted;
}

// Every colour role of every group: black grounds, text in the middle
// shade, emphasis in the brightest, bevels and highlights in fractions of
// the darkest.
QPalette NightPalette(const std::array<Colour, 3>& shades) {
    const int darkest = shades[0].r, dim = shades[1].r, bright = shades[2].r;
    auto red = [](int value) { return QColor(value, 0, 0); };
    // Disabled text stays readable on the darkest grounds.
    const QColor faint = red(darkest * 3 / 4);
    QPalette palette;
    for (int g = 0; g < QPalette::NColorGroups; ++g) {
        const auto group = static_cast<QPalette::ColorGroup>(g);
        const bool disabled = group == QPalette::Disabled;
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            if (r != QPalette::NoRole) palette.setColor(group, static_cast<QPalette::ColorRole>(r), Qt::black);
        }
        const QColor text = disabled ? faint : red(dim);
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                                         QPalette::ToolTipText, QPalette::LinkVisited}) {
            palette.setColor(group, role, text);
        }
        for (QPalette::ColorRole role : {QPalette::BrightText, QPalette::HighlightedText, QPalette::Link}) {
            palette.setColor(group, role, disabled ? faint : red(bright));
        }
        palette.setColor(group, QPalette::Button, red(darkest / 4));
        palette.setColor(group, QPalette::Light, red(darkest / 2));
        palette.setColor(group, QPalette::Midlight, red(darkest * 3 / 8));
        palette.setColor(group, QPalette::Mid, red(darkest / 6));
        palette.setColor(group, QPalette::Dark, red(darkest / 8));
        palette.setColor(group, QPalette::AlternateBase, red(darkest / 8));
        palette.setColor(group, QPalette::Highlight, red(disabled ? darkest / 4 : darkest / 2));
        palette.setColor(group, QPalette::PlaceholderText, red(darkest / 2));
    }
    return palette;
}

// The sky's cross pointer in the night's ink, with a black rim so that it
// stays visible over red.
QCursor NightCross(int red) {
    constexpr int size = 23, mid = size / 2;
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(mid - 1, 0, 3, size, Qt::black);
    painter.fillRect(0, mid - 1, size, 3, Qt::black);
    painter.fillRect(mid, 1, 1, size - 2, QColor(red, 0, 0));
    painter.fillRect(1, mid, size - 2, 1, QColor(red, 0, 0));
    painter.end();
    return QCursor(QPixmap::fromImage(image), mid, mid);
}

// The application style of the night: the day's style drawing with the
// night palette. Controls that were given colours of their own (the side
// panel, the readouts, the status bar, the progress window) and the sky's
// cross pointer take the night's; each keeps its own to get it back.
class NightStyle : public QProxyStyle {
public:
    NightStyle(const QString& dayStyle, const std::array<Colour, 3>& shades)
        : QProxyStyle(dayStyle), palette_(NightPalette(shades)), ink_(shades[1].r), cross_(NightCross(shades[1].r)) {}

    using QProxyStyle::polish;

    // The application's palette, whatever the platform's theme offers.
    void polish(QPalette& palette) override { palette = palette_; }

    void polish(QWidget* widget) override {
        QProxyStyle::polish(widget);
        // A control polished by an earlier night style keeps what it had
        // before the first.
        if (widget->testAttribute(Qt::WA_SetPalette)) {
            if (!widget->property(DayPalette).isValid()) {
                widget->setProperty(DayPalette, QVariant::fromValue(widget->palette()));
            }
            widget->setPalette(palette_);
        }
        const bool crossed = widget->property(DayCursor).isValid();
        if (crossed || (widget->testAttribute(Qt::WA_SetCursor) && widget->cursor().shape() == Qt::CrossCursor)) {
            if (!crossed) widget->setProperty(DayCursor, QVariant::fromValue(widget->cursor()));
            widget->setCursor(cross_);
        }
    }

    // The icons of the style: those of message boxes and of their buttons.
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override {
        const QIcon day = QProxyStyle::standardIcon(which, option, widget);
        QList<QSize> sizes = day.availableSizes();
        if (sizes.isEmpty()) sizes = {QSize(16, 16), QSize(32, 32), QSize(64, 64)};
        QIcon night;
        for (const QSize& size : sizes) night.addPixmap(Tinted(day.pixmap(size), ink_));
        return night;
    }

    // Pictures shown in labels: the About box's picture, the icons of
    // message boxes.
    void drawItemPixmap(QPainter* painter, const QRect& rect, int alignment, const QPixmap& pixmap) const override {
        QProxyStyle::drawItemPixmap(painter, rect, alignment, Tinted(pixmap, ink_));
    }

private:
    QPalette palette_;
    int ink_;
    QCursor cross_;
};

}  // namespace

NightLook::~NightLook() { Hide(); }

void NightLook::Show(const std::array<Colour, 3>& shades) {
    if (!shown_) {
        // Out of the application's hands, so that changing the style does
        // not delete it.
        dayStyle_ = QApplication::style();
        dayStyle_->setParent(nullptr);
        shown_ = true;
    }
    // After a brightness step the new night style takes over; controls
    // still keep what they had before the first.
    QApplication::setStyle(new NightStyle(dayStyle_->name(), shades));
}

void NightLook::Hide() {
    if (!shown_) return;
    shown_ = false;
    if (dayStyle_) QApplication::setStyle(dayStyle_.data());
    dayStyle_.clear();
    // Only now, under the day's palette again, do the colours a control
    // did not choose itself come out as they were. Windows not shown (the
    // menus) miss the application's change of palette: each is told again.
    QEvent paletteChange(QEvent::ApplicationPaletteChange);
    for (QWidget* widget : QApplication::allWidgets()) {
        if (widget->isWindow()) QCoreApplication::sendEvent(widget, &paletteChange);
        const QVariant palette = widget->property(DayPalette);
        if (palette.isValid()) {
            widget->setProperty(DayPalette, QVariant());
            widget->setPalette(palette.value<QPalette>());
        }
        const QVariant cursor = widget->property(DayCursor);
        if (cursor.isValid()) {
            widget->setProperty(DayCursor, QVariant());
            widget->setCursor(cursor.value<QCursor>());
        }
    }
}
