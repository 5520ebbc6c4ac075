#pragma once

#include <QImage>
#include <QMainWindow>
#include <QRect>
#include <QWidget>
#include <array>
#include <memory>

#include "astro/Observer.h"
#include "controller/UserMessages.h"
#include "shell/CommandHandler.h"
#include "shell/NightLook.h"
#include "view/SkyPanel.h"

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QMenu;
class QPrinter;
class QPushButton;
class QStatusBar;
class QTimer;
class QToolButton;
class HelpViewer;
class Planetarium;
class TFind;
class SkyView;

// The sky surface of the main window: shows the last frame and reports a
// click (press and release on the surface) at the press position.
class PaintBox : public QWidget {
    Q_OBJECT
public:
    explicit PaintBox(QWidget* parent);
    void SetFrame(const QImage& frame);
    const QImage& Frame() const { return frame_; }
    int MouseX() const { return mouseX_; }
    int MouseY() const { return mouseY_; }

signals:
    void Clicked(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage frame_;
    int mouseX_ = 0;
    int mouseY_ = 0;
    bool pressed_ = false;
};

// Message boxes shown as modal Qt boxes over the main window.
class WidgetMessages : public UserMessages {
public:
    explicit WidgetMessages(QWidget* parent) : parent_(parent) {}
    void Warning(const std::string& text) override;
    bool Confirm(const std::string& text) override;

private:
    QWidget* parent_;
};

// The main window: the sky, the side panel, the menu and the status bar. It
// owns the planetarium, forwards every user action to it, and is the panel
// the sky view writes its readout into.
class THCI : public QMainWindow, public SkyPanel, private CommandTarget {
    Q_OBJECT
public:
    // messages: where message boxes go (null: modal Qt boxes); clock: where
    // the observer reads the time (empty: the system clock).
    explicit THCI(UserMessages* messages = nullptr, Observer::ClockSource clock = {});
    ~THCI() override;

    Planetarium* GetPlanetarium() const { return planetarium_.get(); }
    SkyView* View() const { return view_; }
    const std::string& Message() const { return commands_->message(); }
    uint16_t CommandState() const { return commands_->state(); }
    bool IsFullScreen() const { return fullScreen_; }
    HelpViewer* HelpWindow() const { return help_.get(); }

    // One key for the command language, as the window's key handler gets it.
    void FormKeyDown(uint16_t key, KeyModifiers modifiers);
    void ToggleFullScreen();
    void ToggleToolbar() override;
    void ToggleStatusbar();
    void ShowHelp(int context);
    void CleanRegistry();
    void ShowAbout();
    // File > Export Chart... and Print...: ask for a file or a printer, then
    // write or print the view as it stands.
    void ExportChart();
    void PrintChart();
    // The same without asking; false (after saying why) when it failed.
    bool ExportChartTo(const QString& path);
    // Data > Find...: asks for a name and turns to the object.
    void FindObject();
    bool PrintChartOn(QPrinter& printer);
    // The application-wide key hook is off while the preferences are open.
    void SetKeyHookEnabled(bool enabled) { keyHookEnabled_ = enabled; }

    // SkyPanel
    void SetLabelText(PanelLabel label, const std::string& text) override;
    void SetLabelColour(PanelLabel label, Colour background) override;
    void SetPanelColour(Colour background) override;
    void SetStatusText(int panel, const std::string& text) override;
    void SetStatusWidth(int panel, int width) override;
    void SetClockChecks(bool runTicked, bool runEnabled, bool systemTimeTicked) override;
    int SurfaceWidth() const override;
    int SurfaceHeight() const override;
    void Present(const QImage& frame) override;

    // Controls by their names, for whoever drives the window.
    PaintBox* Image1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QFrame* Panel1 = nullptr;
    QTimer* Timer1 = nullptr;
    std::array<QLabel*, PanelLabelCount> labels{};
    std::array<QLabel*, kStatusPanelCount> statusPanels{};
    QToolButton* ButNorth = nullptr;
    QToolButton* ButEast = nullptr;
    QToolButton* ButSouth = nullptr;
    QToolButton* ButWest = nullptr;
    QToolButton* ButLeftMore = nullptr;
    QToolButton* ButRightMore = nullptr;
    QToolButton* ButLeftLess = nullptr;
    QToolButton* ButRightLess = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QToolButton* ButMoveUp = nullptr;
    QToolButton* ButMoveDown = nullptr;
    QToolButton* ButMoveLeft = nullptr;
    QToolButton* ButMoveRight = nullptr;
    QToolButton* ButCentre = nullptr;
    QLabel* labLocked = nullptr;
    QPushButton* butReport = nullptr;
    QCheckBox* cbSysTime = nullptr;
    QCheckBox* cbRun = nullptr;
    QPushButton* Button1 = nullptr;
    QMenu* FileMenu = nullptr;
    QMenu* DataMenu = nullptr;
    QMenu* DisplayMenu = nullptr;
    QMenu* HelpMenu = nullptr;
    QAction* ExportChartItem = nullptr;
    QAction* PrintItem = nullptr;
    QAction* InkSavingItem = nullptr;  // checked: charts in dark colours on white
    QAction* CleanRegistryItem = nullptr;
    QAction* ExitItem = nullptr;
    QAction* FindItem = nullptr;
    QAction* PreferencesItem = nullptr;
    QAction* FullScreenItem = nullptr;
    QAction* ToggleToolbarItem = nullptr;
    QAction* ToggleStatusbarItem = nullptr;
    QAction* ToggleReportItem = nullptr;
    QAction* HelpItem = nullptr;
    QAction* AboutItem = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void BuildControls();
    void BuildMenus();
    void CompassClick(int tag);
    void ScrollClick(int tag);
    void ClockClick();
    void ShowMessage();
    // Red mode of the sky reaches every window of the program.
    void FollowRedMode();

    // CommandTarget: the keyboard commands, forwarded to the planetarium.
    float SetStarLimit(float magnitude) override;
    float ShiftStarLimit(float delta) override;
    float ShiftDsoLimit(float delta) override;
    void ChangeProjection(int projection) override;
    void SetDirectionDegrees(int degrees, bool redraw) override;
    void SetElevation(float radians, bool redraw) override;
    void Scroll(int code) override;
    void Zoom(float factor) override;
    void ToggleLock() override;
    void LookAtSelected() override;
    bool ToggleOption(std::size_t index) override;
    void Paint() override;
    bool ToggleReadSlewFile() override;
    bool ToggleWriteSlewFile() override;
    void Brighten() override;
    void Dim() override;
    void ToggleRed() override;
    void Help() override;

    std::unique_ptr<WidgetMessages> ownMessages_;
    UserMessages* messages_ = nullptr;
    std::unique_ptr<CommandHandler> commands_;
    std::unique_ptr<Planetarium> planetarium_;
    // The planetarium as the resize handler sees it: withheld while the
    // window switches to and from full screen.
    Planetarium* active_ = nullptr;
    SkyView* view_ = nullptr;
    std::unique_ptr<HelpViewer> help_;
    std::unique_ptr<TFind> find_;  // kept while the names it offers stay the same
    Qt::WindowFlags savedBorderIcons_;
    // The bounds of the window in its normal state, where leaving full
    // screen returns to.
    QRect normalBounds_;
    bool fullScreen_ = false;
    bool keyHookEnabled_ = true;
    NightLook nightLook_;
};
