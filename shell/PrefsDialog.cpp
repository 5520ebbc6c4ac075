#include "shell/PrefsDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/LocalClock.h"
#include "settings/CityList.h"
#include "shell/HelpViewer.h"
#include "shell/MainWindow.h"
#include "view/SkyView.h"

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// "+1", "-5", "+5.5": a zone with its sign.
QString SignedZone(int32_t minutesEast) { return (minutesEast >= 0 ? "+" : "") + Text(ZoneText(minutesEast)); }

// The masked boxes show separators the form does not hold.
std::string Digits(const QString& text) {
    std::string digits;
    for (const QChar c : text)
        if (c.isDigit()) digits += static_cast<char>(c.toLatin1());
    return digits;
}

QLabel* Label(const char* name, const char* caption, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLineEdit* Edit(const char* name, QWidget* parent, int width = 60) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setFixedWidth(width);
    return edit;
}

QCheckBox* Check(const char* name, const char* caption, QWidget* parent) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QGroupBox* Group(const char* caption, QWidget* parent) { return new QGroupBox(QString::fromUtf8(caption), parent); }

// A page of the page control, its controls from the top.
QWidget* Page(QTabWidget* tabs, const char* name, const char* caption) {
    auto* page = new QWidget(tabs);
    page->setObjectName(QString::fromLatin1(name));
    tabs->addTab(page, QString::fromUtf8(caption));
    return page;
}

}  // namespace

TPrefs::TPrefs(QWidget* owner, UserMessages* messages) : QDialog(owner) {
    setObjectName(QStringLiteral("Prefs"));
    setWindowTitle(QStringLiteral("Preferences"));
    // A fixed dialog without title-bar buttons that stays above the sky.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    if (!messages) {
        ownMessages_ = std::make_unique<WidgetMessages>(this);
        messages = ownMessages_.get();
    }
    messages_ = messages;

    Controller = new QTabWidget(this);
    Controller->setObjectName(QStringLiteral("Controller"));
    BuildTimePage();
    BuildLocationPage();
    BuildViewPage();
    BuildObjectsPage();
    BuildGridsPage();
    BuildCataloguesPage();
    Controller->setCurrentWidget(tabTime);

    auto button = [this](const char* name, const char* caption, const char* hint) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        if (hint) b->setToolTip(QString::fromLatin1(hint));
        b->setAutoDefault(false);
        return b;
    };
    Button2 = button("Button2", "Apply", "Apply new preferences without saving them");
    butSave = button("butSave", "Save", "Save the new preferences and apply them");
    Button3 = button("Button3", "Cancel", "Discard changes to preferences");
    Button1 = button("Button1", "Help", nullptr);
    connect(Button2, &QPushButton::clicked, this, [this] { Finish(ResultApply); });
    connect(butSave, &QPushButton::clicked, this, [this] { Finish(ResultSave); });
    connect(Button3, &QPushButton::clicked, this, [this] { done(ResultCancel); });
    connect(Button1, &QPushButton::clicked, this, &TPrefs::ShowHelp);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {Button2, butSave, Button3, Button1}) buttons->addWidget(b);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(Controller, 1);
    layout->addLayout(buttons);
    // At least the classic 388 x 311, more where the style needs it.
    setFixedSize(sizeHint().expandedTo(QSize(388, 311)));
}

TPrefs::~TPrefs() = default;

QCheckBox* TPrefs::OptionBox(std::size_t member, const char* name, const char* caption, QWidget* parent) {
    QCheckBox* box = Check(name, caption, parent);
    optionBoxes[member] = box;
    return box;
}

