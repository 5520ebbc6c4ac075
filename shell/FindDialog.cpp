#include "shell/FindDialog.h"

#include <QCompleter>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringListModel>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

#include "catalogues/DeepSkyObject.h"
#include "catalogues/MinorPlanet.h"
#include "catalogues/StarCatalogue.h"
#include "controller/Planetarium.h"

namespace {

qulonglong Packed(const ObjectRef& r) { return qulonglong{r.kind} << 48 | qulonglong{r.catalogue} << 32 | r.index; }

ObjectRef Unpacked(qulonglong v) {
    return {static_cast<uint16_t>(v >> 48), static_cast<uint16_t>(v >> 32 & 0xffff), static_cast<uint32_t>(v)};
}

}  // namespace

std::vector<std::size_t> TFind::NameSetOf(const Planetarium& sky) {
    std::vector<std::size_t> counts;
    for (int c = 0; c < sky.StarCatalogueCount(); ++c) {
        const StarCatalogue* catalogue = sky.Catalogue(c);
        counts.push_back(catalogue && catalogue->loaded() ? catalogue->stars().size() : 0);
    }
    counts.push_back(sky.DeepSky().objects().size());
    counts.push_back(sky.MinorPlanets().planets().size());
    return counts;
}

TFind::TFind(QWidget* owner, const Planetarium& sky) : QDialog(owner), names_(sky), nameSet_(NameSetOf(sky)) {
    setObjectName(QStringLiteral("Find"));
    setWindowTitle(QStringLiteral("Find"));

    edFind = new QLineEdit(this);
    edFind->setObjectName(QStringLiteral("edFind"));
    edFind->setPlaceholderText(QStringLiteral("Sirius, alp CMa, 58 Ori, HD 48915, M 31, Orion Nebula, Mars, Ceres"));
    edFind->setMinimumWidth(360);
    labFound = new QLabel(this);
    labFound->setObjectName(QStringLiteral("labFound"));
    labFound->setWordWrap(true);
    labFound->hide();
    ListFound = new QListWidget(this);
    ListFound->setObjectName(QStringLiteral("ListFound"));
    ListFound->hide();
    butFind = new QPushButton(QStringLiteral("Find"), this);
    butCancel = new QPushButton(QStringLiteral("Cancel"), this);
    // Return belongs to the name box and the list, not to a default button.
    for (QPushButton* b : {butFind, butCancel}) b->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(butFind);
    buttons->addWidget(butCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Name:"), this));
    layout->addWidget(edFind);
    layout->addWidget(labFound);
    layout->addWidget(ListFound, 1);
    layout->addLayout(buttons);

    // Every name once, sorted without case so that the completer looks names
    // up by their beginning (a few hundred thousand with the Hipparcos
    // catalogue: sorted as bytes, which is many times faster than sorting
    // Qt's strings; the names are English).
    std::vector<std::pair<std::string, std::string>> sorted;
    for (NamedObject& n : names_.All()) {
        std::string folded = n.name;
        for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        sorted.emplace_back(std::move(folded), std::move(n.name));
    }
    std::sort(sorted.begin(), sorted.end());
    QStringList all;
    all.reserve(static_cast<qsizetype>(sorted.size()));
    for (std::size_t i = 0; i < sorted.size(); ++i)
        if (i == 0 || sorted[i].second != sorted[i - 1].second) all.push_back(QString::fromStdString(sorted[i].second));
    auto* completer = new QCompleter(new QStringListModel(all, this), this);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setModelSorting(QCompleter::CaseInsensitivelySortedModel);
    completer->setMaxVisibleItems(12);
    edFind->setCompleter(completer);

    connect(completer, qOverload<const QString&>(&QCompleter::activated), this, [this](const QString& name) {
        edFind->setText(name);
        FindTyped();
    });
    connect(edFind, &QLineEdit::returnPressed, this, [this] {
        // Return that took a completion has found already.
        if (!chosen_) FindTyped();
    });
    connect(butFind, &QPushButton::clicked, this, &TFind::FindTyped);
    connect(butCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ListFound, &QListWidget::itemActivated, this, &TFind::ChooseItem);
}

bool TFind::Current(const Planetarium& sky) const { return NameSetOf(sky) == nameSet_; }

std::optional<ObjectRef> TFind::Ask() {
    chosen_.reset();
    edFind->clear();
    labFound->hide();
    ListFound->clear();
    ListFound->hide();
    edFind->setFocus();
    return exec() == QDialog::Accepted ? chosen_ : std::nullopt;
}

void TFind::Choose(const ObjectRef& object) {
    chosen_ = object;
    accept();
}

void TFind::ChooseItem(QListWidgetItem* item) {
    if (item) Choose(Unpacked(item->data(Qt::UserRole).toULongLong()));
}

bool TFind::FindTyped() {
    const std::string typed = edFind->text().toStdString();
    std::vector<ObjectRef> found = names_.Resolve(typed);
    if (found.size() > 1) {
        if (const std::optional<ObjectRef> one = names_.Preferred(found, typed)) found = {*one};
    }
    if (found.size() == 1) {
        Choose(found.front());
        return true;
    }
    ListFound->clear();
    const QString name = edFind->text().trimmed();
    if (found.size() > 1) {
        labFound->setText(QStringLiteral("\"%1\" names %2 objects; choose one:").arg(name).arg(found.size()));
        for (const ObjectRef& r : found) {
            auto* item = new QListWidgetItem(QString::fromStdString(names_.Describe(r)), ListFound);
            item->setData(Qt::UserRole, Packed(r));
        }
    } else {
        const std::vector<NamedObject> meant = names_.Suggestions(typed);
        labFound->setText(meant.empty() ? QStringLiteral("No object is named \"%1\".").arg(name)
                                        : QStringLiteral("No object is named \"%1\". Did you mean:").arg(name));
        for (const NamedObject& n : meant) {
            // The name that came close, and what it is when that does not
            // go without saying ("Pluto" the planet and the minor planet).
            const std::string described = names_.Describe(n.object);
            const std::string text = described.rfind(n.name, 0) == 0 ? described : n.name + " \u2014 " + described;
            auto* item = new QListWidgetItem(QString::fromStdString(text), ListFound);
            item->setData(Qt::UserRole, Packed(n.object));
        }
    }
    labFound->show();
    ListFound->setVisible(ListFound->count() > 0);
    // Return then chooses the first; typing again starts in the name box.
    if (ListFound->count() > 0) {
        ListFound->setCurrentRow(0);
        ListFound->setFocus();
    }
    return false;
}
