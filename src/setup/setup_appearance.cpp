// tdSetup: the pages "Colors" (with the blinking display preview) and
// "Buttons".

#include "setup/setup_dialog.h"

#include "display/palette.h"
#include "display/pictures.h"
#include "display/radio_panel.h"
#include "display/tdisplay.h"
#include "setup/color_grid.h"
#include "setup/setup_widgets.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tunevox::setup {

namespace {

// The digit a scheme button stands for: the last character of its name.
int LastDigit(const QObject* o) {
    const QString name = o->objectName();
    if (name.isEmpty()) return -1;
    const int d = name.back().digitValue();
    return d >= 0 && d < display::kSchemeCount ? d : -1;
}

enum tButtonRow { brGeneric = 0, brAssignedFM = 1, brAssignedAM = 2, brNotAssigned = 3 };

} // namespace

// ------------------------------------------------------------------- Colors

void tdSetup::BuildColorsPage(QWidget* page) {
    auto* grid = new QGridLayout(page);

    auto* gbDigits = new QGroupBox("Digits", page);
    gbDigits->setObjectName("gbDigits");
    {
        auto* v = new QVBoxLayout(gbDigits);
        auto* row = new QHBoxLayout;
        oDigit = new TColorGrid(true, gbDigits);
        oDigit->setObjectName("oDigit");
        oDigit->SetSpokenLabel("Digits");
        oDigit->SetForegroundIndex(std::clamp(working_.Foreground, 0, 15));
        oDigit->SetBackgroundIndex(std::clamp(working_.Background, 0, 15));
        connect(oDigit, &TColorGrid::Changed, this, [this] {
            if (!updating_) oDigitChange();
        });
        row->addWidget(oDigit, 0, Qt::AlignTop);
        auto* gbStyle = new QGroupBox("Style", gbDigits);
        gbStyle->setObjectName("gbStyle");
        // A group inside a group would be read by the outer one's title.
        gbStyle->setAccessibleName("Style");
        auto* s = new QVBoxLayout(gbStyle);
        auto radio = [&](const char* name, const char* text, int value, void (tdSetup::*handler)()) {
            auto* r = new QRadioButton(text, gbStyle);
            r->setObjectName(name);
            r->setChecked(std::clamp(working_.Style, 0, 3) == value);
            connect(r, &QRadioButton::toggled, this, [this, handler](bool on) {
                if (on && !updating_) (this->*handler)();
            });
            s->addWidget(r);
            return r;
        };
        oSeg16 = radio("oSeg16", "Seg 16", 0, &tdSetup::oSeg16Click);
        oBulb5x7 = radio("oBulb5x7", "Bulb 5x7", 1, &tdSetup::oBulb5x7Click);
        oDot5x7 = radio("oDot5x7", "Dot 5x7", 2, &tdSetup::oDot5x7Click);
        oSeg7 = radio("oSeg7", "Seg 7", 3, &tdSetup::oSeg7Click);
        row->addWidget(gbStyle);
        v->addLayout(row);
        auto* hint = new QLabel("Left click: lit segments (FG)\nRight click: unlit segments (BG)", gbDigits);
        hint->setObjectName("lbDigitHint");
        v->addWidget(hint);
    }
    grid->addWidget(gbDigits, 0, 0, 2, 1);

    auto* gbBackground = new QGroupBox("Background", page);
    gbBackground->setObjectName("gbBackground");
    {
        auto* v = new QVBoxLayout(gbBackground);
        oPanel = new TColorGrid(false, gbBackground);
        oPanel->setObjectName("oPanel");
        oPanel->SetSpokenLabel("Background");
        oPanel->SetForegroundIndex(std::clamp(working_.ColorPanel, 0, 15));
        connect(oPanel, &TColorGrid::Changed, this, [this] {
            if (!updating_) oPanelChange();
        });
        v->addWidget(oPanel, 0, Qt::AlignLeft | Qt::AlignTop);
    }
    grid->addWidget(gbBackground, 2, 0);

    auto schemeRow = [&](const char* title, const char* groupName, const char* prefix, QButtonGroup*& group,
                         int value, void (tdSetup::*handler)(QAbstractButton*)) {
        auto* gb = new QGroupBox(title, page);
        gb->setObjectName(groupName);
        auto* h = new QHBoxLayout(gb);
        h->setSpacing(3);
        group = new QButtonGroup(this);
        group->setExclusive(true);
        for (int d = 0; d < display::kSchemeCount; ++d) {
            auto* b = MakeSchemeButton(QString("%1%2").arg(prefix).arg(d), d, title, gb);
            group->addButton(b, d);
            h->addWidget(b);
        }
        h->addStretch();
        SetScheme(group, value);
        connect(group, &QButtonGroup::buttonClicked, this, [this, handler](QAbstractButton* b) {
            if (!updating_) (this->*handler)(b);
        });
        return gb;
    };
    grid->addWidget(schemeRow("Text", "gbText", "tbt", TextGroup, working_.ColorText, &tdSetup::TextChoose), 0, 1);
    grid->addWidget(schemeRow("Flags", "gbFlags", "fbt", FlagGroup, working_.ColorFlag, &tdSetup::FlagChoose), 1, 1);

    auto* gbPreview = new QGroupBox("Display preview", page);
    gbPreview->setObjectName("gbPreview");
    {
        auto* v = new QVBoxLayout(gbPreview);
        BuildPreview(gbPreview);
        v->addWidget(Preview, 0, Qt::AlignCenter);
    }
    grid->addWidget(gbPreview, 2, 1);
    grid->setRowStretch(3, 1);
    ShowPreviewColors();
}