QGroupBox* TPrefs::MagnitudeGroup(const char* caption, const char* editName, QLineEdit*& edit,
                                  std::initializer_list<OptionItem> boxes, QWidget* parent) {
    QGroupBox* group = Group(caption, parent);
    auto* layout = new QGridLayout(group);
    edit = Edit(editName, group, 50);
    layout->addWidget(Label("", "Limiting magnitude:", group), 0, 0);
    layout->addWidget(edit, 0, 1);
    int i = 0;
    for (const OptionItem& box : boxes) {
        layout->addWidget(OptionBox(box.member, box.name, box.caption, group), 1 + i / 2, i % 2);
        ++i;
    }
    return group;
}

QGroupBox* TPrefs::OptionGroup(const char* caption, std::initializer_list<OptionItem> boxes) {
    QGroupBox* group = Group(caption, tabGrids);
    auto* layout = new QVBoxLayout(group);
    for (const OptionItem& box : boxes) layout->addWidget(OptionBox(box.member, box.name, box.caption, group));
    return group;
}

void TPrefs::BuildTimePage() {
    tabTime = Page(Controller, "tabTime", "Time");
    QWidget* p = tabTime;
    auto* grid = new QGridLayout(p);
    // A caption, its box and what follows it, side by side.
    auto row = [grid](int r, std::initializer_list<QWidget*> widgets) {
        int column = 0;
        for (QWidget* w : widgets) grid->addWidget(w, r, column++);
    };
    checkSystem = Check("checkSystem", "Use system time", p);
    grid->addWidget(checkSystem, 0, 0, 1, 3);

    labTime = Label("labTime", "Time", p);
    edTime = Edit("edTime", p, 80);
    // An optional first digit, then digits; the separators are shown only.
    edTime->setInputMask(QStringLiteral("09:99:99;_"));
    edTime->setMaxLength(8);
    labTimeFormat = Label("labTimeFormat", "hh:mm:ss", p);
    row(1, {labTime, edTime, labTimeFormat});

    labDate = Label("labDate", "Date", p);
    edDate = Edit("edDate", p, 80);
    edDate->setInputMask(QStringLiteral("99/99/9999;_"));
    edDate->setMaxLength(10);
    labDateFormat = Label("labDateFormat", "dd-mm-yyyy", p);
    row(2, {labDate, edDate, labDateFormat});

    labTimeZone = Label("labTimeZone", "Timezone", p);
    edTimeZone = Edit("edTimeZone", p, 40);
    row(3, {labTimeZone, edTimeZone});
    checkDST = Check("checkDST", "Daylight Saving Time", p);
    grid->addWidget(checkDST, 4, 0, 1, 3);

    labUI1 = Label("labUI1", "Update interval:", p);
    edRealUpdate = Edit("edRealUpdate", p);
    labFac1 = Label("labFac1", "*1/10s", p);
    row(5, {labUI1, edRealUpdate, labFac1});

    checkRun = Check("checkRun", "Run", p);
    grid->addWidget(checkRun, 6, 0, 1, 3);
    labStep = Label("labStep", "Step by", p);
    comboStepType = new QComboBox(p);
    comboStepType->setObjectName(QStringLiteral("comboStepType"));
    for (const char* item : StepTypeItems) comboStepType->addItem(QString::fromLatin1(item));
    edStepSize = Edit("edStepSize", p, 50);
    row(7, {labStep, comboStepType, edStepSize});

    labUI2 = Label("labUI2", "Update interval:", p);
    edAnimUpdate = Edit("edAnimUpdate", p);
    labFac2 = Label("labFac2", "*1/10s", p);
    row(8, {labUI2, edAnimUpdate, labFac2});
    grid->setRowStretch(9, 1);
    grid->setColumnStretch(3, 1);

    connect(checkSystem, &QCheckBox::toggled, this, &TPrefs::SystemTimeClicked);
    connect(checkRun, &QCheckBox::toggled, this, &TPrefs::RunClicked);
    connect(edTime, &QLineEdit::editingFinished, this, &TPrefs::ClockEntryLeft);
    connect(edDate, &QLineEdit::editingFinished, this, &TPrefs::ClockEntryLeft);
}

