#include "scripteditor/script_editor_dialog.h"

#include "radioset/radio_set.h"
#include "scripteditor/action_icons.h"
#include "widgets/file_menu.h"
#include "widgets/interaction.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTime>
#include <QVBoxLayout>

namespace tunevox::scripteditor {

using radio::bAM;
using radio::bFM;

namespace {

QString Text(const std::string& s) { return QString::fromStdString(s); }
// Paths go to the file system in its own encoding.
std::string PathOf(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString PathText(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

// The property panel's pages, one per kind that has fields of its own.
enum tPage { pgNone = 0, pgBeep, pgVolume, pgJump, pgPreset };

tPage PageOf(script::tActionKind kind) {
    switch (kind) {
    case script::akBeep: return pgBeep;
    case script::akVolume: return pgVolume;
    case script::akJumpTo: return pgJump;
    case script::akPreset: return pgPreset;
    default: return pgNone;
    }
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    // Enter means OK whichever of these was pressed last.
    b->setAutoDefault(false);
    return b;
}

// The hour and minute fields show two digits, as a clock does.
class TTwoDigitSpin : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QString textFromValue(int value) const override { return QString("%1").arg(value, 2, 10, QChar('0')); }
};

QSpinBox* SpinBox(QWidget* parent, const char* name, int low, int high, bool twoDigits = false) {
    QSpinBox* s = twoDigits ? new TTwoDigitSpin(parent) : new QSpinBox(parent);
    s->setObjectName(name);
    s->setRange(low, high);
    return s;
}

QLabel* Label(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

} // namespace

QString ScriptTimeText(const QLocale& locale, script::tMinute minute) {
    QString format = locale.timeFormat(QLocale::ShortFormat);
    // Minutes are what a script counts: no seconds, no time zone.
    static const QRegularExpression seconds(QStringLiteral("[:.]s+"));
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b\\s*"));
    format.remove(seconds);
    format.replace(zone, QStringLiteral(" "));
    format = format.trimmed();
    QString text = locale.toString(QTime(script::HourOf(minute), script::MinuteOf(minute)), format);
    if (text.size() < 5) text.prepend('0');
    return text;
}

tdProgr::tdProgr(radioset::TRadioSet& set, widgets::IInteraction& ui, widgets::tHelpFn help, QWidget* parent,
                 const QLocale& locale)
    : QDialog(parent), ui_(ui), locale_(locale), editor_(std::make_unique<TScriptEditor>(set)) {
    setObjectName("tdProgr");

    auto* titleRow = new QHBoxLayout;
    Title = new QLineEdit(this);
    Title->setObjectName("Title");
    Title->setText(Text(editor_->Title()));
    Title->setPlaceholderText("The script's title");
    connect(Title, &QLineEdit::textEdited, this, [this](const QString& t) { editor_->SetTitle(t.toStdString()); });
    titleRow->addWidget(Label("&Title", Title, this));
    titleRow->addWidget(Title, 1);

    auto* middle = new QHBoxLayout;
    middle->addWidget(BuildLists(), 1);
    middle->addWidget(BuildProperty());

    btNew = Button(this, "btNew", "New");
    btLoad = Button(this, "btLoad", "Load");
    btSaveFile = Button(this, "btSaveFile", "Save");
    connect(btNew, &QPushButton::clicked, this, &tdProgr::btNewClick);
    connect(btLoad, &QPushButton::clicked, this, &tdProgr::btLoadClick);
    connect(btSaveFile, &QPushButton::clicked, this, &tdProgr::btSaveClick);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(btNew);
    fileRow->addWidget(btLoad);
    fileRow->addWidget(btSaveFile);
    fileRow->addStretch(1);

    auto* content = new QVBoxLayout;
    content->addLayout(titleRow);
    content->addLayout(middle);
    content->addLayout(fileRow);

    const widgets::tDialogButtons b = widgets::LayOutDialog(
        this, content, widgets::tButtonRow().WithOk("OK").OkHandledByDialog().WithHelp(kHelpTopic, std::move(help)));
    btOk = b.ok;
    btCancel = b.cancel;
    btHelp = b.help;
    connect(btOk, &QPushButton::clicked, this, &tdProgr::btOkClick);
    BuildMenu();
    layout()->setMenuBar(MainMenu);

    editor_->onPreviewEnded = [this] { PreviewFreq(); };
    ShowAll();
    Script->setFocus();
}

tdProgr::~tdProgr() = default;

// --- building ---

QWidget* tdProgr::BuildLists() {
    auto* box = new QWidget(this);
    Actions = new TActionPalette(box);
    Actions->setObjectName("Actions");
    Actions->SetKinds(editor_->PaletteKinds());
    Actions->setCurrentRow(0);
    Actions->setToolTip("Drag an event onto the program, or drag a line of the program here to delete it");
    Actions->acceptsDrop = [this](const tDraggedAction& what, int) { return ActionsDragOver(what); };
    Actions->onDrop = [this](const tDraggedAction& what, int) { ActionsDragDrop(what); };
    LActions = Label("&Events", Actions, box);
    // A list view is named by its own name only, never by a buddy label.
    Actions->setAccessibleName("Events");

    Script = new TScriptList(box);
    Script->setObjectName("Script");
    Script->setMinimumSize(Script->fontMetrics().horizontalAdvance("Mute off  00:00 AM") + 60,
                           10 * (Script->fontMetrics().height() + 4));
    Script->acceptsDrop = [this](const tDraggedAction& what, int line) { return ProgDragOver(what, line); };
    Script->onDrop = [this](const tDraggedAction& what, int line) { ProgDragDrop(what, line); };
    connect(Script, &QListWidget::currentRowChanged, this, [this](int) { ScriptClick(); });
    LScript = Label("&Program", Script, box);
    Script->setAccessibleName("Program");

    btAdd = Button(box, "btAdd", "Add");
    btDelete = Button(box, "btDelete", "Delete");
    connect(btAdd, &QPushButton::clicked, this, &tdProgr::RightClick);
    connect(btDelete, &QPushButton::clicked, this, &tdProgr::LeftClick);

    ScriptMenu = new QMenu(this);
    ScriptMenu->setObjectName("ScriptMenu");
    pmAdd = ScriptMenu->addAction("Add", this, &tdProgr::RightClick);
    pmAdd->setObjectName("pmAdd");
    pmAdd->setShortcut(Qt::Key_Insert);
    pmDelete = ScriptMenu->addAction("Delete", this, &tdProgr::LeftClick);
    pmDelete->setObjectName("pmDelete");
    pmDelete->setShortcut(Qt::Key_Delete);
    // The keys work while the list has the focus, as the menu shows them.
    for (QAction* a : {pmAdd, pmDelete}) {
        a->setShortcutContext(Qt::WidgetShortcut);
        Script->addAction(a);
    }
    Script->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Script, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { ScriptMenu->popup(Script->viewport()->mapToGlobal(at)); });

    // As wide as its names: the room goes to the program.
    Actions->setFixedWidth(Actions->sizeHintForColumn(0) + 2 * Actions->frameWidth() + 24);
    auto* left = new QVBoxLayout;
    left->addWidget(LActions);
    left->addWidget(Actions);
    left->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btAdd);
    buttons->addWidget(btDelete);
    auto* right = new QVBoxLayout;
    right->addWidget(LScript);
    right->addWidget(Script, 1);
    right->addLayout(buttons);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->addLayout(left);
    row->addLayout(right, 1);
    return box;
}

QWidget* tdProgr::BuildProperty() {
    Property = new QGroupBox("Property for this item", this);
    Property->setObjectName("Property");

    Common = new QWidget(Property);
    // The window keeps its size while the list is empty.
    QSizePolicy keep = Common->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    Common->setSizePolicy(keep);
    TimeHH = SpinBox(Common, "TimeHH", 0, 23, true);
    TimeMM = SpinBox(Common, "TimeMM", 0, 59, true);
    connect(TimeHH, &QSpinBox::valueChanged, this, &tdProgr::TimeHHChange);
    connect(TimeMM, &QSpinBox::valueChanged, this, &tdProgr::TimeMMChange);
    Range = new QLabel(Common);
    Range->setObjectName("Range");
    btSave = Button(Common, "btSave", "Save");
    btSave->setToolTip("Apply these values to the selected event");
    btReload = Button(Common, "btReload", "Reload");
    btReload->setToolTip("Show the selected event's values again");
    connect(btSave, &QPushButton::clicked, this, &tdProgr::SaveClick);
    connect(btReload, &QPushButton::clicked, this, &tdProgr::ReloadClick);

    auto* time = new QHBoxLayout;
    time->addWidget(new QLabel("Event time", Common));
    time->addStretch(1);
    time->addWidget(Label("HH", TimeHH, Common));
    time->addWidget(TimeHH);
    time->addWidget(Label("MM", TimeMM, Common));
    time->addWidget(TimeMM);
    // "HH" and "MM" show the format; read aloud they would say nothing.
    TimeHH->setAccessibleName("Event time, hour");
    TimeMM->setAccessibleName("Event time, minute");
    auto* apply = new QHBoxLayout;
    apply->addStretch(1);
    apply->addWidget(btSave);
    apply->addWidget(btReload);
    auto* common = new QVBoxLayout(Common);
    common->setContentsMargins(0, 0, 0, 0);
    common->addLayout(time);
    common->addWidget(Range);
    common->addLayout(apply);

    Panels = new QStackedWidget(Property);
    Panels->setObjectName("Panels");
    Panels->addWidget(new QWidget(Panels)); // kinds without fields
    Panels->addWidget(BuildBeepPanel());
    Panels->addWidget(BuildVolumePanel());
    Panels->addWidget(BuildJumpPanel());
    Panels->addWidget(BuildPresetPanel());

    auto* all = new QVBoxLayout(Property);
    all->addWidget(Common);
    all->addWidget(Panels);
    all->addStretch(1);
    // Room for the widest range text, so the panel does not move.
    Range->setMinimumWidth(Range->fontMetrics().horizontalAdvance("The range is from 00:00 AM to 00:00 AM") + 4);
    return Property;
}

QWidget* tdProgr::BuildBeepPanel() {
    BeepPanel = new QWidget(this);
    Times = SpinBox(BeepPanel, "Times", 1, 50);
    Frequency = SpinBox(BeepPanel, "Frequency", 1, 20000);
    Frequency->setSuffix(" Hz");
    Duration = SpinBox(BeepPanel, "Duration", 1, 1000);
    Duration->setSuffix(" ms");
    btPrBeep = Button(BeepPanel, "btPrBeep", "Preview");
    btPrBeep->setCheckable(true);
    btPrBeep->setToolTip("Hear these beeps, one a second");
    connect(btPrBeep, &QPushButton::clicked, this, &tdProgr::btPrBeepClick);
    auto* grid = new QGridLayout(BeepPanel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(Label("Times", Times, BeepPanel), 0, 0);
    grid->addWidget(Times, 0, 1);
    grid->addWidget(Label("Frequency", Frequency, BeepPanel), 1, 0);
    grid->addWidget(Frequency, 1, 1);
    grid->addWidget(Label("Duration", Duration, BeepPanel), 2, 0);
    grid->addWidget(Duration, 2, 1);
    grid->addWidget(btPrBeep, 3, 1);
    grid->setRowStretch(4, 1);
    return BeepPanel;
}

QWidget* tdProgr::BuildVolumePanel() {
    VolumePanel = new QWidget(this);
    Volume = new QSlider(Qt::Horizontal, VolumePanel);
    Volume->setObjectName("Volume");
    Volume->setRange(0, 20);
    Volume->setPageStep(4);
    Volume->setTickPosition(QSlider::TicksBelow);
    Volume->setTickInterval(2);
    Perc = new QLabel(VolumePanel);
    Perc->setObjectName("Perc");
    Perc->setMinimumWidth(Perc->fontMetrics().horizontalAdvance("100%") + 4);
    Perc->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(Volume, &QSlider::valueChanged, this, &tdProgr::VolumeChange);
    auto* row = new QHBoxLayout;
    row->addWidget(Volume, 1);
    row->addWidget(Perc);
    auto* box = new QVBoxLayout(VolumePanel);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(Label("Volume", Volume, VolumePanel));
    box->addLayout(row);
    box->addStretch(1);
    return VolumePanel;
}

QWidget* tdProgr::BuildJumpPanel() {
    JumpPanel = new QWidget(this);
    Freq = new QDoubleSpinBox(JumpPanel);
    Freq->setObjectName("Freq");
    Freq->setDecimals(3);
    Freq->setSuffix(" MHz");
    Freq->setLocale(locale_);
    btFM = Button(JumpPanel, "btFM", "fm");
    btAM = Button(JumpPanel, "btAM", "am");
    auto* band = new QButtonGroup(JumpPanel);
    for (QPushButton* b : {btFM, btAM}) {
        b->setCheckable(true);
        band->addButton(b);
    }
    connect(btFM, &QPushButton::clicked, this, &tdProgr::btFMClick);
    connect(btAM, &QPushButton::clicked, this, &tdProgr::btAMClick);
    JumpStereo = new QCheckBox("Stereo", JumpPanel);
    JumpStereo->setObjectName("JumpStereo");
    btPrFreq = Button(JumpPanel, "btPrFreq", "Test");
    btPrFreq->setCheckable(true);
    btPrFreq->setToolTip("Hear this frequency for five seconds");
    connect(btPrFreq, &QPushButton::clicked, this, &tdProgr::btPrFreqClick);
    Tuned = new QLabel(JumpPanel);
    Tuned->setObjectName("Tuned");
    QSizePolicy keep = Tuned->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    Tuned->setSizePolicy(keep);
    Tuned->hide();

    auto* grid = new QGridLayout(JumpPanel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(Label("Freq", Freq, JumpPanel), 0, 0);
    grid->addWidget(Freq, 0, 1, 1, 2);
    grid->addWidget(btFM, 1, 1);
    grid->addWidget(btAM, 1, 2);
    grid->addWidget(JumpStereo, 2, 1, 1, 2);
    grid->addWidget(btPrFreq, 3, 1);
    grid->addWidget(Tuned, 3, 2);
    grid->setRowStretch(4, 1);
    return JumpPanel;
}

QWidget* tdProgr::BuildPresetPanel() {
    PresetPanel = new QWidget(this);
    Presets = new QComboBox(PresetPanel);
    Presets->setObjectName("Presets");
    for (const tFavoriteEntry& f : editor_->FavoriteEntries()) Presets->addItem(Text(f.text), f.number);
    connect(Presets, &QComboBox::activated, this, &tdProgr::PresetsClick);
    PresetStereo = new QCheckBox("Stereo", PresetPanel);
    PresetStereo->setObjectName("PresetStereo");
    auto* box = new QVBoxLayout(PresetPanel);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(Label("Jump to", Presets, PresetPanel));
    box->addWidget(Presets);
    box->addWidget(PresetStereo);
    box->addStretch(1);
    return PresetPanel;
}

void tdProgr::BuildMenu() {
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

void tdProgr::ShowAll() {
    ShowList();
    const bool any = !editor_->Empty();
    for (QWidget* w : std::initializer_list<QWidget*>{btOk, btNew, btSaveFile, btDelete}) w->setEnabled(any);
    for (QAction* a : {iNew, iSave, iSaveAs, pmDelete}) a->setEnabled(any);
    // The property panel is there only for a selected action.
    Common->setVisible(any);
    Common->setEnabled(any);
    if (Title->text() != Text(editor_->Title())) Title->setText(Text(editor_->Title()));
    setWindowTitle(PathText(editor_->Caption()));
    ShowPanel();
    ShowPreviewButtons();
}

void tdProgr::ShowList() {
    const QSignalBlocker quiet(Script);
    const script::tActions& actions = editor_->Actions();
    while (Script->count() > static_cast<int>(actions.size())) delete Script->takeItem(Script->count() - 1);
    for (size_t i = 0; i < actions.size(); ++i) {
        const script::zAction& a = *actions[i];
        QListWidgetItem* item = Script->item(static_cast<int>(i));
        if (!item) item = new QListWidgetItem(Script);
        const QString name = script::ActionName(a.kind);
        const QString time = ScriptTimeText(locale_, a.time);
        item->setText(name);
        item->setIcon(ActionIcon(a.kind));
        item->setData(TScriptList::kTimeRole, time);
        // What a screen reader says of the line.
        item->setData(Qt::AccessibleTextRole, name + " at " + time);
    }
    Script->setCurrentRow(editor_->Selected());
    if (Script->currentItem()) Script->scrollToItem(Script->currentItem());
}

void tdProgr::ShowPanel() {
    const script::zAction* action = editor_->SelectedAction();
    Panels->setCurrentIndex(action ? PageOf(action->kind) : pgNone);
    if (!action) return;
    ShowPanelValues(editor_->PanelValues());
}

void tdProgr::ShowPanelValues(const tPanelValues& v) {
    {
        const QSignalBlocker quietHour(TimeHH), quietMinute(TimeMM);
        const script::tTimeRange range = editor_->Range();
        TimeHH->setRange(script::HourOf(range.begin), script::HourOf(range.end));
        TimeHH->setValue(v.hour);
        ShowMinuteLimits();
        TimeMM->setValue(v.minute);
        Range->setText("The range is from " + ScriptTimeText(locale_, range.begin) + " to " +
                       ScriptTimeText(locale_, range.end));
    }
    const script::zAction* action = editor_->SelectedAction();
    switch (PageOf(action->kind)) {
    case pgBeep:
        Times->setValue(v.count);
        Frequency->setValue(v.frequency);
        Duration->setValue(v.duration);
        break;
    case pgVolume: {
        const QSignalBlocker quiet(Volume);
        Volume->setValue(v.level);
        VolumeChange(v.level);
        break;
    }
    case pgJump:
        ShowBandField(v.band, editor_->BandField(v.band));
        Freq->setValue(v.jumpFrequency);
        if (v.band == bFM) JumpStereo->setChecked(v.stereo);
        break;
    case pgPreset: {
        const int entry = Presets->findData(v.favorite);
        // A favorite that is no longer used: no entry, the action keeps it.
        Presets->setCurrentIndex(entry);
        ShowPresetStereo(v.favorite, v.stereo);
        break;
    }
    case pgNone: break;
    }
}

void tdProgr::ShowBandField(radio::tBand band, const tBandField& field) {
    btFM->setChecked(band == bFM);
    btAM->setChecked(band == bAM);
    Freq->setRange(field.minimum, field.maximum);
    Freq->setValue(field.minimum);
    JumpStereo->setEnabled(field.stereoEnabled);
    if (!field.stereoEnabled) JumpStereo->setChecked(false);
    btPrFreq->setEnabled(field.testEnabled);
}

void tdProgr::ShowMinuteLimits() {
    const script::tMinuteLimits limits = editor_->MinuteLimits(TimeHH->value());
    const QSignalBlocker quiet(TimeMM);
    TimeMM->setRange(limits.low, limits.high);
}

void tdProgr::ShowPreviewButtons() {
    const tPreview p = editor_->Previewing();
    {
        const QSignalBlocker quietFreq(btPrFreq), quietBeep(btPrBeep);
        btPrFreq->setChecked(p == tPreview::Frequency);
        btPrBeep->setChecked(p == tPreview::Beep);
    }
    if (p != tPreview::Frequency) Tuned->hide();
}

void tdProgr::ShowPresetStereo(int favorite, bool flag) {
    const bool am = editor_->FavoriteIsAM(favorite);
    PresetStereo->setEnabled(!am);
    PresetStereo->setChecked(!am && flag);
}

tPanelValues tdProgr::FieldValues() const {
    tPanelValues v;
    v.hour = TimeHH->value();
    v.minute = TimeMM->value();
    v.count = Times->value();
    v.frequency = Frequency->value();
    v.duration = Duration->value();
    v.level = Volume->value();
    v.jumpFrequency = Freq->value();
    v.band = editor_->FieldBand();
    const script::zAction* action = editor_->SelectedAction();
    const bool preset = action && action->kind == script::akPreset;
    v.stereo = preset ? PresetStereo->isChecked() : JumpStereo->isChecked();
    v.favorite = Presets->currentIndex() >= 0 ? Presets->currentData().toInt() : 0;
    return v;
}

void tdProgr::Refuse() { ui_.Beep(); }

void tdProgr::Warn(const QString& text) {
    ui_.MessageBox(this, "Warning", text, widgets::tMsgIcon::Error, widgets::tMsgButtons::Ok);
}

bool tdProgr::Ask(const QString& text) {
    return ui_.MessageBox(this, "Warning", text, widgets::tMsgIcon::Warning, widgets::tMsgButtons::YesNo) ==
           widgets::tMsgResult::Yes;
}

// --- the lists ---

void tdProgr::SelectLine(int i) { Script->setCurrentRow(i); }

void tdProgr::ScriptClick() {
    const int row = Script->currentRow();
    if (row < 0 || row == editor_->Selected()) return;
    editor_->Select(row);
    ShowAll();
}

void tdProgr::RightClick() {
    if (!editor_->Add(Actions->CurrentKind())) Refuse();
    ShowAll();
}

void tdProgr::LeftClick() {
    if (!editor_->Delete()) Refuse();
    ShowAll();
}

bool tdProgr::ProgDragOver(const tDraggedAction& what, int) const {
    if (what.fromPalette) {
        const auto& kinds = editor_->PaletteKinds();
        return std::find(kinds.begin(), kinds.end(), what.value) != kinds.end();
    }
    return editor_->Count() > 1 && what.value < static_cast<int>(editor_->Count());
}

void tdProgr::ProgDragDrop(const tDraggedAction& what, int line) {
    const size_t at = line < 0 ? editor_->Count() : static_cast<size_t>(line);
    bool done = false;
    if (ProgDragOver(what, line))
        done = what.fromPalette ? editor_->InsertAt(static_cast<script::tActionKind>(what.value), at)
                                : editor_->Move(static_cast<size_t>(what.value), at);
    if (!done) Refuse();
    ShowAll();
}

bool tdProgr::ActionsDragOver(const tDraggedAction& what) const {
    return !what.fromPalette && what.value < static_cast<int>(editor_->Count());
}

void tdProgr::ActionsDragDrop(const tDraggedAction& what) {
    if (!ActionsDragOver(what) || !editor_->Delete(what.value)) Refuse();
    ShowAll();
}

// --- the property panel ---

void tdProgr::SaveClick() {
    if (!editor_->Apply(FieldValues())) Refuse();
    ShowAll();
}

void tdProgr::ReloadClick() {
    editor_->Reload();
    ShowAll();
}

void tdProgr::TimeHHChange(int) { ShowMinuteLimits(); }

void tdProgr::TimeMMChange(int) {}

void tdProgr::VolumeChange(int level) { Perc->setText(QString::number(level * 5) + "%"); }

void tdProgr::btFMClick() {
    ShowBandField(bFM, editor_->ChooseBand(bFM));
    ShowPreviewButtons();
}

void tdProgr::btAMClick() {
    ShowBandField(bAM, editor_->ChooseBand(bAM));
    ShowPreviewButtons();
}

void tdProgr::PresetsClick(int entry) {
    const script::zAction* action = editor_->SelectedAction();
    const auto* preset = dynamic_cast<const script::zPreset*>(action);
    if (!preset || entry < 0) return;
    ShowPresetStereo(Presets->itemData(entry).toInt(), preset->stereo);
}

// --- previews ---

void tdProgr::btPrFreqClick(bool pressed) {
    if (!pressed) {
        editor_->EndPreview();
        ShowPreviewButtons();
        return;
    }
    const tFrequencyPreview result = editor_->StartFrequencyPreview(Freq->value(), JumpStereo->isChecked());
    ShowPreviewButtons();
    if (result == tFrequencyPreview::Refused) return;
    Tuned->setText(result == tFrequencyPreview::Tuned ? "Tuned" : "Not tuned");
    Tuned->show();
}

void tdProgr::PreviewFreq() { ShowPreviewButtons(); }

void tdProgr::btPrBeepClick(bool pressed) {
    if (pressed) editor_->StartBeepPreview(Times->value(), Frequency->value(), Duration->value());
    else editor_->EndPreview();
    ShowPreviewButtons();
}

// --- files ---

void tdProgr::btNewClick() {
    if (editor_->Empty() || !Ask("This script will be erased.\nAre you sure ?")) return;
    editor_->New();
    ShowAll();
}

void tdProgr::btLoadClick() {
    if (!editor_->Empty() &&
        !Ask("If you load a new script, the\ncurrent script will be erased.\nAre you sure ?"))
        return;
    const QString path = ui_.OpenFileName(this, "Load script", kFileFilter, kFileSuffix);
    if (path.isEmpty()) return;
    switch (editor_->Load(PathOf(path))) {
    case script::srCorrupt: Warn("The script files is corrupt"); break;
    case script::srReadError: Warn("Read error or disk not ready"); break;
    case script::srOk: break;
    }
    ShowAll();
}

void tdProgr::btSaveClick() {
    if (editor_->Empty()) return;
    QString path = PathText(editor_->FileName());
    if (editor_->AskOnSave()) {
        path = ui_.SaveFileName(this, "Save script", kFileFilter, kFileSuffix);
        if (path.isEmpty()) return;
    }
    WriteTo(path);
}

void tdProgr::iSaveAsClick() {
    if (editor_->Empty()) return;
    const QString path = ui_.SaveFileName(this, "Save script as", kFileFilter, kFileSuffix);
    if (!path.isEmpty()) WriteTo(path);
}

void tdProgr::WriteTo(const QString& path) {
    std::string error;
    if (!editor_->Save(PathOf(path), &error))
        Warn(QString("Script write error\n\nThe script could not be written to %1: %2.\n"
                     "A file that was there is left as it was.")
                 .arg(path, Text(error)));
    ShowAll();
}

// --- closing ---

void tdProgr::btOkClick() {
    if (editor_->Empty()) return;
    okPressed_ = true;
    accept();
}

void tdProgr::reject() {
    if (editor_->Changed() &&
        ui_.MessageBox(this, "Exit without save", "Script is changed!\nAre you sure ?", widgets::tMsgIcon::Stop,
                       widgets::tMsgButtons::YesNo) != widgets::tMsgResult::Yes)
        return;
    QDialog::reject();
}

void tdProgr::done(int result) {
    editor_->Close();
    ShowPreviewButtons();
    QDialog::done(result);
}

} // namespace tunevox::scripteditor
