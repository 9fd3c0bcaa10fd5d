#pragma once
// Answers the window's questions the way a test scripted them, and keeps
// what was asked, so a test reads the message texts a user would have seen.

#include "widgets/interaction.h"

#include <QDialog>
#include <QStringList>

#include <deque>
#include <functional>
#include <stdexcept>

namespace tunevox::test {

using widgets::IInteraction;
using widgets::tMsgButtons;
using widgets::tMsgIcon;
using widgets::tMsgResult;

struct ShownBox {
    QString caption;
    QString text;
    tMsgIcon icon;
    tMsgButtons buttons;
};

class ScriptedInteraction final : public IInteraction {
public:
    std::deque<tMsgResult> boxAnswers;      // in order; Yes/Ok when empty
    std::deque<QString> fileAnswers;        // empty string: cancelled
    // Each runs on the dialog as a user would (fill fields, press a button)
    // and returns the dialog's result.
    std::deque<std::function<int(QDialog&)>> dialogAnswers;
    std::function<void()> duringDialog;     // runs inside every modal window
    std::function<void()> duringBox;        // runs inside every message box
    std::vector<ShownBox> boxes;
    QStringList dialogsShown;               // object names
    QStringList fileFilters, fileSuffixes;  // of every file dialog asked for
    int beeps = 0;

    void Beep() override { ++beeps; }
    tMsgResult MessageBox(QWidget*, const QString& caption, const QString& text, tMsgIcon icon,
                          tMsgButtons buttons) override {
        Beep();
        boxes.push_back({caption, text, icon, buttons});
        if (duringBox) duringBox();
        if (boxAnswers.empty()) return buttons == tMsgButtons::YesNo ? tMsgResult::Yes : tMsgResult::Ok;
        tMsgResult r = boxAnswers.front();
        boxAnswers.pop_front();
        return r;
    }
    QString OpenFileName(QWidget*, const QString&, const QString& filter, const QString& suffix) override {
        fileFilters << filter;
        fileSuffixes << suffix;
        return NextFile();
    }
    QString SaveFileName(QWidget*, const QString&, const QString& filter, const QString& suffix) override {
        fileFilters << filter;
        fileSuffixes << suffix;
        return NextFile();
    }
    int RunModal(QDialog& dialog) override {
        dialogsShown << dialog.objectName();
        if (duringDialog) duringDialog();
        if (dialogAnswers.empty()) throw std::logic_error("unexpected dialog " + dialog.objectName().toStdString());
        auto answer = std::move(dialogAnswers.front());
        dialogAnswers.pop_front();
        return answer(dialog);
    }

private:
    QString NextFile() {
        if (fileAnswers.empty()) return {};
        QString f = fileAnswers.front();
        fileAnswers.pop_front();
        return f;
    }
};

} // namespace tunevox::test