void TPrefs::BuildLocationPage() {
    tabLocation = Page(Controller, "tabLocation", "Location");
    auto* page = new QHBoxLayout(tabLocation);
    auto* layout = new QVBoxLayout;
    page->addLayout(layout);
    // One group per coordinate: degrees, minutes, seconds and the side.
    auto coordinate = [&](const char* caption, const char* names[3], QLineEdit** edits[3], const char* groupName,
                          QButtonGroup*& group, QRadioButton*& first, QRadioButton*& second, const char* firstName,
                          const char* secondName) {
        QGroupBox* box = Group(caption, tabLocation);
        auto* grid = new QGridLayout(box);
        const char* heads[3] = {"Deg", "Min", "Sec"};
        for (int i = 0; i < 3; ++i) {
            grid->addWidget(Label("", heads[i], box), 0, i);
            *edits[i] = Edit(names[i], box, i == 2 ? 60 : 45);
            grid->addWidget(*edits[i], 1, i);
        }
        group = new QButtonGroup(box);
        group->setObjectName(QString::fromLatin1(groupName));
        first = new QRadioButton(QString::fromLatin1(firstName), box);
        second = new QRadioButton(QString::fromLatin1(secondName), box);
        group->addButton(first);
        group->addButton(second);
        grid->addWidget(first, 0, 3);
        grid->addWidget(second, 1, 3);
        grid->setColumnStretch(4, 1);
        layout->addWidget(box);
    };
    const char* longNames[3] = {"edLoD", "edLoM", "edLoS"};
    QLineEdit** longEdits[3] = {&edLoD, &edLoM, &edLoS};
    coordinate("Longitude", longNames, longEdits, "longGroup", longGroup, longWest, longEast, "West", "East");
    const char* latNames[3] = {"edLaD", "edLaM", "edLaS"};
    QLineEdit** latEdits[3] = {&edLaD, &edLaM, &edLaS};
    coordinate("Latitude", latNames, latEdits, "latGroup", latGroup, latNorth, latSouth, "North", "South");
    layout->addStretch(1);

    QGroupBox* city = Group("City", tabLocation);
    auto* cityLayout = new QVBoxLayout(city);
    edCitySearch = new QLineEdit(city);
    edCitySearch->setObjectName(QStringLiteral("edCitySearch"));
    edCitySearch->setPlaceholderText(QStringLiteral("Search"));
    edCitySearch->setClearButtonEnabled(true);
    ListCities = new QListWidget(city);
    ListCities->setObjectName(QStringLiteral("ListCities"));
    ListCities->setMinimumWidth(220);
    labCities = Label("labCities", "", city);
    labCities->setWordWrap(true);
    labCityChosen = Label("labCityChosen", "", city);
    labCityChosen->setWordWrap(true);
    for (QWidget* w : std::initializer_list<QWidget*>{edCitySearch, ListCities, labCities, labCityChosen})
        cityLayout->addWidget(w);
    page->addWidget(city, 1);

    connect(edCitySearch, &QLineEdit::textChanged, this, &TPrefs::FillCityList);
    // Return in the search box takes the first city that matches.
    connect(edCitySearch, &QLineEdit::returnPressed, this, [this] {
        for (int i = 0; i < ListCities->count(); ++i) {
            if (ListCities->item(i)->flags() & Qt::ItemIsEnabled) {
                ChooseCityItem(ListCities->item(i));
                return;
            }
        }
    });
    connect(ListCities, &QListWidget::itemClicked, this, &TPrefs::ChooseCityItem);
    connect(ListCities, &QListWidget::itemActivated, this, &TPrefs::ChooseCityItem);
}

