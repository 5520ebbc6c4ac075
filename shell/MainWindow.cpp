#include "shell/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include "astro/Constants.h"
#include "controller/Planetarium.h"
#include "settings/SettingsStore.h"
#include "shell/AboutForm.h"
#include "shell/FindDialog.h"
#include "shell/HelpViewer.h"
#include "shell/KeyCodes.h"
#include "shell/ObjectReport.h"
#include "shell/PrefsDialog.h"
#include "shell/StartUpInfo.h"
#include "view/SkyView.h"

namespace {

const QString Caption = QStringLiteral("Velkaris v1.1.2");

const char* const CleanRegistryQuestion =
    "This will delete your preferences. You can use this to restore Velkaris's default values. "
    "You can also use this option to clear Velkaris's registry items if you want to delete "
    "Velkaris from your system. Do you really want to clean Velkaris's registry items?";

QColor ToQColor(Colour c) { return QColor(c.r, c.g, c.b); }

void SetBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void SetForeground(QWidget* widget, const QColor& colour) {
    // Active and inactive only: a disabled control (the Run box while the
    // clock follows the system) keeps the style's greyed text.
    QPalette palette = widget->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, colour);
        palette.setColor(group, QPalette::ButtonText, colour);
        palette.setColor(group, QPalette::Text, colour);
    }
    widget->setPalette(palette);
}

QFont PixelFont(const char* family, int pixels, bool bold = false) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A heading of the side panel: grey bold text centred on black.
QLabel* Heading(QWidget* parent, const char* text, int x, int y) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setGeometry(x, y, 91, 18);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(PixelFont("Arial", 13, true));
    SetBackground(label, Qt::black);
    SetForeground(label, Qt::gray);
    return label;
}

// A readout field: black text on silver.
QLabel* Readout(QWidget* parent, const char* text, int x, int y, int w, int h, bool wrap) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setGeometry(x, y, w, h);
    label->setWordWrap(wrap);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetBackground(label, QColor(192, 192, 192));
    SetForeground(label, Qt::black);
    return label;
}

QToolButton* SpeedButton(QWidget* parent, const QString& caption, int x, int y, bool bold = false) {
    auto* button = new QToolButton(parent);
    button->setText(caption);
    button->setGeometry(x, y, 31, 31);
    button->setFocusPolicy(Qt::NoFocus);
    if (bold) {
        QFont font = button->font();
        font.setBold(true);
        button->setFont(font);
    }
    return button;
}

// Tabs in the rise/transit/set texts line the times up; labels show them as
// a few blanks.
QString LabelText(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.replace(QLatin1Char('\t'), QStringLiteral("  "));
    return s;
}

}  // namespace

// --- PaintBox -----------------------------------------------------------------------

PaintBox::PaintBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetBackground(this, Qt::black);
    setMinimumSize(1, 1);
}

void PaintBox::SetFrame(const QImage& frame) {
    frame_ = frame;
    update();
}

void PaintBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!frame_.isNull()) painter.drawImage(0, 0, frame_);
}

void PaintBox::mousePressEvent(QMouseEvent* event) {
    mouseX_ = static_cast<int>(event->position().x());
    mouseY_ = static_cast<int>(event->position().y());
    // Any button marks the place; only the left button makes a click.
    pressed_ = event->button() == Qt::LeftButton;
}

void PaintBox::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a press and a release on the surface; the press decides
    // where it was.
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) emit Clicked(mouseX_, mouseY_);
}

// --- WidgetMessages -------------------------------------------------------------------

void WidgetMessages::Warning(const std::string& text) {
    QMessageBox::warning(parent_, Caption, QString::fromStdString(text), QMessageBox::Ok);
}

bool WidgetMessages::Confirm(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, Caption, QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                    parent_);
    return box.exec() == QMessageBox::Yes;
}

// --- THCI --------------------------------------------------------------------------------

