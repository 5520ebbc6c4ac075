#include "shell/AboutForm.h"

#include <QFont>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadialGradient>

namespace {

constexpr int kWidth = 435;
constexpr int kHeight = 328;

const char* const kHistory =
    "Velkaris v1.1.2\n"
    "\n"
    "A planetarium for the desktop: the sky of any place and moment, with\n"
    "stars, deep-sky objects, the Sun, the Moon, the planets and minor planets.\n"
    "\n"
    "1.1.2\n"
    "- Runs on Linux with Qt 6.\n"
    "- Star catalogues load faster and report files that cannot be read.\n"
    "- Rise, transit and set times of stars for the place of the date.\n"
    "\n"
    "1.1\n"
    "- Star catalogues can be loaded and unloaded from the preferences.\n"
    "- Minor planets from a file of orbital elements.\n"
    "- The Earth's shadow for lunar eclipses.\n"
    "\n"
    "1.0\n"
    "- First release.\n";

// The program's picture: a bright star on the night sky.
QPixmap Picture() {
    QPixmap pixmap(33, 33);
    pixmap.fill(QColor(0, 0, 0x40));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(16.5, 16.5, 14);
    glow.setColorAt(0.0, Qt::white);
    glow.setColorAt(0.3, QColor(0xFF, 0xF0, 0xA0));
    glow.setColorAt(1.0, Qt::transparent);
    painter.setBrush(glow);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(2.5, 2.5, 28, 28));
    painter.setPen(QPen(QColor(0xFF, 0xFF, 0xE0), 1));
    painter.drawLine(QPointF(16.5, 1), QPointF(16.5, 32));
    painter.drawLine(QPointF(1, 16.5), QPointF(32, 16.5));
    return pixmap;
}

}  // namespace

TAboutForm::TAboutForm(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("About Velkaris"));
    setFixedSize(kWidth, kHeight);
    setModal(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(16, 12, 33, 33);
    Image1->setPixmap(Picture());

    Label1 = new QLabel(QStringLiteral("Velkaris"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setStyleHint(QFont::SansSerif);
    title.setPixelSize(24);
    title.setBold(true);
    Label1->setFont(title);
    Label1->move(64, 14);
    Label1->adjustSize();

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(368, 10, 45, 39);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

    // Aligned to the bottom of the window, across its width.
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry((kWidth - 427) / 2, kHeight - 245, 427, 245);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setPlainText(QString::fromUtf8(kHistory));
}