void tdSetup::BuildPreview(QWidget* parent) {
    // The main window's own panel, showing sample texts.
    Preview = new display::TRadioPanel(parent);
    Preview->ShowReadout({'1', '0', '6', '6', '0', '0'}, true);
    Preview->ShowStation("99", "Station");
    Preview->ShowTime("11:22:33");
}

// The blink step takes the working colours over whenever they changed.
void tdSetup::ShowPreviewColors() { ShowBlink(); }

void tdSetup::ShowBlink() {
    const display::tPanelColors colors{working_.Background, working_.Foreground, working_.Style,
                                       working_.ColorPanel, working_.ColorText, working_.ColorFlag};
    if (!(Preview->Colors() == colors)) Preview->ApplyColors(colors);
    Preview->ShowStatus("Tuned", !blinkOn_);
    using P = display::TRadioPanel;
    for (P::tIndicator lamp : {P::kProgramming, P::kAlarm, P::kMusic, P::kSleep}) Preview->SetIndicator(lamp, blinkOn_);
}

void tdSetup::ColorTimerTimer() {
    blinkOn_ = !blinkOn_;
    ShowBlink();
}

void tdSetup::SetStyle(int style) {
    working_.Style = style;
    ShowPreviewColors();
}

void tdSetup::oSeg16Click() { SetStyle(0); }
void tdSetup::oBulb5x7Click() { SetStyle(1); }
void tdSetup::oDot5x7Click() { SetStyle(2); }
void tdSetup::oSeg7Click() { SetStyle(3); }

void tdSetup::oDigitChange() {
    working_.Foreground = oDigit->ForegroundIndex();
    working_.Background = oDigit->BackgroundIndex();
    ShowPreviewColors();
}

void tdSetup::oPanelChange() {
    working_.ColorPanel = oPanel->ForegroundIndex();
    ShowPreviewColors();
}

void tdSetup::TextChoose(QAbstractButton* button) {
    const int d = button ? LastDigit(button) : -1;
    if (d < 0) return;
    working_.ColorText = d;
    SetScheme(TextGroup, d);
    ShowPreviewColors();
}

void tdSetup::FlagChoose(QAbstractButton* button) {
    const int d = button ? LastDigit(button) : -1;
    if (d < 0) return;
    working_.ColorFlag = d;
    SetScheme(FlagGroup, d);
    ShowBlink();
}

void tdSetup::SetScheme(QButtonGroup* group, int scheme) {
    if (QAbstractButton* b = group->button(std::clamp(scheme, 0, display::kSchemeCount - 1))) {
        const bool was = updating_;
        updating_ = true;
        b->setChecked(true);
        updating_ = was;
    }
}

// ------------------------------------------------------------------ Buttons