THCI::THCI(UserMessages* messages, Observer::ClockSource clock) {
    setObjectName(QStringLiteral("HCI"));
    if (!messages) {
        ownMessages_ = std::make_unique<WidgetMessages>(this);
        messages = ownMessages_.get();
    }
    messages_ = messages;
    commands_ = std::make_unique<CommandHandler>(static_cast<CommandTarget&>(*this));

    BuildControls();
    BuildMenus();
    qApp->installEventFilter(this);
    setWindowTitle(Caption);

    Timer1->stop();
    PlanetariumLinks links;
    links.panel = this;
    links.messages = messages_;
    links.clock = std::move(clock);
    links.createProgress = [this]() -> std::unique_ptr<LoadProgress> {
        auto window = std::make_unique<TStartUpInfo>(this);
        window->show();
        return window;
    };
    links.createPreferences = [this]() -> std::unique_ptr<PreferencesDialog> {
        // Warnings go over the dialog, which stays on top, unless someone
        // else is listening.
        return std::make_unique<TPrefs>(this, ownMessages_ ? nullptr : messages_);
    };
    links.createReport = [this]() -> std::unique_ptr<ReportDisplay> { return std::make_unique<TObjectReport>(this); };
    planetarium_ = std::make_unique<Planetarium>(links);
    active_ = planetarium_.get();
    view_ = planetarium_->View();

    Timer1->setInterval(100);
    Timer1->start();
    fullScreen_ = false;
}

THCI::~THCI() {
    qApp->removeEventFilter(this);
    help_.reset();
    find_.reset();
    Timer1->stop();
    active_ = nullptr;
    view_ = nullptr;
    planetarium_.reset();
}

