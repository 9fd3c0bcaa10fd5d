#include "scanner/scanner_dialog.h"

#include "favoritesgrid/favorites_grid.h"
#include "radio/frequency.h"
#include "radio/radio_card.h"
#include "radioset/radio_set.h"
#include "radioset/tuning_rules.h"
#include "scanner/band_chart.h"
#include "widgets/glyph_button.h"
#include "widgets/interaction.h"
#include "widgets/spin_button.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace tunevox::scanner {

using favoritesgrid::tDraggedStation;

namespace {

// The spectrum a little larger than its design grid, in its proportions.
constexpr QSize kSpectrumSize{630, 110};

// "098.700" with the user's decimal separator, as the list shows it.
QString Shown(const std::string& freqText) {
    QString t = QString::fromStdString(freqText);
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 ? t.replace('.', point.at(0)) : t;
}

} // namespace

// --- the found list ---

TFoundList::TFoundList(QWidget* parent) : QTreeWidget(parent) {
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
}

QMimeData* TFoundList::mimeData(const QList<QTreeWidgetItem*>&) const {
    return makeDragData ? makeDragData() : nullptr;
}

void TFoundList::dragEnterEvent(QDragEnterEvent* event) {
    if (event->source() == this) event->acceptProposedAction();
    else event->ignore();
}

void TFoundList::dragMoveEvent(QDragMoveEvent* event) {
    if (event->source() == this) event->acceptProposedAction();
    else event->ignore();
}

void TFoundList::dropEvent(QDropEvent* event) { event->ignore(); }

void TFoundList::startDrag(Qt::DropActions) { QTreeWidget::startDrag(Qt::CopyAction); }

void TFoundList::keyPressEvent(QKeyEvent* event) {
    QTreeWidget::keyPressEvent(event);
    if (onKey) onKey();
}

void TFoundList::keyReleaseEvent(QKeyEvent* event) {
    QTreeWidget::keyReleaseEvent(event);
    if (onKey) onKey();
}

// --- the dialog ---

tdScanner::tdScanner(radioset::TRadioSet& set, widgets::IInteraction& ui, widgets::tHelpFn help, QWidget* parent)
    : QDialog(parent), set_(set), ui_(ui), session_(std::make_unique<TScanSession>(set)), config_(set.Config()) {
    setObjectName("tdScanner");
    setWindowTitle("Scanner");

    Spectrum = new TSpectrum(this);
    Spectrum->setFixedSize(kSpectrumSize);
    const radio::tDevCap& caps = set.Card().Caps();
    Spectrum->SetBand({session_->Low(), session_->High(), session_->CardStep(), caps.StereoDetect});
    connect(Spectrum, &TSpectrum::frequencyPressed, this, &tdScanner::SpectrumMouseDown);

    auto* presetsGroup = new QGroupBox("Presets", this);
    presetsGroup->setObjectName("gbPresets");
    Presets = new favoritesgrid::TFavoritesGrid(presetsGroup);
    auto* presetsLayout = new QVBoxLayout(presetsGroup);
    presetsLayout->addWidget(Presets);
    Presets->acceptsDrop = [this](const tDraggedStation& s, int n) { return btRadioDragOver(RowOfStation(s), n); };
    Presets->onDrop = [this](const tDraggedStation& s, int n) { btRadioDragDrop(RowOfStation(s), n); };
    Presets->onClear = [this](int n) { iClearClick(n); };
    Presets->onClearAll = [this] { iClearAllClick(); };

    Found = new TFoundList(this);
    Found->setObjectName("Found");
    Found->setAccessibleName("Stations found");
    Found->setColumnCount(3);
    Found->setHeaderLabels({"Freq", "S", "Description"});
    Found->setRootIsDecorated(false);
    Found->setUniformRowHeights(true);
    Found->setSelectionMode(QAbstractItemView::SingleSelection);
    Found->header()->setStretchLastSection(true);
    Found->setColumnWidth(0, Found->fontMetrics().horizontalAdvance("0000.0000") + 12);
    Found->setColumnWidth(1, Found->fontMetrics().horizontalAdvance("SS") + 12);
    Found->onKey = [this] { FoundKey(); };
    Found->makeDragData = [this]() -> QMimeData* {
        const int row = SelectedRow();
        if (row < 0) return nullptr;
        return favoritesgrid::MakeStationMime(
            {session_->RowFrequency(row), session_->Band(), session_->Rows()[row].description});
    };
    connect(Found, &QTreeWidget::itemClicked, this, [this] { FoundClick(); });

    auto* left = new QVBoxLayout;
    left->addWidget(BuildScanGroup());
    left->addWidget(Found, 1);
    left->addWidget(BuildTuningGroup());
    auto* middle = new QHBoxLayout;
    middle->addLayout(left, 1);
    middle->addWidget(presetsGroup, 0, Qt::AlignTop);
    auto* content = new QVBoxLayout;
    content->addWidget(Spectrum, 0, Qt::AlignHCenter);
    content->addLayout(middle);

    hasHelp_ = bool(help);
    const widgets::tDialogButtons b =
        widgets::LayOutDialog(this, content, widgets::tButtonRow().WithHelp(kHelpTopic, std::move(help)));
    btOk = b.ok;
    btCancel = b.cancel;
    btHelp = b.help;

    session_->onPoint = [this](const tScanPoint& point, int) {
        // Without stereo information a received point is drawn in the
        // legend's "Tuned" colour.
        Spectrum->AddPoint(point.frequency, point.Received(), point.stereo || !Spectrum->Band().stereoDetect);
        Spectrum->ShowSweep(session_->NextFrequency(), session_->Done());
        ShowRowsWhenDue();
    };
    session_->onEnd = [this](bool) { ScanEnded(); };

    ShowBank();
    ShowStep();
    UpdateFineButtons();
    clock_ = &systemClock_;
}