void tdSetup::BuildButtonsPage(QWidget* page) {
    auto* v = new QVBoxLayout(page);
    auto* gb = new QGroupBox("Colors of the buttons", page);
    gb->setObjectName("gbButtons");
    auto* grid = new QGridLayout(gb);
    grid->setHorizontalSpacing(3);
    auto* lbActive = new QLabel("Active", gb);
    auto* lbNotActive = new QLabel("Not active", gb);
    grid->addWidget(lbActive, 0, 10, Qt::AlignCenter);
    grid->addWidget(lbNotActive, 0, 11, Qt::AlignCenter);
    grid->setColumnMinimumWidth(9, 12);
    grid->setColumnMinimumWidth(10, lbActive->sizeHint().width() + 16);
    grid->setColumnMinimumWidth(11, lbNotActive->sizeHint().width() + 8);

    const char* const titles[] = {"Generic button", "Preset assigned (FM)", "Preset assigned (AM)",
                                  "Preset not assigned"};
    const char* const rowNames[] = {"g", "aFM", "aAM", "n"};
    const int values[] = {working_.ColorGenericButton, working_.ColorFavAssButtonFM, working_.ColorFavAssButtonAM,
                          working_.ColorFavNotAssButton};
    for (int r = 0; r < 4; ++r) {
        grid->addWidget(new QLabel(titles[r], gb), r + 1, 0);
        auto* group = new QButtonGroup(this);
        group->setExclusive(true);
        for (int d = 0; d < display::kSchemeCount; ++d) {
            // gbt0, abt0FM, abt0AM, nbt0: the digit is the fourth character.
            QString name = QString("%1bt%2").arg(rowNames[r][0]).arg(d);
            if (r == brAssignedFM) name += "FM";
            if (r == brAssignedAM) name += "AM";
            auto* b = MakeSchemeButton(name, d, titles[r], gb);
            group->addButton(b, d);
            grid->addWidget(b, r + 1, d + 1);
        }
        ButtonRows[r] = group;
        RowActive[r] = new QLabel(gb);
        RowActive[r]->setObjectName(QString("%1Active").arg(rowNames[r]));
        RowNotActive[r] = new QLabel(gb);
        RowNotActive[r]->setObjectName(QString("%1NotActive").arg(rowNames[r]));
        grid->addWidget(RowActive[r], r + 1, 10, Qt::AlignCenter);
        grid->addWidget(RowNotActive[r], r + 1, 11, Qt::AlignCenter);
        SetScheme(group, values[r]);
        connect(group, &QButtonGroup::buttonClicked, this, [this](QAbstractButton* b) {
            if (!updating_) ButtonChoose(b);
        });
    }
    grid->setColumnStretch(12, 1);
    v->addWidget(gb);
    auto* note = new QLabel(
        "Preset buttons holding an FM station, holding an AM station and empty ones always differ: "
        "a colour chosen in one of these three rows cannot be chosen in the other two.",
        page);
    note->setObjectName("lbButtonsNote");
    note->setWordWrap(true);
    v->addWidget(note);
    v->addStretch();
    ShowButtonRows();
}

void tdSetup::ShowButtonRows() {
    const int values[] = {working_.ColorGenericButton, working_.ColorFavAssButtonFM, working_.ColorFavAssButtonAM,
                          working_.ColorFavNotAssButton};
    for (int r = 0; r < 4; ++r) {
        const int d = std::clamp(values[r], 0, display::kSchemeCount - 1);
        RowActive[r]->setPixmap(QPixmap::fromImage(display::PictureTransparent(QString("BT%1ON").arg(d))));
        RowNotActive[r]->setPixmap(QPixmap::fromImage(display::PictureTransparent(QString("BT%1OFF").arg(d))));
        RowActive[r]->setAccessibleName(QString("Active: ") + display::SchemeColorName(d));
        RowNotActive[r]->setAccessibleName(QString("Not active: dim ") + display::SchemeColorName(d));
    }
    // Each preset row offers every scheme but those of the other two rows.
    const int fm = working_.ColorFavAssButtonFM;
    const int am = working_.ColorFavAssButtonAM;
    const int na = working_.ColorFavNotAssButton;
    for (int d = 0; d < display::kSchemeCount; ++d) {
        ButtonRows[brAssignedFM]->button(d)->setEnabled(d != am && d != na);
        ButtonRows[brAssignedAM]->button(d)->setEnabled(d != fm && d != na);
        ButtonRows[brNotAssigned]->button(d)->setEnabled(d != fm && d != am);
    }
}

void tdSetup::ButtonChoose(QAbstractButton* button) {
    if (!button || !button->isEnabled()) return;
    const QString name = button->objectName();
    if (name.size() < 4) return;
    const int d = name.at(3).digitValue();
    if (d < 0 || d >= display::kSchemeCount) return;
    int row = -1;
    switch (name.at(0).toLatin1()) {
    case 'g': row = brGeneric; break;
    case 'n': row = brNotAssigned; break;
    case 'a':
        if (name.size() < 5) return;
        row = name.at(4) == 'F' ? brAssignedFM : brAssignedAM;
        break;
    default: return;
    }
    int* const fields[] = {&working_.ColorGenericButton, &working_.ColorFavAssButtonFM,
                           &working_.ColorFavAssButtonAM, &working_.ColorFavNotAssButton};
    *fields[row] = d;
    SetScheme(ButtonRows[row], d);
    ShowButtonRows();
}

} // namespace tunevox::setup
