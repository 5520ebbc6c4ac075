#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The About box: the program's picture, title, version and a short history.
class TAboutForm : public QDialog {
    Q_OBJECT

public:
    explicit TAboutForm(QWidget* owner = nullptr);

    QLabel* Image1;
    QLabel* Label1;
    QPlainTextEdit* Memo1;
    QPushButton* Button1;
};
