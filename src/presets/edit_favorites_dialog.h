#pragma once
// tdEditFavorites ("Edit presets"): the 100 favorite slots as a list; the
// selected slot's name, band and frequency are edited, slots inserted,
// deleted, moved and cleared, a slot heard for five seconds, and presets
// files opened and saved. It works on a copy of the bank (TPresetsEditor,
// which holds the rules); "Ok" only records the result and closes, and the
// main window hands it to the radio set:
//
//   presets::tdEditFavorites dialog(set, ui, help, this);
//   ui.RunModal(dialog);
//   if (dialog.OkPressed()) -> dialog.Bank(), dialog.Current(), dialog.FileName()
//
// Closing any other way after a change asks first; the card is always back
// where it was when the window closes.

#include "presets/presets_editor.h"
#include "widgets/dialog_buttons.h"

#include <QDialog>

#include <memory>
#include <string>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;

namespace tunevox::radioset {
class TRadioSet;
}
namespace tunevox::widgets {
class IInteraction;
class TGlyphButton;
}
namespace tunevox::stationtuner {
class TStationTuner;
}

namespace tunevox::presets {

class TPresetsList;
class TPresetsModel;

class tdEditFavorites : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kHelpTopic = "Edit_presets";
    // The file dialogs' choices and the extension a typed name gets.
    static constexpr const char* kFileFilter = "Tunevox presets (*.tvp);;Plain text (*.txt);;All files (*)";
    static constexpr const char* kFileSuffix = "tvp";

    tdEditFavorites(radioset::TRadioSet& set, widgets::IInteraction& ui, widgets::tHelpFn help = {},
                    QWidget* parent = nullptr);
    ~tdEditFavorites() override;

    // --- what "Ok" leaves for the main window ---
    bool OkPressed() const { return okPressed_; }
    const radioset::tFavorites& Bank() const { return editor_->Bank(); }
    int Current() const { return editor_->Current(); }
    // Empty: the favorites are kept in the configuration.
    const std::string& FileName() const { return editor_->FileName(); }

    TPresetsEditor& Editor() { return *editor_; }
    TPresetsModel& Model() { return *model_; }
    // Selects slot n's row as a click on it would.
    void SelectSlot(int n);

    // Handlers, named as the controls bind them.
    void PresetsClick();
    void StationNameChange(const QString& text);
    void FrequencyChange(double mhz);
    void btFMClick();
    void btAMClick();
    void btTunePrevClick();
    void btTuneNextClick();
    void StepSliderChange(int multiple);
    void btSpinStepBottomClick();
    void btSpinStepTopClick();
    void btUndoClick();
    void btInsertClick();
    void btDeleteClick();
    void btMoveUpClick();
    void btMoveDownClick();
    void btClearClick();
    void btNewClick();
    void btLoadClick();
    void btSaveClick();
    void iSaveAsClick();
    void btReloadClick();
    void btListenClick(bool pressed);
    void PreviewTimer();
    void btOkClick();

    TPresetsList* Presets = nullptr;
    QLabel* LStationName = nullptr;
    QLineEdit* StationName = nullptr;
    stationtuner::TStationTuner* StationData = nullptr;
    QLabel* StoredEntries = nullptr;
    QLabel* ErrMsg = nullptr;
    QGroupBox* Controls = nullptr;
    QPushButton* btUndo = nullptr;
    QPushButton* btInsert = nullptr;
    QPushButton* btDelete = nullptr;
    QPushButton* btListen = nullptr;
    widgets::TGlyphButton* btMoveUp = nullptr;
    widgets::TGlyphButton* btMoveDown = nullptr;
    QPushButton* btClear = nullptr;
    QPushButton* btNew = nullptr;
    QPushButton* btLoad = nullptr;
    QPushButton* btSave = nullptr;
    QPushButton* btReload = nullptr;
    QMenuBar* MainMenu = nullptr;
    QAction* iNew = nullptr;
    QAction* iLoad = nullptr;
    QAction* iSave = nullptr;
    QAction* iSaveAs = nullptr;
    QPushButton* btHelp = nullptr;
    QPushButton* btCancel = nullptr;
    QPushButton* btOk = nullptr;

public slots:
    // Cancel, Escape and the close button: after a change the user is asked
    // first, and may stay.
    void reject() override;
    // However the window closes, a preview ends first.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildControls();
    void BuildMenu();
    // Everything shown again from the editor: list, name, tuner, counts,
    // the duplicate warning, enabling and caption.
    void ShowAll();
    void ShowTuner();
    void ShowStep();
    void ShowListen(bool pressed, bool station);
    void SyncSelection();
    void Warn(const QString& text);
    bool Ask(const QString& caption, const QString& text, bool stopIcon);
    void WriteTo(const QString& path);

    widgets::IInteraction& ui_;
    std::unique_ptr<TPresetsEditor> editor_;
    std::unique_ptr<TPresetsModel> model_;
    bool okPressed_ = false;
};

} // namespace tunevox::presets
