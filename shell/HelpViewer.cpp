#include "shell/HelpViewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "controller/UserMessages.h"

namespace {

// Every folder must hold the page of every context to count as the help.
const int Contexts[] = {HelpViewer::MainWindowContext, HelpViewer::PreferencesContext};

}  // namespace

HelpViewer::HelpViewer(QWidget* owner, UserMessages* messages, QStringList folders)
    : owner_(owner), messages_(messages), folders_(folders.isEmpty() ? DefaultFolders() : std::move(folders)) {}

HelpViewer::~HelpViewer() { delete window_; }

QStringList HelpViewer::DefaultFolders() {
    QStringList folders;
    folders << QDir::current().absoluteFilePath(QStringLiteral("docs/help"));
    const QString programDir = QCoreApplication::applicationDirPath();
    if (!programDir.isEmpty()) {
        // Installed beside the program, or run from a build folder inside
        // the source tree (build/shell/velkaris).
        folders << QDir(programDir).absoluteFilePath(QStringLiteral("docs/help"));
        folders << QDir(programDir).absoluteFilePath(QStringLiteral("../../docs/help"));
    }
    for (QString& folder : folders) folder = QDir::cleanPath(folder);
    folders.removeDuplicates();
    return folders;
}

QString HelpViewer::PageOf(int context) {
    switch (context) {
        case PreferencesContext: return QStringLiteral("preferences.html");
        default: return QStringLiteral("index.html");
    }
}

bool HelpViewer::Load() {
    for (const QString& folder : folders_) {
        bool complete = true;
        for (int context : Contexts) {
            if (!QFileInfo(QDir(folder).filePath(PageOf(context))).isFile()) complete = false;
        }
        if (complete) {
            folder_ = folder;
            break;
        }
    }
    if (folder_.isEmpty()) return false;

    window_ = new QWidget(owner_, Qt::Window);
    window_->setWindowTitle(QStringLiteral("Velkaris Help"));
    window_->resize(720, 640);
    auto* layout = new QVBoxLayout(window_);
    layout->setContentsMargins(0, 0, 0, 0);
    browser_ = new QTextBrowser(window_);
    browser_->setOpenLinks(true);
    browser_->setSearchPaths({folder_});
    layout->addWidget(browser_);
    return true;
}

bool HelpViewer::Show(int context) {
    if (!Loaded() && !Load()) {
        QString text = QStringLiteral(
                           "The help pages could not be found. They are needed to show the help. "
                           "Velkaris looked for %1 and %2 in:\n")
                           .arg(PageOf(MainWindowContext), PageOf(PreferencesContext));
        for (const QString& folder : folders_) text += QStringLiteral("\n") + folder;
        text += QStringLiteral("\n\nStart Velkaris from the folder that holds docs/help.");
        if (messages_) messages_->Warning(text.toStdString());
        return false;
    }
    browser_->setSource(QUrl::fromLocalFile(QDir(folder_).filePath(PageOf(context))));
    window_->show();
    window_->raise();
    return true;
}