void THCI::BuildControls() {
    setGeometry(86, 68, 700, 700);
    SetBackground(this, Qt::black);
    SetForeground(this, QColor(192, 192, 192));
    setFont(PixelFont("Arial Narrow", 11));
    setCursor(Qt::CrossCursor);

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Image1 = new PaintBox(central);
    Image1->setObjectName(QStringLiteral("Image1"));
    layout->addWidget(Image1, 1);
    Panel1 = new QFrame(central);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedWidth(100);
    Panel1->setMinimumHeight(570);
    Panel1->setFont(PixelFont("Arial Narrow", 13));
    SetBackground(Panel1, Qt::gray);
    SetForeground(Panel1, Qt::black);
    layout->addWidget(Panel1);
    setCentralWidget(central);
    connect(Image1, &PaintBox::Clicked, this, [this](int x, int y) {
        if (planetarium_) planetarium_->SelectAt(x, y);
    });
    Image1->installEventFilter(this);

    QWidget* p = Panel1;
    Heading(p, "Direction", 5, 10);
    ButLeftMore = SpeedButton(p, QStringLiteral("\u21b6"), 5, 30);
    ButLeftMore->setToolTip(QStringLiteral("Turn left by 30\u00b0"));
    ButNorth = SpeedButton(p, QStringLiteral("N"), 35, 30, true);
    ButRightMore = SpeedButton(p, QStringLiteral("\u21b7"), 65, 30);
    ButRightMore->setToolTip(QStringLiteral("Turn right by 30\u00b0"));
    ButWest = SpeedButton(p, QStringLiteral("W"), 5, 60, true);
    labels[LabDirection] = new QLabel(QStringLiteral("0"), p);
    labels[LabDirection]->setGeometry(38, 69, 26, 19);
    labels[LabDirection]->setAlignment(Qt::AlignCenter);
    ButEast = SpeedButton(p, QStringLiteral("E"), 65, 60, true);
    ButLeftLess = SpeedButton(p, QStringLiteral("\u2039"), 5, 90);
    ButLeftLess->setToolTip(QStringLiteral("Turn left by 5\u00b0"));
    ButSouth = SpeedButton(p, QStringLiteral("S"), 35, 90, true);
    ButRightLess = SpeedButton(p, QStringLiteral("\u203a"), 65, 90);
    ButRightLess->setToolTip(QStringLiteral("Turn right by 5\u00b0"));

    Heading(p, "Scroll / Zoom", 5, 125);
    SpeedButton1 = SpeedButton(p, QStringLiteral("+"), 5, 145, true);
    SpeedButton1->setToolTip(QStringLiteral("Zoom in"));
    ButMoveUp = SpeedButton(p, QStringLiteral("\u25b2"), 35, 145);
    SpeedButton2 = SpeedButton(p, QStringLiteral("\u2212"), 65, 145, true);
    SpeedButton2->setToolTip(QStringLiteral("Zoom out"));
    ButMoveLeft = SpeedButton(p, QStringLiteral("\u25c0"), 5, 175);
    ButCentre = SpeedButton(p, QStringLiteral("\u25cf"), 35, 175);
    ButCentre->setToolTip(QStringLiteral("Reset scroll"));
    ButMoveRight = SpeedButton(p, QStringLiteral("\u25b6"), 65, 175);
    SpeedButton3 = SpeedButton(p, QStringLiteral("LH"), 5, 205);
    SpeedButton3->setToolTip(QStringLiteral("Look at Horizon"));
    ButMoveDown = SpeedButton(p, QStringLiteral("\u25bc"), 35, 205);
    SpeedButton4 = SpeedButton(p, QStringLiteral("LO"), 65, 205);
    SpeedButton4->setToolTip(QStringLiteral("Look at Selected Object"));

    labLocked = Heading(p, "Locked", 4, 240);
    labLocked->setToolTip(QStringLiteral("Click to lock selection"));
    labLocked->installEventFilter(this);
    labels[labLockedObject] = Readout(p, "none", 4, 258, 91, 33, true);
    Heading(p, "Selected", 5, 300);
    labels[LabCurrentStar] = Readout(p, "none", 5, 316, 91, 38, true);
    const int readoutTops[5] = {363, 378, 394, 410, 423};
    const PanelLabel readouts[5] = {LabCurRA, LabCurDec, LabCurMag, LabCurAlt, LabCurAzi};
    for (int i = 0; i < 5; ++i) labels[readouts[i]] = Readout(p, "", 5, readoutTops[i], 91, 15, false);
    labels[LabRise] = new QLabel(p);
    labels[LabRise]->setGeometry(5, 439, 91, 15);
    labels[LabTrans] = new QLabel(p);
    labels[LabTrans]->setGeometry(5, 454, 91, 15);
    labels[LabSet] = new QLabel(p);
    labels[LabSet]->setGeometry(5, 469, 91, 15);
    // Those one-line labels stand 13 to 16 pixels apart (the Azi line covers
    // the foot of the Alt line): the panel's font, made as small as it takes
    // for every line to show whole, descenders included.
    QFont lineFont = p->font();
    while (lineFont.pixelSize() > 6 && QFontMetrics(lineFont).height() > readoutTops[4] - readoutTops[3])
        lineFont.setPixelSize(lineFont.pixelSize() - 1);
    for (PanelLabel l : {LabCurRA, LabCurDec, LabCurMag, LabCurAlt, LabCurAzi, LabRise, LabTrans, LabSet})
        labels[l]->setFont(lineFont);
    const char* labelNames[PanelLabelCount] = {"LabCurRA",  "LabCurDec",      "LabCurMag",       "LabCurAlt",
                                               "LabCurAzi", "LabCurrentStar", "labLockedObject", "LabDirection",
                                               "LabRise",   "LabSet",         "LabTrans"};
    for (int i = 0; i < PanelLabelCount; ++i) labels[i]->setObjectName(QString::fromLatin1(labelNames[i]));

    butReport = new QPushButton(QStringLiteral("Report"), p);
    butReport->setGeometry(5, 490, 91, 21);
    butReport->setFocusPolicy(Qt::NoFocus);
    cbSysTime = new QCheckBox(QStringLiteral("System Time"), p);
    cbSysTime->setGeometry(5, 520, 94, 21);
    cbRun = new QCheckBox(QStringLiteral("Run"), p);
    cbRun->setGeometry(5, 543, 94, 21);
    // Holds the keyboard focus so that no other control takes the keys.
    Button1 = new QPushButton(p);
    Button1->setGeometry(10, 340, 0, 1);
    Button1->setToolTip(QStringLiteral("Fake button to capture keydown"));
    Button1->setFocus();

    const std::pair<QToolButton*, int> compass[4] = {{ButNorth, 0}, {ButEast, 1}, {ButSouth, 2}, {ButWest, 3}};
    for (auto [button, tag] : compass) {
        connect(button, &QToolButton::clicked, this, [this, tag = tag] { CompassClick(tag); });
    }
    const std::pair<QToolButton*, float> rotations[4] = {
        {ButLeftMore, 330.0f}, {ButRightMore, 30.0f}, {ButLeftLess, 355.0f}, {ButRightLess, 5.0f}};
    for (auto [button, delta] : rotations) {
        connect(button, &QToolButton::clicked, this, [this, delta = delta] {
            if (planetarium_) planetarium_->Rotate(delta);
        });
    }
    const std::pair<QToolButton*, int> scrolls[5] = {{ButCentre, ScrollReset},
                                                     {ButMoveUp, ScrollUp},
                                                     {ButMoveRight, ScrollRight},
                                                     {ButMoveDown, ScrollDown},
                                                     {ButMoveLeft, ScrollLeft}};
    for (auto [button, tag] : scrolls) {
        connect(button, &QToolButton::clicked, this, [this, tag = tag] { ScrollClick(tag); });
    }
    connect(SpeedButton1, &QToolButton::clicked, this, [this] {
        if (!planetarium_) return;
        planetarium_->Zoom(1.5f);
        planetarium_->Paint();
    });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] {
        if (!planetarium_) return;
        planetarium_->Zoom(-1.5f);
        planetarium_->Paint();
    });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] {
        if (planetarium_) planetarium_->SetElevation(0.0f, true);
    });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] {
        if (planetarium_) planetarium_->LookAtSelected();
    });
    connect(butReport, &QPushButton::clicked, this, [this] {
        if (planetarium_) planetarium_->ToggleReport();
    });
    // Programmatic changes raise these too; the planetarium's guard flag
    // tells them apart from the user's.
    connect(cbSysTime, &QCheckBox::toggled, this, [this] { ClockClick(); });
    connect(cbRun, &QCheckBox::toggled, this, [this] { ClockClick(); });

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setFixedHeight(19);
    // The bar keeps the light face of a toolbar under the black window.
    SetBackground(StatusBar1, QColor(212, 208, 200));
    SetForeground(StatusBar1, Qt::black);
    const int widths[kStatusPanelCount] = {120, 90, 125, 95, 100};
    for (int i = 0; i < kStatusPanelCount; ++i) {
        auto* panel = new QLabel(StatusBar1);
        panel->setFixedWidth(widths[i]);
        panel->setFrameStyle(i < StatusMessage ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame);
        SetForeground(panel, Qt::black);
        statusPanels[i] = panel;
        // The last panel takes what is left of the bar.
        StatusBar1->addWidget(panel, i == StatusMessage ? 1 : 0);
    }
    statusPanels[StatusMessage]->setMinimumWidth(widths[StatusMessage]);
    statusPanels[StatusMessage]->setMaximumWidth(QWIDGETSIZE_MAX);
    setStatusBar(StatusBar1);

    Timer1 = new QTimer(this);
    connect(Timer1, &QTimer::timeout, this, [this] {
        if (planetarium_) planetarium_->Tick(false);
    });
}