tdScanner::~tdScanner() = default;

void tdScanner::UseClock(const platform::ITimeSource& clock) { clock_ = &clock; }

QWidget* tdScanner::BuildScanGroup() {
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    btScan = new QPushButton("SCAN", box);
    btScan->setObjectName("btScan");
    btScan->setAutoDefault(false);
    connect(btScan, &QPushButton::clicked, this, &tdScanner::btScanClick);
    btStop = new QPushButton("STOP", box);
    btStop->setObjectName("btStop");
    btStop->setAutoDefault(false);
    btStop->setEnabled(false);
    connect(btStop, &QPushButton::clicked, this, &tdScanner::btStopClick);
    row->addWidget(btScan);
    row->addWidget(btStop);

    auto* strength = new QGroupBox("Check for this signal strenght", box);
    strength->setObjectName("gbStrenght");
    auto* s = new QHBoxLayout(strength);
    LWeak = new QLabel("Weak", strength);
    LWeak->setObjectName("LWeak");
    SStrenght = new QSlider(Qt::Horizontal, strength);
    SStrenght->setObjectName("SStrenght");
    SStrenght->setRange(0, 3);
    SStrenght->setPageStep(1);
    SStrenght->setTickPosition(QSlider::TicksBelow);
    SStrenght->setFixedWidth(80);
    LStrong = new QLabel("Strong", strength);
    LStrong->setObjectName("LStrong");
    All = new QCheckBox("All", strength);
    All->setObjectName("All");
    s->addWidget(LWeak);
    s->addWidget(SStrenght);
    s->addWidget(LStrong);
    s->addSpacing(8);
    s->addWidget(All);
    row->addWidget(strength, 1);

    // Only a card that measures the signal's strength has a threshold to
    // set; the others show the strongest, greyed.
    const bool strengthKnown = set_.Card().Caps().SignalStrength;
    SStrenght->setEnabled(strengthKnown);
    All->setEnabled(strengthKnown);
    SStrenght->setValue(strengthKnown ? std::clamp(config_.CheckIfTunedST, 0, 3) : 3);
    for (QLabel* l : {LWeak, LStrong}) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, strengthKnown ? QColor(Qt::black) : QColor(128, 128, 128));
        l->setPalette(p);
    }
    return box;
}

