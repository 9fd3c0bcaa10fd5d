#include "widgets/qt_interaction.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

namespace tunevox::widgets {

void QtInteraction::Beep() { QApplication::beep(); }

tMsgResult QtInteraction::MessageBox(QWidget* parent, const QString& caption, const QString& text,
                                     tMsgIcon icon, tMsgButtons buttons) {
    Beep();
    QMessageBox box(parent);
    box.setWindowTitle(caption);
    box.setText(text);
    switch (icon) {
    case tMsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case tMsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case tMsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case tMsgIcon::Error:
    case tMsgIcon::Stop: box.setIcon(QMessageBox::Critical); break;
    }
    if (buttons == tMsgButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return tMsgResult::Yes;
    case QMessageBox::No: return tMsgResult::No;
    case QMessageBox::Ok: return tMsgResult::Ok;
    default: return tMsgResult::Cancel;
    }
}

QString QtInteraction::OpenFileName(QWidget* parent, const QString& caption, const QString& filter,
                                    const QString& defaultSuffix) {
    // A name typed without its extension finds the file with it.
    QFileDialog dialog(parent, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QString QtInteraction::SaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                    const QString& defaultSuffix) {
    QFileDialog dialog(parent, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

int QtInteraction::RunModal(QDialog& dialog) {
    // The main window may have gone to the tray for the dialog: the dialog
    // takes the keyboard itself, or typed keys would go nowhere.
    QTimer::singleShot(0, &dialog, [&dialog] {
        dialog.raise();
        dialog.activateWindow();
    });
    return dialog.exec();
}

} // namespace tunevox::widgets