void THCI::BuildMenus() {
    QMenuBar* bar = menuBar();
    FileMenu = bar->addMenu(QStringLiteral("&File"));
    // No shortcuts: Ctrl with a letter is that letter's keyboard command.
    ExportChartItem = FileMenu->addAction(QStringLiteral("&Export Chart..."), this, &THCI::ExportChart);
    PrintItem = FileMenu->addAction(QStringLiteral("&Print..."), this, &THCI::PrintChart);
    InkSavingItem = FileMenu->addAction(QStringLiteral("&Ink-Saving Charts"));
    InkSavingItem->setCheckable(true);
    InkSavingItem->setStatusTip(QStringLiteral("Export and print charts in dark colours on white paper"));
    InkSavingItem->setChecked(SettingsStore().ReadBool("InkSavingCharts", false));
    connect(InkSavingItem, &QAction::toggled, this, [](bool on) { SettingsStore().WriteBool("InkSavingCharts", on); });
    FileMenu->addSeparator();
    CleanRegistryItem = FileMenu->addAction(QStringLiteral("Clean Registry"), this, &THCI::CleanRegistry);
    CleanRegistryItem->setStatusTip(
        QStringLiteral("Choose this item to clean Velkaris registry entries before uninstalling Velkaris"));
    CleanRegistryItem->setToolTip(CleanRegistryItem->statusTip());
    FileMenu->addSeparator();
    ExitItem = FileMenu->addAction(QStringLiteral("E&xit"), this, &QWidget::close);

    DataMenu = bar->addMenu(QStringLiteral("&Data"));
    FindItem = DataMenu->addAction(QStringLiteral("&Find..."), this, &THCI::FindObject);
    FindItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    PreferencesItem = DataMenu->addAction(QStringLiteral("&Preferences"), this, [this] {
        SetKeyHookEnabled(false);
        if (planetarium_) planetarium_->ShowPreferences();
        SetKeyHookEnabled(true);
    });

    DisplayMenu = bar->addMenu(QStringLiteral("&Display"));
    FullScreenItem = DisplayMenu->addAction(QStringLiteral("Full Screen"), this, &THCI::ToggleFullScreen);
    FullScreenItem->setShortcut(QKeySequence(Qt::Key_F2));
    ToggleToolbarItem = DisplayMenu->addAction(QStringLiteral("Toggle Toolbar"), this, &THCI::ToggleToolbar);
    ToggleToolbarItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F2));
    ToggleStatusbarItem = DisplayMenu->addAction(QStringLiteral("Toggle Statusbar"), this, &THCI::ToggleStatusbar);
    ToggleStatusbarItem->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F2));
    DisplayMenu->addSeparator();
    ToggleReportItem = DisplayMenu->addAction(QStringLiteral("Toggle Report"), this, [this] {
        if (planetarium_) planetarium_->ToggleReport();
    });
    ToggleReportItem->setShortcut(QKeySequence(Qt::Key_F3));

    HelpMenu = bar->addMenu(QStringLiteral("&Help"));
    HelpItem =
        HelpMenu->addAction(QStringLiteral("&Help..."), this, [this] { ShowHelp(HelpViewer::MainWindowContext); });
    HelpItem->setShortcut(QKeySequence(Qt::Key_F1));
    AboutItem = HelpMenu->addAction(QStringLiteral("&About..."), this, &THCI::ShowAbout);

    // The window holds the shortcuts as well, so that they stay active while
    // the menus are hidden in full-screen mode (F2 leaves it again).
    for (QAction* action :
         {FindItem, FullScreenItem, ToggleToolbarItem, ToggleStatusbarItem, ToggleReportItem, HelpItem}) {
        action->setShortcutContext(Qt::ApplicationShortcut);
        addAction(action);
    }
}

