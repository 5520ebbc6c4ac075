#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "controller/ObjectNames.h"

class Planetarium;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// Data > Find...: a name typed with completion over every name the
// planetarium knows. A name that stands for one object (or for several of
// which it is the first name of one) chooses it at once; several objects of
// one name, or what a misspelt name may have meant, are listed to choose
// from.
class TFind : public QDialog {
    Q_OBJECT

public:
    TFind(QWidget* owner, const Planetarium& sky);

    // Shows the dialog modally; the object chosen, or none when cancelled.
    std::optional<ObjectRef> Ask();
    // What the Find button (or Return) does with the name typed: true when
    // it chose one object, false when it listed what to choose from.
    bool FindTyped();
    std::optional<ObjectRef> Chosen() const { return chosen_; }

    QLineEdit* edFind;
    QLabel* labFound;
    QListWidget* ListFound;
    QPushButton* butFind;
    QPushButton* butCancel;

private:
    void Choose(const ObjectRef& object);
    void ChooseItem(QListWidgetItem* item);

    ObjectNames names_;
    std::optional<ObjectRef> chosen_;
};