void TPrefs::BuildViewPage() {
    tabView = Page(Controller, "tabView", "View");
    QWidget* p = tabView;
    auto* grid = new QGridLayout(p);
    cbProjection = new QComboBox(p);
    cbProjection->setObjectName(QStringLiteral("cbProjection"));
    for (uint16_t i = 0; i < ProjectionCount; ++i)
        cbProjection->addItem(QString::fromLatin1(ProjectionDialogItem(static_cast<Projection>(i))));
    cbProjection->setToolTip(QStringLiteral("Shift P + (E, S or O)"));
    grid->addWidget(Label("", "Projection:", p), 0, 0);
    grid->addWidget(cbProjection, 0, 1, 1, 2);
    // The hints name the keyboard commands that do the same.
    edDirection = Edit("edDirection", p);
    edDirection->setToolTip(QStringLiteral("V + (N, S, E or W)"));
    grid->addWidget(Label("", "Direction:", p), 1, 0);
    grid->addWidget(edDirection, 1, 1);
    edElevation = Edit("edElevation", p);
    edElevation->setToolTip(QStringLiteral("V + (H, I, or Z)"));
    grid->addWidget(Label("", "Elevation:", p), 2, 0);
    grid->addWidget(edElevation, 2, 1);
    grid->addWidget(OptionBox(DisplayOptions::HighAccuracy, "cHighAccuracy", "High Accuracy", p), 3, 0, 1, 3);
    grid->addWidget(Label("", "(Use precession and proper motion for stars)", p), 4, 0, 1, 3);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(2, 1);
}

