#pragma once

#include <QDialog>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

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

    // Whether the names it offers are still those of the sky: no star
    // catalogue was loaded or unloaded since it was made. Making it takes a
    // moment with a large catalogue, so it is kept while it is.
    bool Current(const Planetarium& sky) const;

    // Shows the dialog modally, empty; the object chosen, or none when
    // cancelled.
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

    // How many objects of each kind and catalogue there were to name.
    static std::vector<std::size_t> NameSetOf(const Planetarium& sky);

    ObjectNames names_;
    std::vector<std::size_t> nameSet_;
    std::optional<ObjectRef> chosen_;
};