QWidget* tdScanner::BuildTuningGroup() {
    auto* group = new QGroupBox("Adjust tuning", this);
    group->setObjectName("gbTuning");
    auto* row = new QHBoxLayout(group);
    btTunePrev = new widgets::TGlyphButton(QString::fromUtf8("\u25C2"), group);
    btTunePrev->setObjectName("btTunePrev");
    btTunePrev->setToolTip("Tune previous");
    btTunePrev->setAccessibleName("Fine tune down");
    btTunePrev->setFixedSize(24, 22);
    connect(btTunePrev, &QAbstractButton::clicked, this, &tdScanner::btTunePrevClick);
    auto* fine = new QLabel("Fine", group);
    btTuneNext = new widgets::TGlyphButton(QString::fromUtf8("\u25B8"), group);
    btTuneNext->setObjectName("btTuneNext");
    btTuneNext->setToolTip("Tune next");
    btTuneNext->setAccessibleName("Fine tune up");
    btTuneNext->setFixedSize(24, 22);
    connect(btTuneNext, &QAbstractButton::clicked, this, &tdScanner::btTuneNextClick);
    Step = new QLabel(group);
    Step->setObjectName("Step");
    Step->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Step->setMinimumWidth(Step->fontMetrics().horizontalAdvance("0000"));
    auto* unit = new QLabel("kHz", group);
    unit->setObjectName("LStep");
    StepSlider = new QSlider(Qt::Horizontal, group);
    StepSlider->setObjectName("StepSlider");
    StepSlider->setToolTip("Adjust step");
    StepSlider->setAccessibleName("Fine step");
    StepSlider->setRange(1, session_->MaxStepMultiple());
    StepSlider->setFixedWidth(90);
    connect(StepSlider, &QSlider::valueChanged, this, &tdScanner::StepSliderChange);
    btSpinStep = new widgets::TSpinButton(group);
    btSpinStep->setObjectName("btSpinStep");
    btSpinStep->setToolTip("Adjust step");
    btSpinStep->SetHalfNames("Larger step", "Smaller step");
    btSpinStep->setFixedSize(15, 22);
    connect(btSpinStep, &widgets::TSpinButton::topClicked, this, &tdScanner::btSpinStepTopClick);
    connect(btSpinStep, &widgets::TSpinButton::bottomClicked, this, &tdScanner::btSpinStepBottomClick);
    row->addWidget(btTunePrev);
    row->addWidget(fine);
    row->addWidget(btTuneNext);
    row->addStretch(1);
    row->addWidget(Step);
    row->addWidget(unit);
    row->addWidget(StepSlider);
    row->addWidget(btSpinStep);
    return group;
}

// --- showing ---

void tdScanner::ShowBank() {
    favoritesgrid::ShowBankOf(*Presets, session_->Bank(), session_->Current(), config_);
}

void tdScanner::ShowStep() {
    const QSignalBlocker quiet(StepSlider);
    StepSlider->setValue(session_->StepMultiple());
    Step->setText(QString::number(radioset::StepKHz(session_->FineStep())));
    // The slider's value is a multiple of the card's step; the label says
    // what it means.
    StepSlider->setAccessibleDescription(Step->text() + " kHz");
    btSpinStep->SetUpEnabled(session_->StepMultiple() < session_->MaxStepMultiple());
    btSpinStep->SetDownEnabled(session_->StepMultiple() > 1);
}

int tdScanner::SelectedRow() const {
    QTreeWidgetItem* item = Found->currentItem();
    return item ? Found->indexOfTopLevelItem(item) : -1;
}

void tdScanner::UpdateFineButtons() {
    const int row = SelectedRow();
    btTunePrev->setEnabled(session_->CanTuneDown(row));
    btTuneNext->setEnabled(session_->CanTuneUp(row));
}

void tdScanner::ShowRowText(int row) {
    if (QTreeWidgetItem* item = Found->topLevelItem(row)) item->setText(0, Shown(session_->Rows()[row].freqText));
}

// On a fast card the rows found are added to the list at most every
// kListRepaintMs, several at once: a repaint of the list costs as much as
// several steps of such a card, and the eye follows no faster. On a slow
// card each row shows as soon as it is found.
void tdScanner::ShowRowsWhenDue() {
    if (shownRows_ < session_->Rows().size() && (!listShownAt_ || clock_->NowMs() - *listShownAt_ >= kListRepaintMs))
        ShowRows();
}