void TPrefs::BuildObjectsPage() {
    tabObjects = Page(Controller, "tabObjects", "Objects");
    QWidget* p = tabObjects;
    auto* grid = new QGridLayout(p);

    grid->addWidget(MagnitudeGroup("Deepsky Options", "edDLM", edDLM,
                                   {{DisplayOptions::ShowGalaxies, "cGalaxies", "Galaxies"},
                                    {DisplayOptions::ShowClusters, "cClusters", "Clusters"},
                                    {DisplayOptions::ShowOtherDSOs, "cOther", "Other"},
                                    {DisplayOptions::ShowMessierOnly, "cMessier", "Messier Only"}},
                                   p),
                    0, 0);
    grid->addWidget(MagnitudeGroup("Star Options", "edSLM", edSLM,
                                   {{DisplayOptions::ShowBayerId, "cBayer", "Bayer ID"},
                                    {DisplayOptions::ShowFlamsteedId, "cFlam", "Flamsteed"},
                                    {DisplayOptions::ShowHD, "cHD", "Henry Draper"}},
                                   p),
                    0, 1);

    // Columns of objects, a row to show them and a row for their names.
    QGroupBox* selection = Group("Object Selection", p);
    auto* selGrid = new QGridLayout(selection);
    struct Column {
        const char* head;
        std::size_t show, name;
        const char *showName, *nameName, *showHint, *nameHint;
    };
    const Column columns[] = {
        {"Stars", DisplayOptions::ShowStars, DisplayOptions::ShowStarNames, "cStarShow", "cStarName", "S O", "S N"},
        {"Planets", DisplayOptions::ShowPlanets, DisplayOptions::ShowPlanetNames, "cPlanetShow", "cPlanetName", "P O",
         nullptr},
        {"Sun", DisplayOptions::ShowSun, DisplayOptions::ShowSunName, "cSunShow", "cSunName", "Shift S O", nullptr},
        {"Moon", DisplayOptions::ShowMoon, DisplayOptions::ShowMoonName, "cMoonShow", "cMoonName", "M O", nullptr},
        {"Deepsky", DisplayOptions::ShowDSOs, DisplayOptions::ShowDSONames, "cDeepShow", "cDeepName", "D O", nullptr},
        {"Asteroids", DisplayOptions::ShowMinorPlanets, DisplayOptions::ShowMPNames, "cAsteroidShow", "cAsteroidName",
         "A O", nullptr},
    };
    selGrid->addWidget(Label("", "Show", selection), 1, 0);
    selGrid->addWidget(Label("", "Names", selection), 2, 0);
    for (int c = 0; c < 6; ++c) {
        const Column& column = columns[c];
        selGrid->addWidget(Label("", column.head, selection), 0, c + 1, Qt::AlignHCenter);
        QCheckBox* show = OptionBox(column.show, column.showName, "", selection);
        QCheckBox* name = OptionBox(column.name, column.nameName, "", selection);
        show->setToolTip(QString::fromLatin1(column.showHint));
        if (column.nameHint) name->setToolTip(QString::fromLatin1(column.nameHint));
        selGrid->addWidget(show, 1, c + 1, Qt::AlignHCenter);
        selGrid->addWidget(name, 2, c + 1, Qt::AlignHCenter);
    }
    grid->addWidget(selection, 1, 0, 1, 2);

    QGroupBox* asteroids = Group("Asteroid Options", p);
    auto* astGrid = new QHBoxLayout(asteroids);
    edMPCount = Edit("edMPCount", asteroids, 60);
    astGrid->addWidget(Label("", "Show Asteroid number 1 --", asteroids));
    astGrid->addWidget(edMPCount);
    astGrid->addWidget(OptionBox(DisplayOptions::ShowMPNumbers, "cMPNum", "Show Numbers", asteroids));
    astGrid->addStretch(1);
    grid->addWidget(asteroids, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
}

void TPrefs::BuildGridsPage() {
    tabGrids = Page(Controller, "tabGrids", "Grids");
    auto* layout = new QVBoxLayout(tabGrids);
    layout->addWidget(OptionGroup("Lines", {{DisplayOptions::ShowHorizon, "cHorizon", "Horizon"},
                                            {DisplayOptions::ShowEquator, "cEquator", "Equator"},
                                            {DisplayOptions::ShowConLines, "cConstel", "Constellations"}}));
    layout->addWidget(OptionGroup("Grids", {{DisplayOptions::ShowHorizontalGrid, "cHGrid", "Horizontal"},
                                            {DisplayOptions::ShowEquatorialGrid, "cEGrid", "Equatorial"}}));
    layout->addWidget(OptionGroup("Other", {{DisplayOptions::ShowUmbra, "cPenUmbra", "(Pen)Umbra"}}));
    layout->addStretch(1);
}

void TPrefs::BuildCataloguesPage() {
    tabCatalogues = Page(Controller, "tabCatalogues", "Catalogues");
    QWidget* p = tabCatalogues;
    auto* grid = new QGridLayout(p);
    ListCatalogues = new QListWidget(p);
    ListCatalogues->setObjectName(QStringLiteral("ListCatalogues"));
    ListLoad = new QListWidget(p);
    ListLoad->setObjectName(QStringLiteral("ListLoad"));
    grid->addWidget(Label("", "Available catalogue files:", p), 0, 0);
    grid->addWidget(ListCatalogues, 1, 0);
    grid->addWidget(Label("", "Catalogues to load on startup:", p), 0, 1);
    grid->addWidget(ListLoad, 1, 1);
    labFileName = Label("labFileName", "", p);
    labRealName = Label("labRealName", "", p);
    labStarCount = Label("labStarCount", "", p);
    grid->addWidget(labFileName, 2, 0, 1, 2);
    grid->addWidget(labRealName, 3, 0, 1, 2);
    auto* count = new QHBoxLayout;
    count->addWidget(Label("", "Stars:", p));
    count->addWidget(labStarCount, 1);
    grid->addLayout(count, 4, 0, 1, 2);

    for (QListWidget* list : {ListCatalogues, ListLoad}) {
        connect(list, &QListWidget::itemClicked, this, &TPrefs::ShowCatalogue);
        connect(list, &QListWidget::itemDoubleClicked, this,
                [this, load = list == ListCatalogues](QListWidgetItem* item) { MoveCatalogue(item, load); });
    }
}

// --- filling and reading back ---------------------------------------------------------

void TPrefs::Load(const PreferencesForm& form, const CatalogueMove* move) {
    move_ = move;
    warnedEntry_.clear();
    catalogues_ = form.catalogues;
    ListCatalogues->clear();
    ListLoad->clear();
    for (std::size_t i = 0; i < catalogues_.size(); ++i) {
        auto* item = new QListWidgetItem(Text(catalogues_[i].name));
        item->setData(Qt::UserRole, static_cast<qulonglong>(i));
        (catalogues_[i].load ? ListLoad : ListCatalogues)->addItem(item);
    }
    labFileName->clear();
    labRealName->clear();
    labStarCount->clear();

    for (std::size_t i = 0; i < DisplayOptions::Count; ++i) optionBoxes[i]->setChecked(form.options[i]);
    comboStepType->setCurrentIndex(form.stepType);
    edStepSize->setText(Text(form.stepSize));
    edDirection->setText(Text(form.direction));
    edElevation->setText(Text(form.elevation));
    edRealUpdate->setText(Text(form.realUpdate));
    edAnimUpdate->setText(Text(form.animUpdate));
    edSLM->setText(Text(form.starLimit));
    edDLM->setText(Text(form.dsoLimit));
    cbProjection->setCurrentIndex(form.projection);
    checkDST->setChecked(form.dst);
    checkSystem->setChecked(form.useSystemTime);
    checkRun->setChecked(form.run);
    SystemTimeClicked();
    edTime->setText(Text(form.time));
    edDate->setText(Text(form.date));
    LoadPlace(form);
    edMPCount->setText(Text(form.asteroidCount));
    labCityChosen->clear();
    // Clearing a search that is already empty refills nothing.
    if (edCitySearch->text().isEmpty()) FillCityList();
    edCitySearch->clear();
    UpdateButtons();
}

void TPrefs::LoadPlace(const PreferencesForm& form) {
    edLoD->setText(Text(form.longitudeDegrees));
    edLoM->setText(Text(form.longitudeMinutes));
    edLoS->setText(Text(form.longitudeSeconds));
    (form.west ? longWest : longEast)->setChecked(true);
    edLaD->setText(Text(form.latitudeDegrees));
    edLaM->setText(Text(form.latitudeMinutes));
    edLaS->setText(Text(form.latitudeSeconds));
    (form.south ? latSouth : latNorth)->setChecked(true);
    edTimeZone->setText(Text(form.timeZone));
    recentPlaces_ = form.recentPlaces;
}

PreferencesForm TPrefs::Store() const {
    PreferencesForm form;
    form.useSystemTime = checkSystem->isChecked();
    form.time = Digits(edTime->text());
    form.date = Digits(edDate->text());
    form.timeZone = edTimeZone->text().toStdString();
    form.dst = checkDST->isChecked();
    form.realUpdate = edRealUpdate->text().toStdString();
    form.run = checkRun->isChecked();
    form.stepType = comboStepType->currentIndex();
    form.stepSize = edStepSize->text().toStdString();
    form.animUpdate = edAnimUpdate->text().toStdString();
    form.longitudeDegrees = edLoD->text().toStdString();
    form.longitudeMinutes = edLoM->text().toStdString();
    form.longitudeSeconds = edLoS->text().toStdString();
    form.west = longWest->isChecked();
    form.latitudeDegrees = edLaD->text().toStdString();
    form.latitudeMinutes = edLaM->text().toStdString();
    form.latitudeSeconds = edLaS->text().toStdString();
    form.south = latSouth->isChecked();
    form.projection = cbProjection->currentIndex();
    form.direction = edDirection->text().toStdString();
    form.elevation = edElevation->text().toStdString();
    form.dsoLimit = edDLM->text().toStdString();
    form.starLimit = edSLM->text().toStdString();
    form.asteroidCount = edMPCount->text().toStdString();
    for (std::size_t i = 0; i < DisplayOptions::Count; ++i) form.options[i] = optionBoxes[i]->isChecked();
    form.catalogues = catalogues_;
    form.recentPlaces = recentPlaces_;
    return form;
}

PreferencesDialog::Result TPrefs::Execute(PreferencesForm& form, const CatalogueMove& moveCatalogue) {
    Load(form, &moveCatalogue);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    const int result = exec();
    form = Store();
    move_ = nullptr;
    switch (result) {
        case ResultApply: return Apply;
        case ResultSave: return Save;
        default: return Cancel;
    }
}

// --- handlers -----------------------------------------------------------------------------

void TPrefs::SystemTimeClicked() {
    const bool manual = !checkSystem->isChecked();
    for (QWidget* w :
         std::initializer_list<QWidget*>{checkRun, edTime, edDate, checkDST, edTimeZone, labTime, labDate, labTimeZone,
                                         labDateFormat, labTimeFormat, labFac2, edAnimUpdate, labUI2})
        w->setEnabled(manual);
    for (QWidget* w : std::initializer_list<QWidget*>{labFac1, edRealUpdate, labUI1}) w->setEnabled(!manual);
    RunClicked();
    UpdateButtons();
}

void TPrefs::RunClicked() {
    const bool stepping = checkRun->isChecked() && !checkSystem->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{edStepSize, comboStepType, labStep}) w->setEnabled(stepping);
}

