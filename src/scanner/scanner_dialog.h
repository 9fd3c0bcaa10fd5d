#pragma once
// tdScanner ("Scanner"): sweeps the FM band and shows what it finds as a
// spectrum and a list; from the list the user listens to a station,
// fine-tunes it, and drags it onto any of the 100 favorites buttons. The
// dialog edits a copy of the bank (TScanSession); the main window takes it
// back on OK through the radio set. It refuses to close while it sweeps.

#include "platform/sleeper.h"
#include "radioset/configuration.h"
#include "scanner/scan_session.h"
#include "widgets/dialog_buttons.h"

#include <QDialog>
#include <QTreeWidget>

#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;

namespace tunevox::radioset {
class TRadioSet;
}
namespace tunevox::widgets {
class IInteraction;
class TGlyphButton;
class TSpinButton;
}
namespace tunevox::favoritesgrid {
class TFavoritesGrid;
struct tDraggedStation;
}

namespace tunevox::scanner {

class TSpectrum;

// The found stations: drags the selected row as a station, and accepts a
// drag that comes from itself (dropping there does nothing), so that the
// cursor over the list does not say "no".
class TFoundList : public QTreeWidget {
    Q_OBJECT
public:
    explicit TFoundList(QWidget* parent = nullptr);
    // What a drag of the selected row carries; set by the dialog.
    std::function<QMimeData*()> makeDragData;
    // After every key press and release, once the list has moved its
    // selection: the user walks the list by ear.
    std::function<void()> onKey;

protected:
    // A station is only ever copied out of the list, never moved.
    void startDrag(Qt::DropActions supportedActions) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

class tdScanner : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kHelpTopic = "The_scanner";

    tdScanner(radioset::TRadioSet& set, widgets::IInteraction& ui, widgets::tHelpFn help = {},
              QWidget* parent = nullptr);
    ~tdScanner() override;

    // What OK hands back.
    const TScanSession& Session() const { return *session_; }
    // The clock the list's repaints are paced by during a sweep: the
    // system's by default, the card's own time where a benchmark skips the
    // card's waits. It must outlive the dialog.
    void UseClock(const platform::ITimeSource& clock);

    // Handlers, named as the controls bind them.
    void btScanClick();
    void btStopClick();
    void FoundClick();
    void FoundKey(); // FoundKeyDown and FoundKeyUp
    void btTunePrevClick();
    void btTuneNextClick();
    void StepSliderChange(int value);
    void btSpinStepBottomClick();
    void btSpinStepTopClick();
    // A drag of row onto favorite n, as the buttons' drop handlers see it.
    bool btRadioDragOver(int row, int n) const;
    bool btRadioDragDrop(int row, int n);
    void iClearClick(int n);
    void iClearAllClick();
    void SpectrumMouseDown(const QString& frequencyText);
    int SelectedRow() const;

    QPushButton* btScan = nullptr;
    QPushButton* btStop = nullptr;
    QSlider* SStrenght = nullptr;
    QLabel* LWeak = nullptr;
    QLabel* LStrong = nullptr;
    QCheckBox* All = nullptr;
    TFoundList* Found = nullptr;
    widgets::TGlyphButton* btTunePrev = nullptr;
    widgets::TGlyphButton* btTuneNext = nullptr;
    QLabel* Step = nullptr;
    QSlider* StepSlider = nullptr;
    widgets::TSpinButton* btSpinStep = nullptr;
    favoritesgrid::TFavoritesGrid* Presets = nullptr;
    TSpectrum* Spectrum = nullptr;
    QPushButton* btHelp = nullptr;
    QPushButton* btCancel = nullptr;
    QPushButton* btOk = nullptr;

    // Escape, Cancel and the window's close button do nothing while it sweeps.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* BuildScanGroup();
    QWidget* BuildTuningGroup();
    void ShowBank();
    void ShowStep();
    void UpdateFineButtons();
    void ShowRowText(int row);
    void ShowRowsWhenDue();
    void ShowRows();
    void ScanEnded();
    void SetScanning(bool on);
    int RowOfStation(const favoritesgrid::tDraggedStation& station) const;

    radioset::TRadioSet& set_;
    widgets::IInteraction& ui_;
    std::unique_ptr<TScanSession> session_;
    radioset::tConfiguration config_;
    bool hasHelp_ = false;
    static constexpr uint64_t kListRepaintMs = 100;
    platform::SystemSleeper systemClock_;
    const platform::ITimeSource* clock_ = nullptr;
    std::optional<uint64_t> listShownAt_; // when rows were last added to the list
    size_t shownRows_ = 0;                // of the session's rows, those in the list
};

} // namespace tunevox::scanner
