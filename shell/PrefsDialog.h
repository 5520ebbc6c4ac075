#pragma once

#include <QDialog>
#include <array>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "controller/PreferencesDialog.h"
#include "settings/DisplayOptions.h"

class CityList;
class HelpViewer;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QTabWidget;
class UserMessages;

// The preferences dialog: six pages that show and edit a PreferencesForm.
// It checks what it alone can check (the date and time typed, the place)
// and keeps its controls' enabled states; filling the form and taking it
// over is the controller's work. Created once and kept, so it reopens on the
// page last used.
class TPrefs : public QDialog, public PreferencesDialog {
    Q_OBJECT

public:
    // Modal results of the three buttons.
    enum ModalResult { ResultApply = 1, ResultCancel = 2, ResultSave = 6 };

    // messages: where the dialog's warnings go (null: message boxes over the
    // dialog itself).
    explicit TPrefs(QWidget* owner, UserMessages* messages = nullptr);
    ~TPrefs() override;

    Result Execute(PreferencesForm& form, const CatalogueMove& moveCatalogue) override;

    // Execute in parts, for whoever drives the dialog without its own loop:
    // fill every control from a form, and read them back.
    void Load(const PreferencesForm& form, const CatalogueMove* move = nullptr);
    PreferencesForm Store() const;
    HelpViewer* Help() const { return help_.get(); }
    // The city database to read at the next showing instead of the
    // system's (the rules file beside it).
    void SetCityDatabase(const std::string& path);

    QTabWidget* Controller;
    QWidget* tabTime;
    QWidget* tabLocation;
    QWidget* tabView;
    QWidget* tabObjects;
    QWidget* tabGrids;
    QWidget* tabCatalogues;
    QPushButton* Button2;  // Apply
    QPushButton* butSave;
    QPushButton* Button3;  // Cancel
    QPushButton* Button1;  // Help

    // "Time"
    QCheckBox* checkSystem;
    QLabel* labTime;
    QLineEdit* edTime;
    QLabel* labTimeFormat;
    QLabel* labDate;
    QLineEdit* edDate;
    QLabel* labDateFormat;
    QLabel* labTimeZone;
    QLineEdit* edTimeZone;
    QCheckBox* checkDST;
    QLabel* labUI1;
    QLineEdit* edRealUpdate;
    QLabel* labFac1;
    QCheckBox* checkRun;
    QLabel* labStep;
    QComboBox* comboStepType;
    QLineEdit* edStepSize;
    QLabel* labUI2;
    QLineEdit* edAnimUpdate;
    QLabel* labFac2;

    // "Location"
    QLineEdit* edLoD;
    QLineEdit* edLoM;
    QLineEdit* edLoS;
    QButtonGroup* longGroup;
    QRadioButton* longWest;
    QRadioButton* longEast;
    QLineEdit* edLaD;
    QLineEdit* edLaM;
    QLineEdit* edLaS;
    QButtonGroup* latGroup;
    QRadioButton* latNorth;
    QRadioButton* latSouth;
    // The city list: a search box, the cities that match it (the recent
    // places first while it is empty), how many there are or why there are
    // none, and what the city chosen set.
    QLineEdit* edCitySearch;
    QListWidget* ListCities;
    QLabel* labCities;
    QLabel* labCityChosen;

    // "View"
    QComboBox* cbProjection;
    QLineEdit* edDirection;
    QLineEdit* edElevation;

    // "Objects"
    QLineEdit* edDLM;
    QLineEdit* edSLM;
    QLineEdit* edMPCount;

    // "Catalogues"
    QListWidget* ListCatalogues;
    QListWidget* ListLoad;
    QLabel* labFileName;
    QLabel* labRealName;
    QLabel* labStarCount;

    // The 27 check boxes of the display options, by member: cStarShow,
    // cStarName, cBayer, ... cHighAccuracy.
    std::array<QCheckBox*, DisplayOptions::Count> optionBoxes{};

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildTimePage();
    void BuildLocationPage();
    void BuildViewPage();
    void BuildObjectsPage();
    void BuildGridsPage();
    void BuildCataloguesPage();
    QCheckBox* OptionBox(std::size_t member, const char* name, const char* caption, QWidget* parent);
    struct OptionItem {
        std::size_t member;
        const char* name;
        const char* caption;
    };
    // A group with a limiting magnitude above its check boxes, two a row.
    QGroupBox* MagnitudeGroup(const char* caption, const char* editName, QLineEdit*& edit,
                              std::initializer_list<OptionItem> boxes, QWidget* parent);
    // A group of check boxes one below the other, on the "Grids" page.
    QGroupBox* OptionGroup(const char* caption, std::initializer_list<OptionItem> boxes);

    void SystemTimeClicked();
    void RunClicked();
    // Leaving the date or the time: says what is wrong with them.
    void ClockEntryLeft();
    // Apply and Save wait for a date and time that exist, unless the clock
    // follows the system.
    void UpdateButtons();
    void Finish(int result);
    void ShowCatalogue(QListWidgetItem* item);
    void MoveCatalogue(QListWidgetItem* item, bool load);
    void ShowHelp();
    void Warn(const char* text);
    // The "Location" page's boxes, the zone and the recent places from a form.
    void LoadPlace(const PreferencesForm& form);
    // Read once, at the first showing.
    const CityList& Cities();
    void FillCityList();
    void ChooseCityItem(QListWidgetItem* item);

    std::unique_ptr<UserMessages> ownMessages_;
    UserMessages* messages_;
    std::unique_ptr<HelpViewer> help_;
    std::vector<PreferencesForm::Catalogue> catalogues_;
    const CatalogueMove* move_ = nullptr;
    std::unique_ptr<CityList> cities_;
    std::string cityDatabase_;
    std::vector<std::string> recentPlaces_;
    // The date and time last warned about on leaving their boxes.
    std::string warnedEntry_;
};
