#pragma once

#include "gui/app/Form2.h"
#include "gui/app/Module1.h"
#include "support/FakeTray.h"
#include "support/RecordingCopier.h"
#include "support/RecordingSink.h"
#include "support/TestFolder.h"

#include <QWidget>

#include <functional>

class ImageCombo;

// The program as main() makes it, in a fresh working folder, with stand-ins for the message box,
// tray and exit; the row points at the folder's game, but for a first start's (empty) path.
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

    // Shows "Loading" and returns once the start-up has ended.
    void start();
    Form2& main() { return module.mainWindow(); }
    const SettingsRecord& settings() { return module.session().record(); }
    QStringList& messages() { return sink.messages; }
    QString stored(QString SettingsRecord::*f) const { return folder.storedRows().value(0).*f; }
    QString mods(const QString& file) const { return folder.game() + u"/mods/"_qs + file; }

    // The top-level window of that name ("Form3"), or none.
    static QWidget* window(const char* name);
    // A control (or menu item) of the named window, which must exist.
    template <typename Control> static Control* control(const char* window, const char* name)
    {
        QWidget* found = TestProgram::window(window);
        Control* control = found ? found->findChild<Control*>(QString::fromLatin1(name)) : nullptr;
        if (!control)
            qFatal("no %s in %s", name, window);
        return control;
    }
    template <typename Control> Control* inMain(const char* name)
    {
        return control<Control>("Form2", name);
    }

    // Runs the action once "Choose Directory" is on the screen.
    void whenDirectoryChooserShows(std::function<void(QWidget& chooser)> action);
    // Runs the action in the crosshair chooser, then Cancel if the action left it open.
    void withChooserOpen(const std::function<void(QWidget& chooser)>& action);
    // The player picks item N of a chooser list with the keyboard.
    static void pick(ImageCombo& list, int position);
    // Both picked in the chooser opened for it, then OK.
    void choose(int crosshair, int reticle);
};
