#include "periphery/about_box.h"

#include "widgets/dialog_buttons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tunevox::periphery {

TAboutBox::TAboutBox(const QString& version, const QIcon& icon, QWidget* parent) : QDialog(parent) {
    setObjectName("TAboutBox");
    setWindowTitle("About Tunevox");

    Picture = new QLabel(this);
    Picture->setObjectName("Picture");
    Picture->setAccessibleName("Tunevox icon");
    if (!icon.isNull()) Picture->setPixmap(icon.pixmap(64, 64));
    Picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    Picture->setVisible(!icon.isNull());

    ProgramName = new QLabel("Tunevox", this);
    ProgramName->setObjectName("ProgramName");
    QFont big = ProgramName->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.8);
    ProgramName->setFont(big);

    Version = new QLabel("Version " + version, this);
    Version->setObjectName("Version");

    auto text = [this](const char* name, const QString& content) {
        auto* label = new QLabel(content, this);
        label->setObjectName(name);
        label->setWordWrap(true);
        label->setTextFormat(Qt::RichText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return label;
    };
    Purpose = text("Purpose",
                   "Turns the radio tuner card or serial radio of a PC into a complete radio set.");
    Hardware = text("Hardware",
                    "<b>Receivers it drives</b>"
                    "<table cellspacing='0' cellpadding='0' style='margin-top:4px'><tr>"
                    "<td nowrap style='padding-right:28px'><i>ISA cards</i><br>AimsLab Radiotrack<br>Reveal RA300<br>"
                    "Zoltrix Radio Plus 108<br>Aztech/PB/Express FM radio card</td>"
                    "<td nowrap><i>Serial radios</i><br>Gemtek Wizard Radio and RadioMan<br>Justy RadionMaru<br>"
                    "Unit Rajikoma</td>"
                    "</tr></table>");
    Licence = text("Licence",
                   "Tunevox is free software: you can redistribute it and/or modify it under the terms of "
                   "the GNU General Public License as published by the Free Software Foundation, either "
                   "version 3 of the License, or (at your option) any later version. It comes with "
                   "ABSOLUTELY NO WARRANTY.");
    for (QLabel* l : {Purpose, Hardware, Licence}) l->setFixedWidth(460);

    auto* words = new QVBoxLayout;
    words->setSpacing(8);
    words->addWidget(ProgramName);
    words->addWidget(Version);
    words->addSpacing(4);
    words->addWidget(Purpose);
    words->addWidget(Hardware);
    words->addWidget(Licence);

    auto* top = new QHBoxLayout;
    top->setSpacing(18);
    top->addWidget(Picture, 0, Qt::AlignTop);
    top->addLayout(words, 1);

    btOk = widgets::LayOutDialog(this, top, widgets::tButtonRow().WithoutCancel()).ok;
    // A roomier box than the other dialogs, with a gap above the button.
    layout()->setContentsMargins(18, 18, 18, 12);
    layout()->setSpacing(12);
}

} // namespace tunevox::periphery
