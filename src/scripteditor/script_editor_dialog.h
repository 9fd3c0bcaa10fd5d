#pragma once
// tdProgr: the script editor. A palette of action kinds and the script as
// a list in order of time; actions come by dragging a kind onto the list
// or with "Add", leave by dragging them back or with "Delete", move by
// dragging within the list, and are edited in the property panel. Script
// files are loaded and saved here. It works on a copy of the internal
// script (TScriptEditor, which holds the rules); OK only records the
// result and closes, and the main window hands it to the radio set:
//
//   scripteditor::tdProgr dialog(set, ui, help, this);
//   ui.RunModal(dialog);
//   set.SetScriptFile(dialog.FileName());        // whichever way it closed
//   if (dialog.OkPressed()) set.TakeScript(dialog.Result());
//
// Closing any other way after a change asks first; the card is always back
// where it was, and muted as the radio is, when the window closes.

#include "scripteditor/script_editor.h"
#include "scripteditor/script_lists.h"
#include "widgets/dialog_buttons.h"

#include <QDialog>
#include <QLocale>

#include <memory>
#include <string>

class QAction;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QSlider;
class QSpinBox;
class QStackedWidget;

namespace tunevox::radioset {
class TRadioSet;
}
namespace tunevox::widgets {
class IInteraction;
}

namespace tunevox::scripteditor {

// An action's time as the list shows it: the locale's short time form
// (24- or 12-hour as the desktop writes times), without seconds, and with
// a "0" in front where fewer than five characters remain: "07:30",
// "7:30 AM".
QString ScriptTimeText(const QLocale& locale, script::tMinute minute);

class tdProgr : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kHelpTopic = "Scripting";
    static constexpr const char* kFileFilter = "Tunevox scripts (*.tvs);;Plain text (*.txt);;All files (*)";
    static constexpr const char* kFileSuffix = "tvs";

    tdProgr(radioset::TRadioSet& set, widgets::IInteraction& ui, widgets::tHelpFn help = {},
            QWidget* parent = nullptr, const QLocale& locale = QLocale());
    ~tdProgr() override;

    // --- what closing leaves for the main window ---
    bool OkPressed() const { return okPressed_; }
    script::tScript Result() const { return editor_->Result(); }
    const std::string& FileName() const { return editor_->FileName(); }

    TScriptEditor& Editor() { return *editor_; }
    // Selects line i as a click on it would.
    void SelectLine(int i);
    // The drop rules and drops, as the lists ask for them.
    bool ProgDragOver(const tDraggedAction& what, int line) const;
    void ProgDragDrop(const tDraggedAction& what, int line);
    bool ActionsDragOver(const tDraggedAction& what) const;
    void ActionsDragDrop(const tDraggedAction& what);

    // Handlers, named as the controls bind them.
    void ScriptClick();
    void RightClick(); // Add
    void LeftClick();  // Delete
    void SaveClick();
    void ReloadClick();
    void TimeHHChange(int hour);
    void TimeMMChange(int minute);
    void VolumeChange(int level);
    void btFMClick();
    void btAMClick();
    void btPrFreqClick(bool pressed);
    void PreviewFreq();
    void btPrBeepClick(bool pressed);
    void PresetsClick(int entry);
    void btNewClick();
    void btLoadClick();
    void btSaveClick();
    void iSaveAsClick();
    void btOkClick();

    QLabel* LActions = nullptr;
    TActionPalette* Actions = nullptr;
    QLabel* LScript = nullptr;
    TScriptList* Script = nullptr;
    QLineEdit* Title = nullptr;
    QPushButton* btAdd = nullptr;
    QPushButton* btDelete = nullptr;
    QMenu* ScriptMenu = nullptr;
    QAction* pmAdd = nullptr;
    QAction* pmDelete = nullptr;

    QGroupBox* Property = nullptr;
    QWidget* Common = nullptr;
    QSpinBox* TimeHH = nullptr;
    QSpinBox* TimeMM = nullptr;
    QLabel* Range = nullptr;
    QPushButton* btSave = nullptr;
    QPushButton* btReload = nullptr;
    QStackedWidget* Panels = nullptr;
    QWidget* BeepPanel = nullptr;
    QSpinBox* Times = nullptr;
    QSpinBox* Frequency = nullptr;
    QSpinBox* Duration = nullptr;
    QPushButton* btPrBeep = nullptr;
    QWidget* VolumePanel = nullptr;
    QSlider* Volume = nullptr;
    QLabel* Perc = nullptr;
    QWidget* JumpPanel = nullptr;
    QDoubleSpinBox* Freq = nullptr;
    QPushButton* btFM = nullptr;
    QPushButton* btAM = nullptr;
    QCheckBox* JumpStereo = nullptr;
    QPushButton* btPrFreq = nullptr;
    QLabel* Tuned = nullptr;
    QWidget* PresetPanel = nullptr;
    QComboBox* Presets = nullptr;
    QCheckBox* PresetStereo = nullptr;

    QPushButton* btNew = nullptr;
    QPushButton* btLoad = nullptr;
    QPushButton* btSaveFile = nullptr;
    QMenuBar* MainMenu = nullptr;
    QAction* iNew = nullptr;
    QAction* iLoad = nullptr;
    QAction* iSave = nullptr;
    QAction* iSaveAs = nullptr;
    QPushButton* btHelp = nullptr;
    QPushButton* btCancel = nullptr;
    QPushButton* btOk = nullptr;

public slots:
    // Cancel, Escape and the close box: after a change the user is asked
    // first, and may stay.
    void reject() override;
    // However the window closes, the card goes back and a preview ends.
    void done(int result) override;

private:
    QWidget* BuildLists();
    QWidget* BuildProperty();
    QWidget* BuildBeepPanel();
    QWidget* BuildVolumePanel();
    QWidget* BuildJumpPanel();
    QWidget* BuildPresetPanel();
    void BuildMenu();

    // The list, the selection, the panels, enabling and caption, all from
    // the editor.
    void ShowAll();
    void ShowList();
    void ShowPanel();
    void ShowPanelValues(const tPanelValues& values);
    void ShowBandField(radio::tBand band, const tBandField& field);
    void ShowMinuteLimits();
    void ShowPreviewButtons();
    void ShowPresetStereo(int favorite, bool flag);
    tPanelValues FieldValues() const;

    void Refuse();
    void Warn(const QString& text);
    bool Ask(const QString& text);
    void WriteTo(const QString& path);

    widgets::IInteraction& ui_;
    QLocale locale_;
    std::unique_ptr<TScriptEditor> editor_;
    bool okPressed_ = false;
    bool closing_ = false;
};

} // namespace tunevox::scripteditor