void tdScanner::ShowRows() {
    const std::vector<tFoundRow>& rows = session_->Rows();
    if (shownRows_ >= rows.size()) return;
    QList<QTreeWidgetItem*> items;
    for (; shownRows_ < rows.size(); ++shownRows_) {
        const tFoundRow& r = rows[shownRows_];
        items << new QTreeWidgetItem(QStringList{Shown(r.freqText), QString::fromStdString(r.status),
                                                 QString::fromStdString(r.description)});
        items.back()->setTextAlignment(1, Qt::AlignCenter);
    }
    Found->addTopLevelItems(items);
    listShownAt_ = clock_->NowMs();
}

// --- the sweep ---

void tdScanner::SetScanning(bool on) {
    for (QPushButton* b : {btScan, btCancel, btOk}) b->setEnabled(!on);
    // A Help button without a help system stays disabled.
    btHelp->setEnabled(!on && hasHelp_);
    btStop->setEnabled(on);
    UpdateFineButtons();
}

void tdScanner::btScanClick() {
    if (!session_->StartScan()) return;
    Found->clear();
    shownRows_ = 0;
    listShownAt_.reset();
    Spectrum->Clear();
    Spectrum->ShowSweep(session_->Low(), 0.0);
    SetScanning(true);
}

void tdScanner::btStopClick() { session_->StopScan(); }

void tdScanner::ScanEnded() {
    ShowRows();
    Spectrum->EndSweep();
    SetScanning(false);
}

// --- listening and fine tuning ---

void tdScanner::FoundClick() {
    const int row = SelectedRow();
    if (session_->Scanning() || row < 0) return;
    UpdateFineButtons();
    session_->Listen(row);
}

void tdScanner::FoundKey() {
    const int row = SelectedRow();
    if (session_->Scanning() || row < 0) return;
    session_->Listen(row);
    UpdateFineButtons();
}

void tdScanner::btTunePrevClick() {
    const int row = SelectedRow();
    if (session_->TuneDown(row)) ShowRowText(row);
    UpdateFineButtons();
}

void tdScanner::btTuneNextClick() {
    const int row = SelectedRow();
    if (session_->TuneUp(row)) ShowRowText(row);
    UpdateFineButtons();
}

void tdScanner::StepSliderChange(int value) {
    session_->SetStepMultiple(value);
    ShowStep();
    UpdateFineButtons();
}

void tdScanner::btSpinStepBottomClick() {
    session_->StepSmaller();
    ShowStep();
    UpdateFineButtons();
}

void tdScanner::btSpinStepTopClick() {
    session_->StepLarger();
    ShowStep();
    UpdateFineButtons();
}

void tdScanner::SpectrumMouseDown(const QString& frequencyText) {
    ShowRows(); // a row found during a sweep may still wait for its turn
    const int row = session_->RowWithText(frequencyText.toStdString());
    if (row < 0) return;
    QTreeWidgetItem* item = Found->topLevelItem(row);
    Found->setCurrentItem(item);
    Found->scrollToItem(item);
    Found->setFocus();
    UpdateFineButtons();
}

// --- the favorites ---

// A drag onto a button comes from the list's selected row; a station from
// anywhere else is not the scanner's to store.
int tdScanner::RowOfStation(const tDraggedStation& station) const {
    const int row = SelectedRow();
    if (row < 0 || station.band != session_->Band()) return -1;
    return radio::FrequencyText(station.frequency) == session_->Rows()[row].freqText ? row : -1;
}

bool tdScanner::btRadioDragOver(int row, int n) const { return n >= 1 && session_->CanDrop(row); }

bool tdScanner::btRadioDragDrop(int row, int n) {
    if (!btRadioDragOver(row, n) || !session_->Drop(row, n)) return false;
    ShowBank();
    return true;
}

void tdScanner::iClearClick(int n) {
    if (session_->Scanning()) return;
    session_->Clear(n);
    ShowBank();
}

void tdScanner::iClearAllClick() {
    if (session_->Scanning()) return;
    if (!favoritesgrid::AskClearAll(ui_, this)) return;
    session_->ClearAll();
    ShowBank();
}

// --- closing ---

void tdScanner::closeEvent(QCloseEvent* event) {
    if (session_->Scanning()) event->ignore();
    else QDialog::closeEvent(event);
}

void tdScanner::reject() {
    if (!session_->Scanning()) QDialog::reject();
}

} // namespace tunevox::scanner