bool THCI::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            // An open menu runs a loop of its own that takes every key, as
            // menus do: the arrows move through its items. A modal window
            // (a question, the About box, the preferences) keeps its keys
            // too: Tab and the arrows move between its controls.
            if (QApplication::activePopupWidget() || QApplication::activeModalWidget()) break;
            auto* key = static_cast<QKeyEvent*>(event);
            const int k = key->key();
            // The arrows and Tab belong to the command language wherever
            // the focus is, so they never move it.
            const bool hooked = k == Qt::Key_Left || k == Qt::Key_Up || k == Qt::Key_Right || k == Qt::Key_Down ||
                                k == Qt::Key_Tab || k == Qt::Key_Backtab;
            if (hooked && keyHookEnabled_) {
                FormKeyDown(VirtualKeyOf(*key), KeyModifiers{});
                return true;
            }
            // Every other key aimed at this window goes to the command
            // language before any of its controls.
            QWidget* target = qobject_cast<QWidget*>(watched);
            const bool ours = (target && target->window() == this) ||
                              (watched->isWindowType() && watched == static_cast<QObject*>(windowHandle()));
            if (ours) {
                if (IsModifierOnlyKey(k)) {
                    ShowMessage();
                } else {
                    FormKeyDown(VirtualKeyOf(*key), ModifiersOf(*key));
                }
                return true;
            }
            break;
        }
        case QEvent::MouseButtonRelease:
            if (watched == labLocked && planetarium_ && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                planetarium_->ToggleLock();
                return true;
            }
            break;
        case QEvent::Resize:
            if (watched == Image1 && active_) active_->Relayout();
            break;
        default: break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool THCI::event(QEvent* event) {
    // The window's help event.
    if (event->type() == QEvent::WhatsThis) {
        ShowHelp(HelpViewer::MainWindowContext);
        return true;
    }
    return QMainWindow::event(event);
}

