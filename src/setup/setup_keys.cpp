// tdSetup: the page "Keys", one list per command holding the key alphabet.

#include "setup/setup_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tunevox::setup {

namespace {

using namespace radioset;

struct tKeyLabel {
    tCommand command;
    const char* label;
};

// In three columns, as the user reads them.
const tKeyLabel kColumn1[] = {
    {cmVolumeUp, "Volume up"}, {cmVolumeDown, "Volume down"}, {cmVolumeTo0, "Volume reset"},
    {cmMixer, "Mixer"},        {cmMuteOnOff, "Mute on/off"},  {cmDecFreq, "Tune left"},
    {cmIncFreq, "Tune right"}, {cmDecStep, "Step -"},         {cmIncStep, "Step +"},
    {cmSleepOnOff, "Sleep"},   {cmAlarmOnOff, "Alarm"},       {cmScanLeft, "Scan left"},
};
const tKeyLabel kColumn2[] = {
    {cmScanRight, "Scan right"},  {cmStopScan, "Stop scan"},        {cmEditFavs, "Edit presets"},
    {cmSetup, "Settings"},        {cmOrganize, "Organize"},         {cmProgr, "Scripting"},
    {cmExit, "Exit"},             {cmJump, "Quick jump"},           {cmOnTop, "Always on top"},
    {cmMinimal, "Minimal"},       {cmMinimalTuner, "Min+tuner"},    {cmMinimalFavs, "Min+presets"},
    {cmStereo, "Stereo"},
};
const tKeyLabel kColumn3[] = {
    {cmComplete, "Complete disp."},       {cmClear, "Clear"},
    {cmClearAll, "Clear all"},            {cmMemory, "Memory"},
    {cmRename, "Rename"},                 {cmHelp, "Help topics"},
    {cmAbout, "About"},                   {cmLoadScript, "Load script"},
    {cmLoadPresets, "Load presets"},      {cmMinimalVolBtn, "Min+vol+btn"},
    {cmMinimalVolBtnPre, "Min+vol+btn+pre"}, {cmScanner, "Scanner"},
    {cmSignalStrenght, "Signal strenght"},
};

// The blank is a key like any other, but an empty-looking entry is easy
// to miss; the list names it.
QString KeyText(char c) { return c == ' ' ? QString("Space") : QString(QChar(c)); }

} // namespace

void tdSetup::BuildKeysPage(QWidget* page) {
    auto* v = new QVBoxLayout(page);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(3);
    const std::string& alphabet = KeyAlphabet();
    auto column = [&](const tKeyLabel* entries, int count, int col) {
        for (int i = 0; i < count; ++i) {
            const tKeyLabel& e = entries[i];
            auto* list = new QComboBox(page);
            list->setObjectName(QString::fromStdString(CommandName(e.command)));
            for (char c : alphabet) list->addItem(KeyText(c), QChar(c));
            list->setMaxVisibleItems(16);
            list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
            auto* label = new QLabel(e.label, page);
            label->setBuddy(list);
            grid->addWidget(label, i, col * 3);
            grid->addWidget(list, i, col * 3 + 1);
            KeyLists[e.command] = list;
            connect(list, &QComboBox::currentIndexChanged, this, [this, list] {
                if (!updating_) CmdChange(list);
            });
        }
        if (col < 2) grid->setColumnMinimumWidth(col * 3 + 2, 14);
    };
    column(kColumn1, std::size(kColumn1), 0);
    column(kColumn2, std::size(kColumn2), 1);
    column(kColumn3, std::size(kColumn3), 2);
    v->addLayout(grid);
    auto* row = new QHBoxLayout;
    auto* hint = new QLabel("A key can belong to one command only.", page);
    hint->setObjectName("lbKeysHint");
    row->addWidget(hint);
    row->addStretch();
    btDefault = new QPushButton("Reset to default", page);
    btDefault->setObjectName("btDefault");
    btDefault->setAutoDefault(false);
    connect(btDefault, &QPushButton::clicked, this, &tdSetup::btDefaultClick);
    row->addWidget(btDefault);
    v->addLayout(row);
    v->addStretch();
    ShowKeys();
}

void tdSetup::ShowKeys() {
    const bool was = updating_;
    updating_ = true;
    const std::string& keys = working_.KeyboardCommands;
    const std::string& alphabet = KeyAlphabet();
    for (int ord = 0; ord < kCommandCount; ++ord) {
        QComboBox* list = KeyLists[ord];
        if (!list) continue;
        const size_t at = ord < static_cast<int>(keys.size()) ? alphabet.find(keys[ord]) : std::string::npos;
        list->setCurrentIndex(at == std::string::npos ? -1 : static_cast<int>(at));
    }
    updating_ = was;
}

void tdSetup::CmdChange(QComboBox* list) {
    if (!list) return;
    const std::optional<tCommand> command = CommandByName(list->objectName().toStdString());
    const int index = list->currentIndex();
    if (!command || index < 0) return;
    const size_t position = static_cast<size_t>(*command);
    std::string& keys = working_.KeyboardCommands;
    const char key = KeyAlphabet()[static_cast<size_t>(index)];
    const size_t holder = keys.find(key);
    if (holder != std::string::npos && holder != position) {
        // Another command has this key: the list goes back to its own.
        ShowKeys();
        return;
    }
    if (position < keys.size()) keys[position] = key;
}

void tdSetup::btDefaultClick() {
    working_.KeyboardCommands = kDefaultKeyboardCommands;
    ShowKeys();
}

} // namespace tunevox::setup