void TPrefs::ClockEntryLeft() {
    DateTime clock;
    const std::string entry = Digits(edTime->text()) + "/" + Digits(edDate->text());
    const ClockProblem problem = CheckClockEntry(Digits(edTime->text()), Digits(edDate->text()), clock);
    // The focus comes back to the box when the message closes; leaving it
    // again unchanged (for Help, say) is not told the same thing twice.
    if (problem != ClockProblem::None && entry != warnedEntry_)
        Warn(problem == ClockProblem::Time ? TimeProblemMessage : DateProblemMessage);
    warnedEntry_ = problem == ClockProblem::None ? std::string() : entry;
    UpdateButtons();
}

void TPrefs::UpdateButtons() {
    DateTime clock;
    const bool usable = checkSystem->isChecked() ||
                        CheckClockEntry(Digits(edTime->text()), Digits(edDate->text()), clock) == ClockProblem::None;
    Button2->setEnabled(usable);
    butSave->setEnabled(usable);
}

void TPrefs::Finish(int result) {
    // Checked again here: a box can be changed and the dialog closed by the
    // keyboard without the box ever being left.
    const std::string problem = PreferencesProblem(Store());
    if (!problem.empty()) {
        Warn(problem.c_str());
        return;
    }
    done(result);
}

void TPrefs::ShowCatalogue(QListWidgetItem* item) {
    const std::size_t i = item->data(Qt::UserRole).toULongLong();
    if (i >= catalogues_.size()) return;
    labFileName->setText(Text(catalogues_[i].path));
    labRealName->setText(Text(catalogues_[i].name));
    labStarCount->setText(QString::number(catalogues_[i].stars));
}

