#include "app/Form1.h"
#include "app/MessageBoxSink.h"
#include "app/Module1.h"
#include "app/QtTrayBackend.h"
#include "crosshair/PictureCatalogue.h"
#include "mode/SafeFileCopier.h"
#include "settings/SettingsStore.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Grimtide Switch"));
    // The program ends only through its own two ways out; a hidden main
    // window is not the last window closing.
    QApplication::setQuitOnLastWindowClosed(false);

    MessageBoxSink sink;
    SafeFileCopier copier;
    QtTrayBackend tray(PictureCatalogue::programIcon());
    Module1 module({sink, copier, tray, SettingsStore::defaultFileName(), [] {
                        std::fflush(nullptr);
                        std::_Exit(EXIT_SUCCESS);
                    }});
    module.form1().show();
    return app.exec();
}
