#pragma once

#include <cstdint>
#include <span>
#include <string>

// A 24-bit RGB colour. Aligned to four bytes so that it travels as one
// word: painters pass colours by value for every star.
struct alignas(4) Colour {
    uint8_t r = 0, g = 0, b = 0;

    constexpr Colour() = default;
    constexpr Colour(uint8_t red, uint8_t green, uint8_t blue) : r(red), g(green), b(blue) {}
    constexpr bool operator==(const Colour&) const = default;
    constexpr uint32_t Rgb() const { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | b; }
};

// One pixel of a colour: a faint star.
struct CanvasDot {
    int x = 0, y = 0;
    Colour colour;
};

enum class PenStyle { Solid, Dotted };
enum class BrushStyle { Solid, Clear };

// The drawing surface the sky is painted on. It keeps the state the painters
// set and rely on (pen, brush, font, pen position) between calls, the way a
// classic device context does: a painter sets only what it needs and leaves
// the rest to whoever drew before it.
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // Fills left <= x < right, top <= y < bottom with the brush colour
    // (whatever the brush style).
    virtual void FillRect(int left, int top, int right, int bottom) = 0;

    virtual void SetPenColour(Colour c) = 0;
    // 0 and 1 both draw one pixel wide.
    virtual void SetPenWidth(int width) = 0;
    virtual void SetPenStyle(PenStyle style) = 0;
    virtual void SetBrushColour(Colour c) = 0;
    virtual void SetBrushStyle(BrushStyle style) = 0;
    virtual Colour PenColour() const = 0;
    virtual int PenWidth() const = 0;
    virtual PenStyle GetPenStyle() const = 0;
    virtual Colour BrushColour() const = 0;
    virtual BrushStyle GetBrushStyle() const = 0;

    // Family name as the program asks for it; a name the platform lacks
    // resolves to its default sans-serif face.
    virtual void SetFontName(const std::string& name) = 0;
    // Cell height in pixels.
    virtual void SetFontHeight(int height) = 0;
    virtual void SetFontColour(Colour c) = 0;
    virtual const std::string& FontName() const = 0;
    virtual int FontHeight() const = 0;
    virtual Colour FontColour() const = 0;

    virtual void MoveTo(int x, int y) = 0;
    // Draws from the pen position to (x, y) with the pen and moves the pen there.
    virtual void LineTo(int x, int y) = 0;
    // Sets each dot's pixel, in order, exactly as MoveTo (x, y) and
    // LineTo (x + 1, y) with a one-pixel pen of its colour would, but
    // without touching the pen: tens of thousands of stars go through here
    // every frame.
    virtual void Dots(std::span<const CanvasDot> dots) = 0;
    virtual int PenX() const = 0;
    virtual int PenY() const = 0;

    // The ellipse inscribed in the rectangle, outlined with the pen and filled
    // with the brush unless the brush is clear.
    virtual void Ellipse(int left, int top, int right, int bottom) = 0;

    // UTF-8 text with its top-left corner at (x, y), transparent background,
    // in the font colour. Afterwards the pen stands at (x + width, y).
    virtual void TextOut(int x, int y, const std::string& text) = 0;
    virtual int TextWidth(const std::string& text) = 0;
};
