#pragma once
// The real answers: Qt message boxes with the desktop's beep, the desktop's
// file dialogs, and modal dialogs run by their own event loop.

#include "widgets/interaction.h"

namespace tunevox::widgets {

class QtInteraction final : public IInteraction {
public:
    void Beep() override;
    tMsgResult MessageBox(QWidget* parent, const QString& caption, const QString& text, tMsgIcon icon,
                          tMsgButtons buttons) override;
    QString OpenFileName(QWidget* parent, const QString& caption, const QString& filter,
                         const QString& defaultSuffix) override;
    QString SaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                         const QString& defaultSuffix) override;
    int RunModal(QDialog& dialog) override;
};

} // namespace tunevox::widgets
