#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLine>
#include <QPainter>
#include <QPen>
#include <QStaticText>
#include <memory>
#include <vector>

#include "view/Canvas.h"

// The canvas over a QPainter on an off-screen QImage. State changes that do
// not change anything are skipped, and runs of short strokes with the same
// pen are collected and drawn in one call: on a sky of tens of thousands of
// dots the painter's per-call cost is what counts, not the pixels.
class QtCanvas : public Canvas {
public:
    QtCanvas(int width, int height);
    ~QtCanvas() override;

    // New size; the content is undefined until the next fill.
    void Resize(int width, int height);
    // The picture as drawn so far (pending strokes are flushed first).
    const QImage& Image();

    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
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
    int PenX() const override { return penX_; }
    int PenY() const override { return penY_; }
    void Ellipse(int left, int top, int right, int bottom) override;
    void TextOut(int x, int y, const std::string& text) override;
    int TextWidth(const std::string& text) override;

private:
    void Begin();
    void End();
    void Flush();
    void ApplyPen();
    void ApplyFont();
    // The text as Qt holds it, laid out, and its advance, worked out once for
    // the outlines and the face of a label, which draw the same text.
    void Prepare(const std::string& text);

    QImage image_;
    std::unique_ptr<QPainter> painter_;
    Colour penColour_{0, 0, 0};
    int penWidth_ = 1;
    PenStyle penStyle_ = PenStyle::Solid;
    Colour brushColour_{255, 255, 255};
    BrushStyle brushStyle_ = BrushStyle::Solid;
    std::string fontName_;
    int fontHeight_ = 13;
    Colour fontColour_{0, 0, 0};
    int penX_ = 0, penY_ = 0;
    bool penDirty_ = true;
    bool fontDirty_ = true;
    QFont font_;
    std::unique_ptr<QFontMetrics> metrics_;
    bool fontOnPainter_ = false;
    bool prepared_ = false;
    std::string preparedText_;
    QString preparedString_;
    QStaticText preparedLayout_;
    int preparedAdvance_ = 0;
    // Lines waiting to be drawn with the current pen.
    std::vector<QLine> pendingLines_;
};
