#include "shell/StartUpInfo.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QProgressBar>
#include <QScreen>
#include <algorithm>

namespace {

// The interface face of the program; the system picks a sans-serif
// substitute where it is missing.
QFont Face(int pixels, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, const QColor& colour, const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

}  // namespace

TStartUpInfo::TStartUpInfo(QWidget* owner) : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("StartUpInfo"));
    setFixedSize(310, 73);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0x80, 0x00, 0x00));  // maroon
    setPalette(palette);

    const QColor silver(0xC0, 0xC0, 0xC0);
    Label1 = MakeLabel(this, QStringLiteral("Velkaris v1.1.2"), Qt::red, Face(19, true));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(16, 8);
    Label1->adjustSize();

    Label2 = MakeLabel(this, QStringLiteral("Korvent\nfor Linux"), silver, Face(11));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(212, 8, 85, 26);
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label2->setWordWrap(true);

    labelJob = MakeLabel(this, QStringLiteral("Loading Stars"), silver, Face(11));
    labelJob->setObjectName(QStringLiteral("labelJob"));
    labelJob->setGeometry(16, 36, 285, 14);

    PBStarLoad = new QProgressBar(this);
    PBStarLoad->setObjectName(QStringLiteral("PBStarLoad"));
    PBStarLoad->setGeometry(16, 52, 285, 13);
    PBStarLoad->setRange(0, 100);
    PBStarLoad->setValue(0);
    PBStarLoad->setTextVisible(false);

    // Centred on the screen, whoever owns it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

void TStartUpInfo::SetJob(const std::string& text) {
    labelJob->setText(QString::fromStdString(text));
    PBStarLoad->setValue(0);
    // The load handles no events of its own: paint now.
    labelJob->repaint();
    PBStarLoad->repaint();
    LetTheWindowSystemIn();
}

void TStartUpInfo::Step(int n) {
    PBStarLoad->setValue(std::clamp(PBStarLoad->value() + n, PBStarLoad->minimum(), PBStarLoad->maximum()));
    PBStarLoad->repaint();
    LetTheWindowSystemIn();
}

void TStartUpInfo::LetTheWindowSystemIn() {
    // A window manager maps a new window, and asks for its paint, through
    // events: until they are handled the window stays black whatever is
    // painted. The user's input waits until the load is over.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TStartUpInfo::ReportProblem(const std::string& message) { problems_.push_back(message); }
