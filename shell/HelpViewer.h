#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QTextBrowser;
class UserMessages;

// The program's help: HTML pages shipped in docs/help, shown in a window of
// their own. The pages are looked for at the first request; when they cannot
// be found every request says so, naming the folders searched, and tries
// again the next time.
class HelpViewer {
public:
    // Context numbers of the pages.
    static constexpr int MainWindowContext = 10000;
    static constexpr int PreferencesContext = 11000;

    // folders: where to look for the pages, in order; empty means the
    // default places (DefaultFolders).
    HelpViewer(QWidget* owner, UserMessages* messages, QStringList folders = {});
    ~HelpViewer();
    HelpViewer(const HelpViewer&) = delete;
    HelpViewer& operator=(const HelpViewer&) = delete;

    // Shows the page of a context number; false when the pages are missing.
    bool Show(int context);

    bool Loaded() const { return !folder_.isEmpty(); }
    QString Folder() const { return folder_; }
    QWidget* Window() const { return window_; }
    QTextBrowser* Browser() const { return browser_; }

    // docs/help under the working directory, then beside the program and in
    // the source tree it was built from.
    static QStringList DefaultFolders();
    static QString PageOf(int context);

private:
    bool Load();

    QWidget* owner_;
    UserMessages* messages_;
    QStringList folders_;
    QString folder_;
    QWidget* window_ = nullptr;
    QTextBrowser* browser_ = nullptr;
};