void THCI::resizeEvent(QResizeEvent* event) { QMainWindow::resizeEvent(event); }

void THCI::FormKeyDown(uint16_t key, KeyModifiers modifiers) {
    if (!planetarium_) return;
    commands_->HandleKey(key, modifiers);
    ShowMessage();
}

void THCI::ShowMessage() { statusPanels[StatusMessage]->setText(QString::fromStdString(commands_->message())); }

void THCI::CompassClick(int tag) {
    if (!planetarium_) return;
    planetarium_->SetDirectionRadians(static_cast<float>(tag * static_cast<double>(Pi) * 0.5), true);
    labels[LabDirection]->setText(QString::number(tag * 90));
}

void THCI::ScrollClick(int tag) {
    if (planetarium_) planetarium_->Scroll(tag);
}

void THCI::ClockClick() {
    if (!planetarium_ || planetarium_->SyncingClockControls()) return;
    planetarium_->ApplyClockControls(cbRun->isChecked(), cbSysTime->isChecked());
    planetarium_->Tick(true);
}

void THCI::ToggleFullScreen() {
    // Withheld, so that the resize events of the switch do nothing.
    Planetarium* planetarium = active_;
    active_ = nullptr;
    const bool visible = isVisible();
    if (!fullScreen_) {
        fullScreen_ = true;
        Panel1->hide();
        StatusBar1->hide();
        for (QMenu* menu : {HelpMenu, FileMenu, DisplayMenu, DataMenu}) menu->menuAction()->setVisible(false);
        menuBar()->hide();
        setWindowTitle(QString());
        // The full-screen state is the borderless window over the whole
        // screen: the window manager drops the title bar and its buttons.
        // Changing the window's flags as well re-creates it, and the window
        // manager then often maps it again at its normal bounds.
        savedBorderIcons_ = windowFlags();
        normalBounds_ = normalGeometry();
        if (visible)
            showFullScreen();
        else
            setWindowState(Qt::WindowFullScreen);
    } else {
        fullScreen_ = false;
        Panel1->show();
        StatusBar1->show();
        menuBar()->show();
        for (QMenu* menu : {HelpMenu, FileMenu, DisplayMenu, DataMenu}) menu->menuAction()->setVisible(true);
        setWindowTitle(Caption);
        if (windowFlags() != savedBorderIcons_) setWindowFlags(savedBorderIcons_);
        // Back to the normal bounds, not to the maximised start.
        if (visible)
            showNormal();
        else
            setWindowState(Qt::WindowNoState);
        // Not every platform restores them by itself.
        if (normalBounds_.isValid()) setGeometry(normalBounds_);
    }
    active_ = planetarium;
    if (active_) active_->Relayout();
}

void THCI::ToggleToolbar() {
    Panel1->setVisible(!Panel1->isVisible());
    if (active_) active_->Relayout();
}

void THCI::ToggleStatusbar() {
    StatusBar1->setVisible(!StatusBar1->isVisible());
    if (active_) active_->Relayout();
}

void THCI::ShowHelp(int context) {
    if (!help_) help_ = std::make_unique<HelpViewer>(this, messages_);
    help_->Show(context);
}

void THCI::CleanRegistry() {
    if (!messages_->Confirm(CleanRegistryQuestion)) return;
    SettingsStore store;
    store.Clean();
}

void THCI::FindObject() {
    if (!planetarium_) return;
    if (!find_ || !find_->Current(*planetarium_)) find_ = std::make_unique<TFind>(this, *planetarium_);
    if (const std::optional<ObjectRef> object = find_->Ask())
        statusPanels[StatusMessage]->setText(QString::fromStdString(planetarium_->GoTo(*object)));
}

