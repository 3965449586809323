#pragma once

#include "gui/app/Module1.h"
#include "support/FakeTray.h"
#include "support/RecordingCopier.h"
#include "support/RecordingSink.h"
#include "support/TestFolder.h"

#include <functional>

class Form2;
class Form3;
class Form4;
class ImageCombo;

// The program as main() puts it together, in a fresh working folder of its
// own, with stand-ins for the message box, the tray and the end of the
// process. Its settings row points at the folder's game unless the row names
// a path; a first start keeps the path empty, as the delivered file has it.
class TestProgram {
public:
    enum class Start { Now, Later, First };
    explicit TestProgram(TestFolder::Row row = {}, Start when = Start::Now);

    TestFolder folder;
    RecordingSink sink;
    FakeTray tray;
    RecordingCopier copier;
    int ends = 0;
    Module1 module;

    // Shows "Loading" and returns once the start-up tick has run.
    void start();
    Form2& main() { return module.form2(); }
    Form3& chooser() { return module.form3(); }
    SettingsRecord& settings() { return module.state.settings; }
    QStringList& messages() { return sink.messages; }
    QString stored(QString SettingsRecord::*field) const;
    QString mods(const QString& file) const;
    // Runs the action once the install directory chooser is on the screen.
    void whenChooserShows(std::function<void(Form4&)> action);
    // Opens the crosshair chooser modally, runs the action once it is shown
    // and hides the chooser if the action left it open.
    void withChooserOpen(const std::function<void()>& action);
    // The player picks item N of a chooser list with the keyboard.
    static void pick(ImageCombo& list, int position);
    // The same in the crosshair list of the chooser opened for it; no Ok.
    void pickCrosshair(int position);
};
