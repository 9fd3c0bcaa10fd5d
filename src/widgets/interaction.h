#pragma once
// The windows' seam to the user: every message box, file dialog and modal
// window goes through here. The program passes real
// ones; the tests pass scripted ones that answer as a user would, so every
// window runs headless and no test waits for a person. (The radio set's
// own seams, the hardware, the time of day and the timers, are in
// radioset/seams.h.)

#include <QString>

class QDialog;
class QWidget;

namespace tunevox::widgets {

enum class tMsgIcon { Information, Warning, Error, Question, Stop };
enum class tMsgButtons { Ok, YesNo };
enum class tMsgResult { Ok, Yes, No, Cancel };

class IInteraction {
public:
    virtual ~IInteraction() = default;
    // The desktop's default beep, sounded before every message box.
    virtual void Beep() = 0;
    virtual tMsgResult MessageBox(QWidget* parent, const QString& caption, const QString& text,
                                  tMsgIcon icon, tMsgButtons buttons) = 0;
    // An existing file to open; empty when cancelled. filter uses Qt's
    // "Name (*.ext);;Other (*)" form; a name typed without an extension
    // gets defaultSuffix.
    virtual QString OpenFileName(QWidget* parent, const QString& caption, const QString& filter,
                                 const QString& defaultSuffix) = 0;
    virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                 const QString& defaultSuffix) = 0;
    // Shows dialog modally and returns its result (QDialog::Accepted or
    // Rejected, or a dialog's own code).
    virtual int RunModal(QDialog& dialog) = 0;
};

} // namespace tunevox::widgets