void TPrefs::MoveCatalogue(QListWidgetItem* item, bool load) {
    const std::size_t i = item->data(Qt::UserRole).toULongLong();
    if (i >= catalogues_.size()) return;
    QListWidget* from = load ? ListCatalogues : ListLoad;
    QListWidget* to = load ? ListLoad : ListCatalogues;
    to->addItem(from->takeItem(from->row(item)));
    catalogues_[i].load = load;
    if (move_ && *move_) (*move_)(catalogues_[i].slot, load);
}

void TPrefs::ShowHelp() {
    // The dialog's own viewer: a help window owned by the open dialog stays
    // usable while the dialog is modal.
    if (!help_) help_ = std::make_unique<HelpViewer>(this, messages_);
    help_->Show(HelpViewer::PreferencesContext);
}

void TPrefs::Warn(const char* text) { messages_->Warning(text); }

// --- the city list ------------------------------------------------------------------------

void TPrefs::SetCityDatabase(const std::string& path) {
    cityDatabase_ = path;
    cities_.reset();
}

const CityList& TPrefs::Cities() {
    if (!cities_) {
        cities_ = std::make_unique<CityList>();
        const std::string path = cityDatabase_.empty() ? CityDatabasePath() : cityDatabase_;
        cities_->Load(path, CityRulesPath(path));
        QString about = cities_->Available()
                            ? QStringLiteral("%1 cities from %2.").arg(cities_->Cities().size()).arg(Text(path))
                            : QString();
        if (!cities_->Problem().empty()) about += (about.isEmpty() ? "" : " ") + Text(cities_->Problem());
        labCities->setText(about);
    }
    return *cities_;
}

