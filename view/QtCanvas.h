#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLine>
#include <QPainter>
#include <QPen>
#include <QRectF>
#include <QStaticText>
#include <QTransform>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class QPaintDevice;

#include "view/Canvas.h"

// The canvas over a QPainter on an off-screen QImage. State changes that do
// not change anything are skipped, and runs of short strokes with the same
// pen are collected and drawn in one call: on a sky of tens of thousands of
// dots the painter's per-call cost is what counts, not the pixels.
//
// The same canvas also paints on any other device (a printer, a PDF or SVG
// generator, a picture for export): the painters then draw in the frame's
// own pixels, width x height, which the device sees through a transform
// (fitted to a page, say). Faint stars, which the window writes as single
// pixels, become one-pixel squares there, gathered by colour so that a
// vector file holds one group per colour and not one per star.
//
// Labels are the same from frame to frame, so each text is laid out once per
// face and kept: shaping and measuring cost far more than drawing.
class QtCanvas final : public Canvas {
public:
    QtCanvas(int width, int height);
    QtCanvas(QPaintDevice& device, int width, int height, const QTransform& toDevice);
    ~QtCanvas() override;
    // Ends painting on a device; false when the device could not be painted
    // on at all (a printer that cannot be opened, say).
    bool Finish();

    // New size; the content is undefined until the next fill.
    void Resize(int width, int height);
    // Starts a new frame on a picture nobody else holds. The one handed out
    // last (to the window, which keeps showing it) would otherwise be copied
    // whole as soon as it is painted on. The content is undefined until the
    // next fill.
    void Renew();
    // The picture as drawn so far (pending strokes are flushed first).
    const QImage& Image();

    int Width() const override { return device_ ? width_ : image_.width(); }
    int Height() const override { return device_ ? height_ : image_.height(); }
    void FillRect(int left, int top, int right, int bottom) override;
    void SetPenColour(Colour c) override;
    void SetPenWidth(int width) override;
    void SetPenStyle(PenStyle style) override;
    void SetBrushColour(Colour c) override;
    void SetBrushStyle(BrushStyle style) override;
    Colour PenColour() const override { return penColour_; }
    int PenWidth() const override { return penWidth_; }
    PenStyle GetPenStyle() const override { return penStyle_; }
    Colour BrushColour() const override { return brushColour_; }
    BrushStyle GetBrushStyle() const override { return brushStyle_; }
    void SetFontName(const std::string& name) override;
    void SetFontHeight(int height) override;
    void SetFontColour(Colour c) override;
    const std::string& FontName() const override { return fontName_; }
    int FontHeight() const override { return fontHeight_; }
    Colour FontColour() const override { return fontColour_; }
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Dots(std::span<const CanvasDot> dots) override;
    int PenX() const override { return pen_.x; }
    int PenY() const override { return pen_.y; }
    void Ellipse(int left, int top, int right, int bottom) override;
    void TextOut(int x, int y, const std::string& text) override;
    int TextWidth(const std::string& text) override;

private:
    void Begin();
    void End();
    // Draws what is pending: dots (which carry their colours) and lines
    // (drawn with the current pen, so a pen change draws them first).
    void Flush();
    void FlushDots();
    void FlushLines();
    void ApplyPen();
    void ApplyFont();

    // A text as Qt holds it, laid out in one face, and its advance.
    struct PreparedText {
        QStaticText layout;
        int advance = 0;
    };
    // One family at one height, with the texts laid out in it so far.
    struct Face {
        QFont font;
        std::unique_ptr<QFontMetrics> metrics;
        std::unordered_map<std::string, PreparedText> texts;
    };
    // The text laid out in the current face, from the face's store when it
    // was laid out before.
    static QColor ToQColor(Colour c) { return QColor(c.r, c.g, c.b); }
    // The toolkit's pen for lines of the canvas's pen state.
    static QPen LinePen(Colour colour, int width, PenStyle style);
    const PreparedText& Prepare(const std::string& text);
    // The pixels of a dot drawn with a pen of this width (2 or more), as
    // offsets from where the dot stands.
    const std::vector<QPoint>& Stamp(int width);
    std::map<int, std::vector<QPoint>> stamps_;
    // The text prepared last and its face (entries of a face's table stay
    // where they are until the table is cleared, which only Prepare does).
    const std::pair<const std::string, PreparedText>* recent_ = nullptr;
    const Face* recentFace_ = nullptr;

    QImage image_;
    QImage spare_;                    // the picture before, once nobody shows it any more
    QPaintDevice* device_ = nullptr;  // painting on another device
    int width_ = 0, height_ = 0;      // of the frame, there
    QTransform toDevice_;
    bool painted_ = true;  // no painter failed to begin
    std::unique_ptr<QPainter> painter_;
    Colour penColour_{0, 0, 0};
    int penWidth_ = 1;
    PenStyle penStyle_ = PenStyle::Solid;
    Colour brushColour_{255, 255, 255};
    BrushStyle brushStyle_ = BrushStyle::Solid;
    std::string fontName_;
    int fontHeight_ = 13;
    Colour fontColour_{0, 0, 0};
    // The pen position, written and read whole: a dot is a move followed at
    // once by a line, and reading half of what was just written stalls.
    struct alignas(8) PenPosition {
        int x, y;
    };
    PenPosition pen_{0, 0};
    void PlacePen(int x, int y) {
        // One store of both halves, which the next read can take whole.
        const uint64_t both = static_cast<uint32_t>(x) | static_cast<uint64_t>(static_cast<uint32_t>(y)) << 32;
        std::memcpy(&pen_, &both, sizeof both);
    }
    // The pen the painter holds: none known, the line pen of the canvas's
    // state, or a text colour. Setting a pen on the painter costs more than
    // drawing a short text, so it is set only when it changes.
    struct PainterPen {
        enum Kind : uint8_t { Unknown, Line, Text } kind = Unknown;
        Colour colour;
        int width = 0;
        PenStyle style = PenStyle::Solid;
        bool operator==(const PainterPen&) const = default;
    };
    PainterPen painterPen_;
    bool fontDirty_ = true;
    std::map<std::pair<std::string, int>, std::unique_ptr<Face>> faces_;
    Face* face_ = nullptr;  // of the font name and height, once text asked for it
    bool fontOnPainter_ = false;
    // Lines waiting to be drawn with the current pen.
    std::vector<QLine> pendingLines_;
    // One-pixel dots waiting to be drawn on a device, by colour.
    std::map<uint32_t, std::vector<QRectF>> pendingDots_;
};
