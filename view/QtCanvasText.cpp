// The canvas's text: faces, laid-out texts and drawing them.
#include <QGuiApplication>
#include <algorithm>
#include <cmath>

#include "view/QtCanvas.h"

namespace {

// Fonts the program names but Linux lacks resolve to the default sans-serif
// face; the Greek letters of Bayer designations are real Greek characters, so
// no symbol font is needed for them either.
QString ResolveFamily(const std::string& name) {
    if (name.empty() || name == "MS Sans Serif" || name == "Symbol") return QStringLiteral("DejaVu Sans");
    return QString::fromStdString(name);
}

// Texts kept laid out per face.
constexpr std::size_t kMaxPreparedTexts = 8192;

// Text is only measured and drawn when there is a GUI application: without
// one the font machinery is unavailable.
bool FontsAvailable() { return QGuiApplication::instance() != nullptr; }

}  // namespace

void QtCanvas::ApplyFont() {
    if (!fontDirty_) return;
    fontDirty_ = false;
    std::unique_ptr<Face>& face = faces_[{fontName_, fontHeight_}];
    if (!face) {
        face = std::make_unique<Face>();
        face->font = QFont(ResolveFamily(fontName_));
        face->font.setStyleHint(QFont::SansSerif);
        // The height asked for is the whole cell (ascent plus descent); Qt
        // sizes by the em, which is about 86 % of the cell in the common sans
        // faces.
        face->font.setPixelSize(std::max(1, static_cast<int>(std::lround(fontHeight_ * 0.86))));
        face->metrics = std::make_unique<QFontMetrics>(face->font);
    }
    if (face.get() != face_) fontOnPainter_ = false;
    face_ = face.get();
}

const QtCanvas::PreparedText& QtCanvas::Prepare(const std::string& text) {
    ApplyFont();
    // An outlined label asks for the same text three times running.
    if (recentFace_ == face_ && recent_ && recent_->first == text) return recent_->second;
    recentFace_ = face_;
    const auto found = face_->texts.find(text);
    if (found != face_->texts.end()) {
        recent_ = &*found;
        return found->second;
    }
    // Bounded, for a sky whose labels keep changing (minor planets' numbers
    // while zooming, say): starting afresh costs one frame's layouts.
    if (face_->texts.size() >= kMaxPreparedTexts) face_->texts.clear();
    auto& entry = *face_->texts.try_emplace(text).first;
    recent_ = &entry;
    PreparedText& prepared = entry.second;
    const QString string = QString::fromStdString(text);
    prepared.advance = face_->metrics->horizontalAdvance(string);
    prepared.layout = QStaticText(string);
    prepared.layout.setTextFormat(Qt::PlainText);
    prepared.layout.prepare(QTransform(), face_->font);
    return prepared;
}

void QtCanvas::SetFontName(const std::string& name) {
    if (name == fontName_) return;
    fontName_ = name;
    fontDirty_ = true;
}

void QtCanvas::SetFontHeight(int height) {
    if (height == fontHeight_) return;
    fontHeight_ = height;
    fontDirty_ = true;
}

void QtCanvas::SetFontColour(Colour c) { fontColour_ = c; }

void QtCanvas::TextOut(int x, int y, const std::string& text) {
    PlacePen(x, y);
    if (text.empty() || !FontsAvailable()) return;
    Begin();
    Flush();
    const PreparedText& prepared = Prepare(text);
    // Text wholly off the image is only measured.
    const bool visible = x < Width() && y < Height() && x + prepared.advance > 0 && y + face_->metrics->height() > 0;
    if (visible) {
        if (!fontOnPainter_) {
            painter_->setFont(face_->font);
            fontOnPainter_ = true;
        }
        const PainterPen text{PainterPen::Text, fontColour_};
        if (painterPen_ != text) {
            painter_->setPen(ToQColor(fontColour_));
            painterPen_ = text;
        }
        painter_->drawStaticText(x, y, prepared.layout);
    }
    pen_.x = x + prepared.advance;
}

int QtCanvas::TextWidth(const std::string& text) {
    if (text.empty() || !FontsAvailable()) return 0;
    return Prepare(text).advance;
}