void TPrefs::FillCityList() {
    const CityList& cities = Cities();
    ListCities->clear();
    const bool available = cities.Available();
    edCitySearch->setEnabled(available);
    // One line a city; only the message of a missing list wraps.
    ListCities->setWordWrap(!available);
    if (!available) {
        // The list says why it is empty; the place is typed in by hand.
        auto* item = new QListWidgetItem(
            QStringLiteral("No city list: the place is entered by hand above. The list comes with the "
                           "Debian package kstars-data."),
            ListCities);
        item->setFlags(Qt::NoItemFlags);
        return;
    }
    auto add = [&](std::size_t index, bool recent) {
        const City& city = cities.Cities()[index];
        auto* item = new QListWidgetItem(Text(city.Label()), ListCities);
        item->setData(Qt::UserRole, static_cast<qulonglong>(index));
        QString about = Text(city.PlaceText() + ", zone ") + SignedZone(city.zoneMinutes);
        if (recent) {
            QFont font = item->font();
            font.setItalic(true);
            item->setFont(font);
            about += QStringLiteral(" (chosen recently)");
        }
        item->setToolTip(about);
    };
    const QString search = edCitySearch->text();
    if (search.trimmed().isEmpty()) {
        for (const std::string& label : recentPlaces_) {
            const std::vector<std::size_t> named = cities.Named(label);
            // A recent place is named by its whole label, which finds it
            // and the cities of the same name in the same place.
            for (std::size_t i : named) {
                if (cities.Cities()[i].Label() == label) {
                    add(i, true);
                    break;
                }
            }
        }
    }
    for (std::size_t i : cities.Matching(search.toStdString())) add(i, false);
}

void TPrefs::ChooseCityItem(QListWidgetItem* item) {
    if (!item || !(item->flags() & Qt::ItemIsEnabled) || !cities_) return;
    const std::size_t index = item->data(Qt::UserRole).toULongLong();
    if (index >= cities_->Cities().size()) return;
    const City& city = cities_->Cities()[index];
    PreferencesForm form = Store();
    ChooseCity(form, *cities_, city, QDateTime::currentSecsSinceEpoch());
    LoadPlace(form);
    checkDST->setChecked(form.dst);

    QString chosen = QStringLiteral("%1: zone %2, %3.")
                         .arg(Text(city.Label()), SignedZone(city.zoneMinutes),
                              form.dst ? QStringLiteral("daylight saving time") : QStringLiteral("standard time"));
    // The system clock keeps the system's zone: the place's zone and
    // daylight time wait for a clock set by hand.
    const LocalClockReading now = ReadLocalClock();
    const int systemOffset = now.utcOffsetMinutes.value_or(now.standardOffsetMinutes);
    if (form.useSystemTime && systemOffset != city.zoneMinutes + (form.dst ? 60 : 0))
        chosen += QStringLiteral(" The clock keeps this computer's zone (%1) while \"Use system time\" is ticked.")
                      .arg(QStringLiteral("UTC") + SignedZone(systemOffset));
    labCityChosen->setText(chosen);
}

void TPrefs::keyPressEvent(QKeyEvent* event) {
    // F1 asks for this dialog's page; the main window's F1 is blocked while
    // the dialog is modal.
    if (event->key() == Qt::Key_F1) {
        ShowHelp();
        return;
    }
    QDialog::keyPressEvent(event);
}
