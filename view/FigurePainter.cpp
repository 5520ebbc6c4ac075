// The constellation figures: strokes between their stars.
#include <cmath>

#include "catalogues/Star.h"
#include "view/QtCanvas.h"
#include "view/SkyView.h"

void SkyView::DrawFigure(std::span<Star* const> stars, std::span<const FigureLine> lines) {
    canvas_->SetPenWidth(1);
    canvas_->SetPenColour(palette_.Get(PalFigure, 2));
    canvas_->SetPenStyle(PenStyle::Solid);
    for (Star* s : stars) {
        if (s && !s->onScreen) ProjectObject(*s);
    }
    auto starAt = [&](uint16_t index) -> const Star* {
        return index >= 1 && index <= stars.size() ? stars[index - 1] : nullptr;
    };
    for (const FigureLine& line : lines) {
        const Star* previous = nullptr;
        for (uint16_t index : line) {
            const Star* s = starAt(index);
            if (!s) {
                // A broken reference ends the stroke instead of joining across it.
                previous = nullptr;
                continue;
            }
            // Strokes are broken where successive stars lie far apart on the
            // plane: between the two orthographic discs or across the seam of
            // a cylindrical map.
            if (!previous || std::fabs(previous->screenY - s->screenY) > 1 ||
                std::fabs(previous->screenX - s->screenX) > 1) {
                MoveToPlane(s->screenX, s->screenY);
            } else {
                LineToPlane(s->screenX, s->screenY);
            }
            previous = s;
        }
    }
}
