#pragma once
// The tip of the day: one line of a plain text file of tips, shown in a
// small modal window with a button for another tip and a check box that
// decides whether tips come up at the next start.
//
// TTipOfTheDayDlg is the component the main window keeps; Execute builds
// the window tTipOfTheDayForm for one showing and reads the check box back.

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;

namespace tunevox::periphery {

// A whole number from 0 to bound - 1 (bound >= 1). Tests hand in a fixed
// sequence; the program uses the system's generator.
using tRandom = std::function<int(int bound)>;

// What the tips file yields: every line (any of the three line endings,
// a UTF-8 byte order mark dropped, a final line ending adds no line), or
// ok false when the file cannot be opened or read.
struct tTipLines {
    bool ok = false;
    QStringList lines;
};
tTipLines ReadTipLines(const QString& fileName);

class tTipOfTheDayForm : public QDialog {
    Q_OBJECT
public:
    tTipOfTheDayForm(const QString& tipFile, tRandom random, QWidget* parent = nullptr);

    // Loads the file and shows a random tip, never the file's last line
    // (unless it is its only line) and never a blank one. A file that cannot
    // be read or holds no tip gives the "Sorry" texts and a disabled
    // "Next Tip".
    void FormShow();
    // Another tip, never the one shown. Files with fewer than two tips to
    // choose from have "Next Tip" disabled, so nothing is ever waited for.
    void NextBtnClick();

    // The index (into the file's lines) of the tip shown, -1 for none.
    int ShownLine() const { return shown_; }
    const QStringList& Lines() const { return lines_; }

    // The desktop session is ending: the window closes, calls the shutdown
    // function and ends the application.
    void SessionEnding();
    void SetOnShutdown(std::function<void()> onShutdown) { onShutdown_ = std::move(onShutdown); }

    QLabel* Bulb = nullptr;
    QLabel* DiduKnow = nullptr;
    QLabel* Tip = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* NextBtn = nullptr;
    QCheckBox* ShowTips = nullptr;

    void done(int result) override;

private:
    int Draw(int bound);
    void ShowLine(int candidate);
    void GrowToFit();

    QString tipFile_;
    tRandom random_;
    QStringList lines_;
    std::vector<int> candidates_;  // lines that may be drawn
    int shownCandidate_ = -1;
    int shown_ = -1;
    bool endSession_ = false;
    std::function<void()> onShutdown_;
};

class TTipOfTheDayDlg {
public:
    // An empty random source means the system's generator.
    explicit TTipOfTheDayDlg(tRandom random = {});

    // The full name of the tips file.
    const QString& TipFile() const { return tipFile_; }
    void SetTipFile(const QString& fileName) { tipFile_ = fileName; }
    // The check box "Show Tips at Startup" before and after Execute.
    bool ShowOnStart() const { return showOnStart_; }
    void SetShowOnStart(bool on) { showOnStart_ = on; }
    // Called when the desktop session ends while the window is open, just
    // before the application ends.
    void SetOnShutdown(std::function<void()> onShutdown) { onShutdown_ = std::move(onShutdown); }

    // Builds the window, shows a tip and runs it modally through `run`
    // (exec() when empty; the main window passes its dialog protocol),
    // then reads the check box back into ShowOnStart. Returns run's result.
    int Execute(QWidget* parent = nullptr, const std::function<int(QDialog&)>& run = {});

private:
    QString tipFile_;
    bool showOnStart_ = false;
    std::function<void()> onShutdown_;
    tRandom random_;
};

} // namespace tunevox::periphery
