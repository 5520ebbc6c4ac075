#pragma once

#include <QTest>
#include <memory>

#include "../controller/ControllerTestSupport.h"
#include "shell/MainWindow.h"

// The main window on the two-star catalogue at the fixed moment, shown, in a
// working folder and with settings of its own; its message boxes are
// recorded.
struct ShownMainWindow {
    ShownMainWindow() {
        work.Write(QStringLiteral("data/stfound.dat"), TwoStarCatalogue());
        window = std::make_unique<THCI>(&messages, [] { return FixedMoment(); });
        window->show();
        exposed = QTest::qWaitForWindowExposed(window.get());
    }

    ScratchWorkDir work;
    RecordingMessages messages;
    std::unique_ptr<THCI> window;
    bool exposed = false;
};
