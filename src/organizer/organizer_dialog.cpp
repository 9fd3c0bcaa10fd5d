#include "organizer/organizer_dialog.h"

#include "favoritesgrid/favorites_grid.h"
#include "organizer/archive_model.h"
#include "radio/frequency.h"
#include "radio/radio_card.h"
#include "radioset/radio_set.h"
#include "radioset/station_tuner_rules.h"
#include "radioset/tuning_rules.h"
#include "stationtuner/station_tuner.h"
#include "widgets/interaction.h"

#include <QAction>
#include <QCloseEvent>
#include <QDrag>
#include <QDragEnterEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

namespace tunevox::organizer {

using archive::tArchiveNode;
using archive::TArchive;
using radio::bAM;
using radio::bFM;

namespace {

constexpr QSize kTreeSize{260, 320};

QString Text(const std::string& s) { return QString::fromStdString(s); }

} // namespace

// --- the tree ---

TArchiveTree::TArchiveTree(QWidget* parent) : QTreeView(parent) {
    setObjectName("RadioTree");
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

// A node is never taken out of the tree by a drag: moving it is the
// window's rule, and a station dropped on a favorites button stays.
void TArchiveTree::startDrag(Qt::DropActions) { QTreeView::startDrag(Qt::CopyAction); }

void TArchiveTree::dragEnterEvent(QDragEnterEvent* event) {
    if (event->source() != this) return event->ignore();
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TArchiveTree::dragMoveEvent(QDragMoveEvent* event) {
    if (event->source() != this) return event->ignore();
    QTreeView::dragMoveEvent(event); // scrolls and draws the indicator
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TArchiveTree::dropEvent(QDropEvent* event) {
    if (event->source() != this) return event->ignore();
    const QModelIndex target = indexAt(event->position().toPoint());
    event->setDropAction(Qt::CopyAction);
    event->accept();
    setState(NoState); // the view's own drop handling is not wanted
    emit nodeDropped(target);
}

void TArchiveTree::keyPressEvent(QKeyEvent* event) {
    if (state() != EditingState) {
        switch (event->key()) {
        case Qt::Key_Delete:
            emit deletePressed();
            return event->accept();
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Enter plays or opens the node; it does not press OK.
            emit enterPressed();
            return event->accept();
        default:
            break;
        }
    }
    QTreeView::keyPressEvent(event);
}

// --- the window ---

tdOrganizer::tdOrganizer(radioset::TRadioSet& set, widgets::IInteraction& ui, widgets::tHelpFn help,
                         QWidget* parent)
    : QDialog(parent), set_(set), ui_(ui), session_(std::make_unique<TOrganizerSession>(set)) {
    setObjectName("tdOrganizer");
    setWindowTitle("Channels organizer");
    loadResult_ = session_->Load();
    model_ = std::make_unique<TArchiveModel>(session_->Archive());

    RadioTree = new TArchiveTree(this);
    RadioTree->setModel(model_.get());
    RadioTree->setFixedSize(kTreeSize);
    RadioTree->setAccessibleName("Station archive");
    model_->renameRefused = [](const tArchiveNode& node, const QString& name) {
        return TArchive::RenameRefusal(node, node.Name(), name.toStdString());
    };
    model_->onRenameRefused = [this](const std::string& message) { Warn(Text(message)); };
    connect(RadioTree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { RadioTreeClick(); });
    connect(RadioTree, &QTreeView::expanded, this, [this](const QModelIndex& i) { model_->SetExpanded(i, true); });
    connect(RadioTree, &QTreeView::collapsed, this, [this](const QModelIndex& i) { model_->SetExpanded(i, false); });
    connect(RadioTree, &TArchiveTree::nodeDropped, this, &tdOrganizer::RadioTreeDragDrop);
    connect(RadioTree, &TArchiveTree::deletePressed, this, &tdOrganizer::iDeleteClick);
    connect(RadioTree, &TArchiveTree::enterPressed, this, [this] {
        const QModelIndex i = RadioTree->currentIndex();
        const tArchiveNode* node = NodeAt(i);
        if (node && node->IsStation()) RadioTreeClick();
        else if (i.isValid()) RadioTree->setExpanded(i, !RadioTree->isExpanded(i));
    });

    OrgMenu = new QMenu(this);
    OrgMenu->setObjectName("OrgMenu");
    iRename = OrgMenu->addAction("Rename", this, &tdOrganizer::iRenameClick);
    iRename->setObjectName("iRename");
    iDelete = OrgMenu->addAction("Delete", this, &tdOrganizer::iDeleteClick);
    iDelete->setObjectName("iDelete");
    iAdd = OrgMenu->addMenu("Add");
    iAdd->setObjectName("iAdd");
    AddFolder = iAdd->addAction("Folder", this, &tdOrganizer::AddFolderClick);
    AddFolder->setObjectName("AddFolder");
    AddStation = iAdd->addAction("Station", this, &tdOrganizer::AddStationClick);
    AddStation->setObjectName("AddStation");
    connect(RadioTree, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex i = RadioTree->indexAt(at);
        if (i.isValid()) RadioTree->setCurrentIndex(i);
        ShowMenuState();
        OrgMenu->popup(RadioTree->viewport()->mapToGlobal(at));
    });

    auto* presetsGroup = new QGroupBox("Presets", this);
    presetsGroup->setObjectName("gbPresets");
    Presets = new favoritesgrid::TFavoritesGrid(presetsGroup);
    auto* presetsLayout = new QVBoxLayout(presetsGroup);
    presetsLayout->addWidget(Presets);
    Presets->acceptsDrop = [this](const favoritesgrid::tDraggedStation& s, int n) { return btRadioDragOver(s, n); };
    Presets->onDrop = [this](const favoritesgrid::tDraggedStation&, int n) { btRadioDragDrop(n); };
    Presets->onClear = [this](int n) { iClearClick(n); };
    Presets->onClearAll = [this] { iClearAllClick(); };
    // The buttons have nothing to do on a click here: the tree keeps the keys.
    connect(Presets, &favoritesgrid::TFavoritesGrid::clicked, this, [this] { RadioTree->setFocus(); });

    StationData = new stationtuner::TStationTuner({}, this);
    connect(StationData, &stationtuner::TStationTuner::frequencyMoved, this, &tdOrganizer::FrequencyChange);
    connect(StationData, &stationtuner::TStationTuner::slidingEnded, this, &tdOrganizer::FrequencyEndSliding);
    connect(StationData, &stationtuner::TStationTuner::bandClicked, this,
            [this](radio::tBand b) { b == bAM ? btAMClick() : btFMClick(); });
    connect(StationData, &stationtuner::TStationTuner::fineClicked, this,
            [this](int d) { d < 0 ? btTunePrevClick() : btTuneNextClick(); });
    connect(StationData, &stationtuner::TStationTuner::seekClicked, this,
            [this](int d) { d < 0 ? btScanPrevClick() : btScanNextClick(); });
    connect(StationData, &stationtuner::TStationTuner::stopClicked, this, &tdOrganizer::btStopScanClick);
    connect(StationData, &stationtuner::TStationTuner::stepMultipleChosen, this, &tdOrganizer::StepSliderChange);
    connect(StationData, &stationtuner::TStationTuner::stepSpinClicked, this,
            [this](int d) { d < 0 ? btSpinStepBottomClick() : btSpinStepTopClick(); });
    StationData->ShowBand(bFM);
    StationData->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(RadioTree, 0, Qt::AlignTop);
    top->addWidget(presetsGroup, 0, Qt::AlignTop);
    auto* content = new QVBoxLayout;
    content->addLayout(top);
    content->addWidget(StationData);

    hasHelp_ = bool(help);
    const widgets::tDialogButtons b = widgets::LayOutDialog(
        this, content, widgets::tButtonRow().OkHandledByDialog().WithHelp(kHelpTopic, std::move(help)));
    btOk = b.ok;
    btCancel = b.cancel;
    btHelp = b.help;
    connect(btOk, &QPushButton::clicked, this, &tdOrganizer::btSaveExitClick);

    session_->onSeekStep = [this](const tTuning& t) { ShowTuning(t); };
    session_->onSeekEnd = [this](const tTuning& t) { SeekEnded(t); };

    ShowStep();
    ShowBank();
    RadioTree->expand(model_->RootIndex());
    Select(&session_->Archive().Root());
    RadioTreeClick(); // the root: the radio is silent until a station is chosen
}

tdOrganizer::~tdOrganizer() {
    // The view lets go of the model before the model goes.
    RadioTree->setModel(nullptr);
}

QString tdOrganizer::LoadProblem() const {
    const QString path = Text(session_->Path());
    switch (loadResult_.status) {
    case TArchive::eLoad::Unreadable:
        return QString("The archive %1 could not be read: %2.\nWhat you change now is not saved over it.")
            .arg(path, Text(loadResult_.error));
    case TArchive::eLoad::Loaded:
        if (loadResult_.skippedRows > 0)
            return QString("%1 rows of the archive %2 could not be read and are left out; the file keeps them "
                           "unless you save it with OK.")
                .arg(loadResult_.skippedRows)
                .arg(path);
        return {};
    case TArchive::eLoad::Missing:
        return {};
    }
    return {};
}

void tdOrganizer::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (loadWarned_) return;
    loadWarned_ = true;
    const QString problem = LoadProblem();
    if (!problem.isEmpty()) QMetaObject::invokeMethod(this, [this, problem] { Warn(problem); }, Qt::QueuedConnection);
}

tArchiveNode* tdOrganizer::NodeAt(const QModelIndex& index) const { return model_->Node(index); }
QModelIndex tdOrganizer::IndexOf(const tArchiveNode* node) const { return model_->IndexOf(node); }

void tdOrganizer::Select(const tArchiveNode* node) {
    const QModelIndex i = IndexOf(node);
    if (!i.isValid()) return;
    RadioTree->scrollTo(i);
    RadioTree->setCurrentIndex(i);
}

void tdOrganizer::Warn(const QString& text) {
    ui_.MessageBox(this, "Warning", text, widgets::tMsgIcon::Warning, widgets::tMsgButtons::Ok);
}

// --- the selection ---

void tdOrganizer::ShowMenuState() {
    const tArchiveNode* node = NodeAt(RadioTree->currentIndex());
    const bool onlyRoot = session_->Archive().NodeCount() == 1;
    const bool hasParent = node && !node->IsRoot();
    iDelete->setEnabled(!onlyRoot && hasParent);
    iRename->setEnabled(!onlyRoot && hasParent);
    iAdd->setEnabled(onlyRoot || !node || !node->IsStation());
}

void tdOrganizer::RadioTreeClick() {
    if (session_->Seeking()) return;
    tArchiveNode* node = NodeAt(RadioTree->currentIndex());
    ShowMenuState();
    const bool editing = RadioTree->Editing();
    const std::optional<tTuning> t = session_->Select(node, editing);
    const bool station = node && node->IsStation();
    StationData->setVisible(station);
    if (t) ShowTuning(*t);
}

// --- the tree ---

void tdOrganizer::AddFolderClick() {
    tArchiveNode* parent = session_->AddTarget();
    if (!parent || !model_->AddFolder(*parent)) return;
    RadioTree->expand(IndexOf(parent));
    ShowMenuState();
}

void tdOrganizer::AddStationClick() {
    tArchiveNode* parent = session_->AddTarget();
    if (!parent || !model_->AddStation(*parent, session_->NewStationFrequency(), session_->Band())) return;
    RadioTree->expand(IndexOf(parent));
    ShowMenuState();
}

void tdOrganizer::iDeleteClick() {
    tArchiveNode* node = NodeAt(RadioTree->currentIndex());
    if (session_->Seeking() || !node || node->IsRoot()) return;
    // The selection goes to the node that takes its place, else the one
    // before it, else its folder.
    tArchiveNode* parent = node->Parent();
    const size_t row = node->Row();
    model_->Delete(*node);
    const tArchiveNode* next = parent->Child(row) ? parent->Child(row) : row > 0 ? parent->Child(row - 1) : parent;
    Select(next);
    RadioTreeClick();
}

void tdOrganizer::iRenameClick() {
    if (session_->Seeking()) return;
    const QModelIndex i = RadioTree->currentIndex();
    if (i.isValid()) RadioTree->edit(i);
}

void tdOrganizer::RadioTreeDragDrop(const QModelIndex& target) {
    tArchiveNode* source = NodeAt(RadioTree->currentIndex());
    tArchiveNode* onto = NodeAt(target);
    if (session_->Seeking() || !source) return;
    if (const auto refusal = TArchive::DropRefusal(source, onto)) {
        if (!refusal->empty()) Warn(Text(*refusal));
        return;
    }
    if (!model_->Move(*source, *onto)) return;
    RadioTree->expand(IndexOf(onto));
    Select(source);
}

// --- the tuner ---

void tdOrganizer::ShowTuning(const tTuning& t) {
    StationData->ShowBand(t.band);
    StationData->ShowFrequency(t.band, t.frequency);
    StationData->ShowOutOfRange(t.outOfRange || !session_->CardHasBand(t.band));
    StationData->ShowFineButtons(t.buttons.down, t.buttons.up);
    if (!session_->Seeking()) StationData->ShowSeekButtons(t.buttons.down, t.buttons.up);
    if (t.tunedStatus >= 0) {
        const radioset::tTunedLetter letter = radioset::TunedLetter(t.tunedStatus);
        StationData->ShowTuned(letter.letter, letter.lit);
    }
    if (const tArchiveNode* node = session_->Selected()) model_->Changed(*node);
}

void tdOrganizer::btFMClick() {
    if (!session_->Seeking() && session_->Selected() && session_->Selected()->IsStation())
        ShowTuning(session_->Tune(bFM, -1, true));
}

void tdOrganizer::btAMClick() {
    if (!session_->Seeking() && session_->Selected() && session_->Selected()->IsStation())
        ShowTuning(session_->Tune(bAM, -1, true));
}

void tdOrganizer::FrequencyChange(double mhz, bool sliding) {
    if (!session_->Seeking() && session_->Selected() && session_->Selected()->IsStation())
        ShowTuning(session_->Tune(session_->Band(), mhz, !sliding));
}

void tdOrganizer::FrequencyEndSliding() {
    if (session_->Seeking() || !session_->Selected() || !session_->Selected()->IsStation()) return;
    if (session_->CardHasBand(session_->Band())) {
        const radioset::tTunedLetter letter =
            radioset::TunedLetter(session_->Band() == bFM ? session_->TunedStatus() : 0);
        StationData->ShowTuned(letter.letter, letter.lit);
    } else {
        StationData->ShowTuned('!', false);
    }
}

void tdOrganizer::btTunePrevClick() {
    if (const auto t = session_->Fine(-1)) ShowTuning(*t);
}

void tdOrganizer::btTuneNextClick() {
    if (const auto t = session_->Fine(+1)) ShowTuning(*t);
}

void tdOrganizer::btScanPrevClick() {
    if (!session_->StartSeek(-1)) return;
    RadioTree->setEnabled(false);
    StationData->ShowSeeking(-1);
    StationData->ShowTuned('?', false);
}

void tdOrganizer::btScanNextClick() {
    if (!session_->StartSeek(+1)) return;
    RadioTree->setEnabled(false);
    StationData->ShowSeeking(+1);
    StationData->ShowTuned('?', false);
}

void tdOrganizer::btStopScanClick() { session_->StopSeek(); }

void tdOrganizer::SeekEnded(const tTuning& t) {
    StationData->ShowSeeking(0);
    ShowTuning(t);
    // The way just sought stays closed at the band's edge.
    const radio::TRadioCard& card = set_.Card();
    const std::string at = radio::FrequencyText(card.Frequency());
    StationData->ShowSeekButtons(at != radio::FrequencyText(card.MinFrequency()),
                                 at != radio::FrequencyText(card.MaxFrequency()));
    RadioTree->setEnabled(true);
    RadioTree->setFocus();
    if (closeAfterSeek_ >= 0) Finish(std::exchange(closeAfterSeek_, -1));
}

void tdOrganizer::ShowStep() {
    StationData->ShowStep(session_->StepMultiple(), session_->MaxStepMultiple(),
                          radioset::StepKHz(session_->FineStep()));
}

void tdOrganizer::StepSliderChange(int multiple) {
    session_->SetStepMultiple(multiple);
    ShowStep();
}

void tdOrganizer::btSpinStepBottomClick() {
    session_->StepBy(-1);
    ShowStep();
}

void tdOrganizer::btSpinStepTopClick() {
    session_->StepBy(+1);
    ShowStep();
}

// --- the favorites ---

void tdOrganizer::ShowBank() {
    favoritesgrid::ShowBankOf(*Presets, session_->Bank(), session_->Current(), set_.Config());
}

// A drop on a button comes from the tree's selected station; a station
// dragged from anywhere else is not the organizer's to store.
bool tdOrganizer::btRadioDragOver(const favoritesgrid::tDraggedStation& dragged, int n) const {
    const tArchiveNode* node = session_->Selected();
    const archive::tStation* station = node ? node->Station() : nullptr;
    if (n < 1 || !station || dragged.band != station->band ||
        radio::FrequencyText(dragged.frequency) != radio::FrequencyText(station->frequency))
        return false;
    return session_->CanStoreSelected();
}

void tdOrganizer::btRadioDragDrop(int n) {
    if (session_->StoreSelected(n)) ShowBank();
}

void tdOrganizer::iClearClick(int n) {
    if (session_->Seeking()) return;
    session_->ClearFavorite(n);
    ShowBank();
}

void tdOrganizer::iClearAllClick() {
    if (session_->Seeking()) return;
    if (!favoritesgrid::AskClearAll(ui_, this)) return;
    session_->ClearAllFavorites();
    ShowBank();
}

// --- closing ---

void tdOrganizer::btSaveExitClick() {
    if (session_->Seeking()) {
        closeAfterSeek_ = Accepted;
        session_->StopSeek();
        return;
    }
    Finish(Accepted);
}

void tdOrganizer::Finish(int result) {
    if (result == Accepted) {
        std::string error;
        if (!session_->Save(&error)) {
            Warn(QString("The archive could not be saved to %1: %2.").arg(Text(session_->Path()), Text(error)));
            return;
        }
        QDialog::accept();
    } else {
        QDialog::reject();
    }
}

void tdOrganizer::reject() {
    if (session_->Seeking()) {
        closeAfterSeek_ = Rejected;
        session_->StopSeek();
        return;
    }
    QDialog::reject();
}

void tdOrganizer::closeEvent(QCloseEvent* event) {
    if (session_->Seeking()) {
        event->ignore();
        reject();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace tunevox::organizer
