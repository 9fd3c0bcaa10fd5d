#include "presets/edit_favorites_dialog.h"

#include "presets/presets_list.h"
#include "radioset/radio_set.h"
#include "stationtuner/station_tuner.h"
#include "widgets/glyph_button.h"
#include "widgets/file_menu.h"
#include "widgets/interaction.h"

#include <QAction>
#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tunevox::presets {

using radio::bAM;
using radio::bFM;
using widgets::TGlyphButton;

namespace {

QString Text(const std::string& s) { return QString::fromStdString(s); }
// Paths go to the file system in its own encoding.
std::string PathOf(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString PathText(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

// The move buttons' arrows: rows of 1, 3, 5, 7 and 9 pixels, crisp at the
// size they are shown.
QImage DrawArrow(bool up, const QColor& ink) {
    QImage img(9, 5, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    for (int r = 0; r < 5; ++r) {
        const int width = 1 + 2 * r;
        p.fillRect(4 - r, up ? r : 4 - r, width, 1, ink);
    }
    return img;
}

// A glyph button greys its arrow with its state.
void ShowArrowEnabled(TGlyphButton* b, bool up, bool on) {
    if (b->isEnabled() == on && !b->Glyph().isNull()) return;
    b->setEnabled(on);
    const QPalette::ColorGroup group = on ? QPalette::Active : QPalette::Disabled;
    b->SetGlyph(DrawArrow(up, b->palette().color(group, QPalette::ButtonText)));
}

} // namespace

tdEditFavorites::tdEditFavorites(radioset::TRadioSet& set, widgets::IInteraction& ui, widgets::tHelpFn help,
                                 QWidget* parent)
    : QDialog(parent), ui_(ui), editor_(std::make_unique<TPresetsEditor>(set)) {
    setObjectName("tdEditFavorites");
    model_ = std::make_unique<TPresetsModel>(*editor_);

    Presets = new TPresetsList(this);
    Presets->setModel(model_.get());
    connect(Presets->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { PresetsClick(); });

    LStationName = new QLabel("Enter the station name", this);
    LStationName->setObjectName("LStationName");
    StationName = new QLineEdit(this);
    StationName->setObjectName("StationName");
    StationName->setMaxLength(radioset::kMaxFavoriteName);
    LStationName->setBuddy(StationName);
    // Typed only: the name shown for a newly selected slot is no edit.
    connect(StationName, &QLineEdit::textEdited, this, &tdEditFavorites::StationNameChange);
    StationName->installEventFilter(this);

    StationData = new stationtuner::TStationTuner({false, false, false}, this);
    connect(StationData, &stationtuner::TStationTuner::frequencyMoved, this,
            [this](double mhz, bool) { FrequencyChange(mhz); });
    connect(StationData, &stationtuner::TStationTuner::bandClicked, this,
            [this](radio::tBand b) { b == bAM ? btAMClick() : btFMClick(); });
    connect(StationData, &stationtuner::TStationTuner::fineClicked, this,
            [this](int d) { d < 0 ? btTunePrevClick() : btTuneNextClick(); });
    connect(StationData, &stationtuner::TStationTuner::stepMultipleChosen, this, &tdEditFavorites::StepSliderChange);
    connect(StationData, &stationtuner::TStationTuner::stepSpinClicked, this,
            [this](int d) { d < 0 ? btSpinStepBottomClick() : btSpinStepTopClick(); });

    StoredEntries = new QLabel(this);
    StoredEntries->setObjectName("StoredEntries");
    // Wide enough for a full bank, so the column does not move as it fills.
    StoredEntries->setMinimumWidth(StoredEntries->fontMetrics().horizontalAdvance("Stored entries: 100") + 4);
    ErrMsg = new QLabel("Duplicated frequency", this);
    ErrMsg->setObjectName("ErrMsg");
    ErrMsg->setAlignment(Qt::AlignCenter);
    ErrMsg->setAutoFillBackground(true);
    ErrMsg->setMargin(3);
    QFont bold = ErrMsg->font();
    bold.setBold(true);
    ErrMsg->setFont(bold);
    QPalette warning = ErrMsg->palette();
    warning.setColor(QPalette::Window, QColor(255, 0, 0));
    warning.setColor(QPalette::WindowText, Qt::white);
    ErrMsg->setPalette(warning);
    // Its place stays while it is hidden: nothing jumps when it comes.
    QSizePolicy keep = ErrMsg->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    ErrMsg->setSizePolicy(keep);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(LStationName);
    nameRow->addWidget(StationName, 1);
    auto* left = new QVBoxLayout;
    left->addWidget(Presets);
    left->addLayout(nameRow);
    auto* right = new QVBoxLayout;
    right->addWidget(BuildControls());
    right->addStretch(1);
    right->addWidget(StoredEntries);
    right->addWidget(ErrMsg);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(right);
    auto* content = new QVBoxLayout;
    content->addLayout(top);
    content->addWidget(StationData);

    const widgets::tDialogButtons b = widgets::LayOutDialog(
        this, content, widgets::tButtonRow().WithOk("Ok").OkHandledByDialog().WithHelp(kHelpTopic, std::move(help)));
    btOk = b.ok;
    btCancel = b.cancel;
    btHelp = b.help;
    connect(btOk, &QPushButton::clicked, this, &tdEditFavorites::btOkClick);
    BuildMenu();
    layout()->setMenuBar(MainMenu);

    editor_->onPreviewEnded = [this] { PreviewTimer(); };
    ShowStep();
    ShowAll();
    Presets->setFocus();
}

tdEditFavorites::~tdEditFavorites() {
    // The view lets go of the model before the model goes.
    Presets->setModel(nullptr);
}

QWidget* tdEditFavorites::BuildControls() {
    Controls = new QGroupBox("Controls", this);
    Controls->setObjectName("Controls");
    auto button = [this](const char* name, const QString& caption, void (tdEditFavorites::*handler)()) {
        auto* b = new QPushButton(caption, Controls);
        b->setObjectName(name);
        // Enter means "Ok" whichever of these was pressed last.
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    btInsert = button("btInsert", "Insert", &tdEditFavorites::btInsertClick);
    btDelete = button("btDelete", "Delete", &tdEditFavorites::btDeleteClick);
    btClear = button("btClear", "Clear", &tdEditFavorites::btClearClick);
    btUndo = button("btUndo", "Undo", &tdEditFavorites::btUndoClick);
    btNew = button("btNew", "Clear all", &tdEditFavorites::btNewClick);
    btReload = button("btReload", "Reload", &tdEditFavorites::btReloadClick);
    btLoad = button("btLoad", "Open", &tdEditFavorites::btLoadClick);
    btSave = button("btSave", "Save", &tdEditFavorites::btSaveClick);

    btListen = new QPushButton("Listen", Controls);
    btListen->setObjectName("btListen");
    btListen->setCheckable(true);
    btListen->setAutoDefault(false);
    btListen->setToolTip("Hear this preset for five seconds");
    // Room for the caption it takes while a station is heard.
    btListen->setText("Listen T");
    btListen->setMinimumWidth(btListen->sizeHint().width());
    btListen->setText("Listen");
    connect(btListen, &QPushButton::clicked, this, &tdEditFavorites::btListenClick);

    const int rowHeight = btInsert->sizeHint().height();
    auto arrow = [this, rowHeight](const char* name, bool up, const QString& hint,
                                   void (tdEditFavorites::*handler)()) {
        auto* b = new TGlyphButton(QString(), Controls);
        b->setObjectName(name);
        b->setToolTip(hint);
        b->setAccessibleName(hint); // the caption is a picture
        b->SetGlyph(DrawArrow(up, b->palette().color(QPalette::ButtonText)));
        b->setFixedHeight(rowHeight);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        connect(b, &QAbstractButton::clicked, this, handler);
        return b;
    };
    btMoveUp = arrow("btMoveUp", true, "Move up", &tdEditFavorites::btMoveUpClick);
    btMoveDown = arrow("btMoveDown", false, "Move down", &tdEditFavorites::btMoveDownClick);

    auto* grid = new QGridLayout(Controls);
    grid->addWidget(btInsert, 0, 0);
    grid->addWidget(btDelete, 0, 1);
    grid->addWidget(btMoveUp, 1, 0);
    grid->addWidget(btMoveDown, 1, 1);
    grid->addWidget(btClear, 2, 0);
    grid->addWidget(btUndo, 2, 1);
    grid->addWidget(btListen, 3, 0, 1, 2);
    // The whole bank's commands apart from the slot's.
    grid->setRowMinimumHeight(4, 8);
    grid->addWidget(btNew, 5, 0);
    grid->addWidget(btReload, 5, 1);
    grid->addWidget(btLoad, 6, 0);
    grid->addWidget(btSave, 6, 1);
    return Controls;
}

void tdEditFavorites::BuildMenu() {
    const widgets::tFileMenu m = widgets::MakeFileMenu(
        this, [this] { btNewClick(); }, [this] { btLoadClick(); }, [this] { btSaveClick(); },
        [this] { iSaveAsClick(); });
    MainMenu = m.bar;
    iNew = m.newFile;
    iLoad = m.load;
    iSave = m.save;
    iSaveAs = m.saveAs;
}

// --- showing ---

void tdEditFavorites::ShowAll() {
    model_->Refresh();
    const radioset::tFavorite& slot = editor_->Slot(editor_->Selected());
    const QString name = slot.Used ? Text(slot.Name) : QString();
    // Not while it already says so: the cursor stays where the user types.
    if (StationName->text() != name) {
        const QSignalBlocker quiet(StationName);
        StationName->setText(name);
    }
    ShowTuner();
    StoredEntries->setText(QString("Stored entries: %1").arg(editor_->UsedCount()));

    const tEnabling e = editor_->Enabling();
    ErrMsg->setVisible(!e.store);
    for (QWidget* w : std::initializer_list<QWidget*>{btOk, btSave}) w->setEnabled(e.store);
    iSave->setEnabled(e.store);
    iSaveAs->setEnabled(e.store);
    btInsert->setEnabled(e.insert);
    btDelete->setEnabled(e.remove);
    btClear->setEnabled(e.clear);
    ShowArrowEnabled(btMoveUp, true, e.moveUp);
    ShowArrowEnabled(btMoveDown, false, e.moveDown);
    if (!editor_->Previewing() && btListen->isChecked()) ShowListen(false, false);
    btListen->setEnabled(e.listen || editor_->Previewing());
    setWindowTitle(PathText(editor_->Caption()));
    SyncSelection();
}

void tdEditFavorites::ShowTuner() {
    const tTunerView& t = editor_->Tuner();
    StationData->ShowBand(t.band);
    StationData->ShowFrequency(t.band, t.frequency);
    StationData->ShowOutOfRange(t.outOfRange);
    StationData->ShowFineButtons(t.buttons.down, t.buttons.up);
}

void tdEditFavorites::ShowStep() {
    StationData->ShowStep(editor_->StepMultiple(), editor_->MaxStepMultiple(), editor_->StepKHz());
}

void tdEditFavorites::ShowListen(bool pressed, bool station) {
    const QSignalBlocker quiet(btListen);
    btListen->setChecked(pressed);
    btListen->setText(pressed && station ? "Listen T" : "Listen");
}

// The list follows the editor's selection (after Insert and the moves).
void tdEditFavorites::SyncSelection() {
    const QModelIndex want = model_->index(editor_->Selected() - 1, 0);
    if (Presets->currentIndex().row() == want.row()) return;
    Presets->selectionModel()->setCurrentIndex(want, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    Presets->scrollTo(want);
}

void tdEditFavorites::SelectSlot(int n) {
    if (n < 1 || n > radioset::kFavoriteCount) return;
    const QModelIndex i = model_->index(n - 1, 0);
    Presets->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    Presets->scrollTo(i);
}

void tdEditFavorites::Warn(const QString& text) {
    ui_.MessageBox(this, "Warning", text, widgets::tMsgIcon::Stop, widgets::tMsgButtons::Ok);
}

bool tdEditFavorites::Ask(const QString& caption, const QString& text, bool stopIcon) {
    return ui_.MessageBox(this, caption, text, stopIcon ? widgets::tMsgIcon::Stop : widgets::tMsgIcon::Information,
                          widgets::tMsgButtons::YesNo) == widgets::tMsgResult::Yes;
}

bool tdEditFavorites::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the name ends the typing and goes back to the list; it does
    // not close the window as "Ok".
    if (watched == StationName && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Presets->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// --- the list, the name and the tuner ---

void tdEditFavorites::PresetsClick() {
    const int row = Presets->currentIndex().row();
    if (row < 0) return;
    editor_->Select(row + 1);
    ShowAll();
}

void tdEditFavorites::StationNameChange(const QString& text) {
    editor_->SetName(text.toStdString());
    ShowAll();
}

void tdEditFavorites::FrequencyChange(double mhz) {
    editor_->SetFrequency(editor_->Tuner().band, mhz);
    ShowAll();
}

void tdEditFavorites::btFMClick() {
    editor_->SetFrequency(bFM, -1);
    ShowAll();
}

void tdEditFavorites::btAMClick() {
    editor_->SetFrequency(bAM, -1);
    ShowAll();
}

void tdEditFavorites::btTunePrevClick() {
    editor_->Fine(-1);
    ShowAll();
}

void tdEditFavorites::btTuneNextClick() {
    editor_->Fine(+1);
    ShowAll();
}

void tdEditFavorites::StepSliderChange(int multiple) {
    editor_->SetStepMultiple(multiple);
    ShowStep();
}

void tdEditFavorites::btSpinStepBottomClick() {
    editor_->StepBy(-1);
    ShowStep();
}

void tdEditFavorites::btSpinStepTopClick() {
    editor_->StepBy(+1);
    ShowStep();
}

// --- slot operations ---

void tdEditFavorites::btUndoClick() {
    editor_->Undo();
    ShowAll();
}

void tdEditFavorites::btInsertClick() {
    editor_->Insert();
    ShowAll();
}

void tdEditFavorites::btDeleteClick() {
    editor_->Delete();
    ShowAll();
}

void tdEditFavorites::btMoveUpClick() {
    editor_->MoveUp();
    ShowAll();
}

void tdEditFavorites::btMoveDownClick() {
    editor_->MoveDown();
    ShowAll();
}

void tdEditFavorites::btClearClick() {
    editor_->Clear();
    ShowAll();
}

void tdEditFavorites::btNewClick() {
    if (!Ask("Warning!", "Do you wish clear all presets?", true)) return;
    editor_->ClearAll();
    ShowAll();
}

void tdEditFavorites::btReloadClick() {
    if (!Ask("Warning!", "Do you wish restore previous presets?", true)) return;
    editor_->Reload();
    ShowAll();
}

// --- files ---

void tdEditFavorites::btLoadClick() {
    if (editor_->UsedCount() > 0 &&
        !Ask("Warning", "If you load a new presets set, the\ncurrent presets will be erased.\nAre you sure ?", false))
        return;
    const QString path = ui_.OpenFileName(this, "Open presets", kFileFilter, kFileSuffix);
    if (path.isEmpty()) return;
    switch (editor_->Load(PathOf(path))) {
    case radioset::prCorrupt: Warn("The presets files is corrupt"); break;
    case radioset::prReadError: Warn("Read error or disk not ready"); break;
    case radioset::prOk: break;
    }
    ShowAll();
}

void tdEditFavorites::btSaveClick() {
    if (!editor_->Enabling().store) return;
    QString path = PathText(editor_->FileName());
    if (editor_->Internal()) {
        path = ui_.SaveFileName(this, "Save presets", kFileFilter, kFileSuffix);
        if (path.isEmpty()) return;
    }
    WriteTo(path);
}

void tdEditFavorites::iSaveAsClick() {
    if (!editor_->Enabling().store) return;
    const QString path = ui_.SaveFileName(this, "Save presets as", kFileFilter, kFileSuffix);
    if (!path.isEmpty()) WriteTo(path);
}

void tdEditFavorites::WriteTo(const QString& path) {
    std::string error;
    if (!editor_->Save(PathOf(path), &error))
        Warn(QString("Presets write error\n\nThe presets could not be written to %1: %2.\n"
                     "A file that was there is left as it was.")
                 .arg(path, Text(error)));
    ShowAll();
}

// --- the preview ---

void tdEditFavorites::btListenClick(bool pressed) {
    if (!pressed) {
        editor_->EndPreview();
        ShowListen(false, false);
        return;
    }
    switch (editor_->StartPreview()) {
    case tPreviewStart::Refused: ShowListen(false, false); break;
    case tPreviewStart::Station: ShowListen(true, true); break;
    case tPreviewStart::NoStation: ShowListen(true, false); break;
    }
}

void tdEditFavorites::PreviewTimer() {
    ShowListen(false, false);
    btListen->setEnabled(editor_->Enabling().listen);
}

// --- closing ---

void tdEditFavorites::btOkClick() {
    if (!editor_->Enabling().store) return;
    editor_->PrepareResult();
    okPressed_ = true;
    accept();
}

void tdEditFavorites::reject() {
    if (editor_->ChangedOnClose() &&
        !Ask("Warning", "Presets are changed!\nAre you sure that you want\nexit without save?", false)) {
        ShowAll();
        return;
    }
    QDialog::reject();
}

void tdEditFavorites::done(int result) {
    editor_->EndPreview();
    ShowListen(false, false);
    QDialog::done(result);
}

} // namespace tunevox::presets