void THCI::ShowAbout() {
    TAboutForm about(this);
    about.exec();
}

// --- SkyPanel ----------------------------------------------------------------------------

void THCI::SetLabelText(PanelLabel label, const std::string& text) {
    if (label >= 0 && label < PanelLabelCount) labels[label]->setText(LabelText(text));
}

void THCI::SetLabelColour(PanelLabel label, Colour background) {
    if (label >= 0 && label < PanelLabelCount) SetBackground(labels[label], ToQColor(background));
}

void THCI::SetPanelColour(Colour background) { SetBackground(Panel1, ToQColor(background)); }

void THCI::SetStatusText(int panel, const std::string& text) {
    if (panel >= 0 && panel < kClockPanelCount) statusPanels[panel]->setText(QString::fromStdString(text));
}

void THCI::SetStatusWidth(int panel, int width) {
    if (panel >= 0 && panel < kClockPanelCount) statusPanels[panel]->setFixedWidth(width);
}

void THCI::SetClockChecks(bool runTicked, bool runEnabled, bool systemTimeTicked) {
    cbRun->setChecked(runTicked);
    cbSysTime->setChecked(systemTimeTicked);
    cbRun->setEnabled(runEnabled);
}

int THCI::SurfaceWidth() const { return Image1->width(); }

int THCI::SurfaceHeight() const { return Image1->height(); }

void THCI::Present(const QImage& frame) { Image1->SetFrame(frame); }

// --- CommandTarget -------------------------------------------------------------------------

float THCI::SetStarLimit(float magnitude) { return planetarium_->SetStarLimit(magnitude); }
float THCI::ShiftStarLimit(float delta) { return planetarium_->ShiftStarLimit(delta); }
float THCI::ShiftDsoLimit(float delta) { return planetarium_->ShiftDsoLimit(delta); }
void THCI::ChangeProjection(int projection) { planetarium_->ChangeProjection(projection); }
void THCI::SetDirectionDegrees(int degrees, bool redraw) { planetarium_->SetDirectionDegrees(degrees, redraw); }
void THCI::SetElevation(float radians, bool redraw) { planetarium_->SetElevation(radians, redraw); }
void THCI::Scroll(int code) { planetarium_->Scroll(code); }
void THCI::Zoom(float factor) { planetarium_->Zoom(factor); }
void THCI::ToggleLock() { planetarium_->ToggleLock(); }
void THCI::LookAtSelected() { planetarium_->LookAtSelected(); }
bool THCI::ToggleOption(std::size_t index) { return planetarium_->ToggleOption(index); }
void THCI::Paint() { planetarium_->Paint(); }
// Like every other toggle these redraw at once, so that following the
// incoming file turns the view straight away.
bool THCI::ToggleReadSlewFile() {
    planetarium_->readSlewFile = !planetarium_->readSlewFile;
    planetarium_->Redraw();
    return planetarium_->readSlewFile;
}
bool THCI::ToggleWriteSlewFile() {
    planetarium_->writeSlewFile = !planetarium_->writeSlewFile;
    planetarium_->Redraw();
    return planetarium_->writeSlewFile;
}
void THCI::Brighten() {
    planetarium_->Brighten();
    FollowRedMode();
}
void THCI::Dim() {
    planetarium_->Dim();
    FollowRedMode();
}
void THCI::ToggleRed() {
    planetarium_->ToggleRed();
    FollowRedMode();
}

void THCI::FollowRedMode() {
    const Palette& palette = view_->GetPalette();
    if (palette.RedMode()) {
        // Brightness steps reach the windows too.
        nightLook_.Show({palette.Get(PalPanel, 0), palette.Get(PalPanel, 1), palette.Get(PalPanel, 2)});
    } else if (nightLook_.Shown()) {
        nightLook_.Hide();
        // The panel's colours at the brightness it has now.
        view_->ApplyPanelColours();
    }
}
void THCI::Help() { ShowHelp(HelpViewer::MainWindowContext); }
