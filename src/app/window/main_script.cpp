// tdMain: scripts. Programming mode is switched on by the script editor's
// OK or by loading a script file, and off by the same command; the radio
// set runs the script on its clock tick.

#include "app/window/main_window.h"

#include "radioset/radio_set.h"
#include "scripteditor/script_editor_dialog.h"
#include "widgets/glyph_button.h"

namespace tunevox::app {

namespace {

const QString kScriptFilter = "Tunevox scripts (*.tvs);;Plain text (*.txt);;All files (*)";

} // namespace

void tdMain::File_LoadScript() {
    if (set_.Busy()) return;
    if (!set_.Script().actions.empty() &&
        ui_.MessageBox(this, "Warning",
                       "If you load a new script, the\ncurrent script will be erased.\nAre you sure ?",
                       widgets::tMsgIcon::Information, widgets::tMsgButtons::YesNo) != widgets::tMsgResult::Yes)
        return;
    const QString file = ui_.OpenFileName(this, "Load script", kScriptFilter, "tvs");
    if (file.isEmpty()) return;
    switch (set_.LoadScript(file.toStdString())) {
    case script::srCorrupt:
        ui_.MessageBox(this, "Warning", "The script files is corrupt", widgets::tMsgIcon::Error,
                       widgets::tMsgButtons::Ok);
        break;
    case script::srReadError:
        ui_.MessageBox(this, "Warning", "Read error or disk not ready", widgets::tMsgIcon::Error,
                       widgets::tMsgButtons::Ok);
        break;
    case script::srOk: break;
    }
    btProg->setToolTip(QString::fromStdString(set_.ScriptHint()));
}

// The same command switches the mode off, or opens the editor whose OK
// switches it on.
void tdMain::Actions_Prog() {
    if (set_.Busy()) return;
    if (set_.Programming()) {
        set_.SetProgramming(false);
        return;
    }
    RunDialog([&] {
        scripteditor::tdProgr dialog(set_, ui_, [this](const QString& topic) { ShowHelp(topic); }, this);
        const int result = ui_.RunModal(dialog);
        // The file it last used is the one Save offers next time, whichever
        // way it closed.
        set_.SetScriptFile(dialog.FileName());
        if (dialog.OkPressed()) set_.TakeScript(dialog.Result());
        return result;
    });
    btProg->setToolTip(QString::fromStdString(set_.ScriptHint()));
}

// A script's Off: the radio is muted already and nobody may be there to
// answer the exit question, so it ends as a session does: card closed,
// configuration saved, nothing asked.
void tdMain::CloseRequested() { EndSession(); }

} // namespace tunevox::app
