#pragma once
// The seams between the main window and the world outside it: the radio
// hardware, the user's answers to message boxes and dialogs, and the time
// of day. The program passes real ones; the tests pass scripted ones, so
// every window runs headless and no test waits for a person or a clock.

#include "radio/radio_types.h"

#include <QDateTime>
#include <QString>

#include <string>

class QDialog;
class QWidget;

namespace tunevox::radio {
class TRadioCard;
}
namespace tunevox::platform {
class ISoundSystem;
class IEventPoster;
}

namespace tunevox::app {

// What the window needs of the hardware, real or emulated.
class ICardHost {
public:
    virtual ~ICardHost() = default;
    virtual radio::TRadioCard& Card() = 0;
    // Whether the I/O ports of a port-card model can be reached (always on
    // emulated hardware). reason says why not.
    virtual bool PortAccessAvailable(radio::tModel model, int port, std::string* reason) = 0;
    // Whether COM n can be opened now (a settings dialog lists only those).
    virtual bool ComPortFree(int com) = 0;
    // The owner's own waits (the settle time after opening some models).
    virtual void Wait(unsigned ms) = 0;
    // The device file that stands for COM n.
    virtual std::string ComDevicePath(int com) const = 0;
    virtual void SetComDevicePath(int com, const std::string& path) = 0;
    virtual bool Emulated() const = 0;
    // The sound card for a mixer window of its own (null: none), and where
    // its change notifications are posted.
    virtual platform::ISoundSystem* Sound() = 0;
    virtual platform::IEventPoster& Events() = 0;
};

enum class tMsgIcon { Information, Warning, Error, Question, Stop };
enum class tMsgButtons { Ok, YesNo };
enum class tMsgResult { Ok, Yes, No, Cancel };

// Every message box, file dialog and modal window of the main window goes
// through here.
class IInteraction {
public:
    virtual ~IInteraction() = default;
    // The desktop's default beep, sounded before every message box.
    virtual void Beep() = 0;
    virtual tMsgResult MessageBox(QWidget* parent, const QString& caption, const QString& text,
                                  tMsgIcon icon, tMsgButtons buttons) = 0;
    // An existing file to open; empty when cancelled. filter uses Qt's
    // "Name (*.ext);;Other (*)" form.
    virtual QString OpenFileName(QWidget* parent, const QString& caption, const QString& filter) = 0;
    virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                 const QString& defaultSuffix) = 0;
    // Shows dialog modally and returns its result (QDialog::Accepted or
    // Rejected, or a dialog's own code).
    virtual int RunModal(QDialog& dialog) = 0;
};

class IClock {
public:
    virtual ~IClock() = default;
    virtual QDateTime Now() const = 0;
};

class SystemClock final : public IClock {
public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
};

} // namespace tunevox::app
