#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "shell/MainWindow.h"

namespace {

// An exception that escapes an event handler is shown and the program goes
// on, as far as the event it interrupted allows.
class VelkarisApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            QMessageBox::critical(nullptr, QStringLiteral("Velkaris v1.1.2"), QString::fromUtf8(error.what()));
        }
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    VelkarisApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velkaris"));
    try {
        THCI window;
        window.showMaximized();
        return app.exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Velkaris v1.1.2"), QString::fromUtf8(error.what()));
        return 1;
    }
}
