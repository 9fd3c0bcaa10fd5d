#pragma once
// tdOrganizer ("Channels organizer"): the station archive as a tree of
// folders and stations the user adds, renames, moves by dragging and
// deletes; the selected station plays and is retuned with the small tuner;
// a station dragged onto a favorites button becomes that favorite at once.
// OK writes the archive; Cancel leaves the file as it was. The work is the
// session's (TOrganizerSession); this window binds it to the widgets.

#include "organizer/organizer_session.h"
#include "widgets/dialog_buttons.h"

#include <QDialog>
#include <QTreeView>

#include <memory>

class QAction;
class QMenu;
class QPushButton;

namespace tunevox::radioset {
class TRadioSet;
}
namespace tunevox::widgets {
class IInteraction;
}
namespace tunevox::favoritesgrid {
class TFavoritesGrid;
struct tDraggedStation;
}
namespace tunevox::stationtuner {
class TStationTuner;
}

namespace tunevox::organizer {

class TArchiveModel;

// The tree: drags its selected node, takes drops only from itself (the
// window decides what a drop does), and turns the keys a tree user expects
// into the window's commands.
class TArchiveTree : public QTreeView {
    Q_OBJECT
public:
    explicit TArchiveTree(QWidget* parent = nullptr);
    bool Editing() const { return state() == EditingState; }

signals:
    void nodeDropped(const QModelIndex& target);
    void deletePressed();
    void enterPressed();

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

class tdOrganizer : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kHelpTopic = "The_organizer";

    tdOrganizer(radioset::TRadioSet& set, widgets::IInteraction& ui, widgets::tHelpFn help = {},
                QWidget* parent = nullptr);
    ~tdOrganizer() override;

    TOrganizerSession& Session() { return *session_; }
    // What went wrong reading the archive, for the user: empty when it read
    // (or was missing). Shown once when the window first shows.
    QString LoadProblem() const;
    TArchiveModel& Model() { return *model_; }
    // The tree's node at `index`, and the index of a node.
    archive::tArchiveNode* NodeAt(const QModelIndex& index) const;
    QModelIndex IndexOf(const archive::tArchiveNode* node) const;
    void Select(const archive::tArchiveNode* node);

    // Handlers, named as the controls bind them.
    void RadioTreeClick(); // the selection's rules, on click and keys
    void AddFolderClick();
    void AddStationClick();
    void iDeleteClick();
    void iRenameClick();
    // A drop of the selected node onto `target` inside the tree.
    void RadioTreeDragDrop(const QModelIndex& target);
    void btFMClick();
    void btAMClick();
    void FrequencyChange(double mhz, bool sliding);
    void FrequencyEndSliding();
    void btTunePrevClick();
    void btTuneNextClick();
    void btScanPrevClick();
    void btScanNextClick();
    void btStopScanClick();
    void StepSliderChange(int multiple);
    void btSpinStepBottomClick();
    void btSpinStepTopClick();
    bool btRadioDragOver(const favoritesgrid::tDraggedStation& station, int n) const;
    void btRadioDragDrop(int n);
    void iClearClick(int n);
    void iClearAllClick();
    void btSaveExitClick(); // OK

    TArchiveTree* RadioTree = nullptr;
    QMenu* OrgMenu = nullptr;
    QAction* iRename = nullptr;
    QAction* iDelete = nullptr;
    QMenu* iAdd = nullptr;
    QAction* AddFolder = nullptr;
    QAction* AddStation = nullptr;
    favoritesgrid::TFavoritesGrid* Presets = nullptr;
    stationtuner::TStationTuner* StationData = nullptr;
    QPushButton* btHelp = nullptr;
    QPushButton* btCancel = nullptr;
    QPushButton* btOk = nullptr;

public slots:
    // Cancel, Escape and the close button: a seek stops first.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Warn(const QString& text);
    void ShowTuning(const tTuning& t);
    void ShowStep();
    void ShowBank();
    void ShowMenuState();
    void SeekEnded(const tTuning& t);
    void Finish(int result);

    radioset::TRadioSet& set_;
    widgets::IInteraction& ui_;
    std::unique_ptr<TOrganizerSession> session_;
    std::unique_ptr<TArchiveModel> model_;
    archive::TArchive::tLoadResult loadResult_;
    bool loadWarned_ = false;
    bool hasHelp_ = false;
    int closeAfterSeek_ = -1; // the result to close with once a seek has stopped
};

} // namespace tunevox::organizer
