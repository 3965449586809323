#include "app/Form1.h"
#include "app/MessageBoxSink.h"
#include "app/Module1.h"
#include "app/QtTrayBackend.h"
#include "app/SingleInstance.h"
#include "crosshair/PictureCatalogue.h"
#include "mode/SafeFileCopier.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QFont>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Grimtide Switch"));
    // The program ends only through its own two ways out; a hidden main
    // window is not the last window closing.
    QApplication::setQuitOnLastWindowClosed(false);
    // The windows' twip layout leaves room for captions in a narrow 8-point
    // sans serif; the desktop's wider default would clip "Crosshair:" and
    // push "&Select Crosshair" off the menu bar. The first family present wins.
    QFont designFont = QApplication::font();
    designFont.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                            QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                            designFont.family()});
    designFont.setPointSize(8);
    QApplication::setFont(designFont);

    SingleInstance instance(QDir::currentPath());
    if (!instance.isFirst())
        return EXIT_SUCCESS;

    MessageBoxSink sink;
    SafeFileCopier copier;
    QtTrayBackend tray(PictureCatalogue::programIcon());
    Module1 module({sink, copier, tray, SettingsStore::defaultFileName(), [&instance] {
                        instance.release();
                        std::fflush(nullptr);
                        std::_Exit(EXIT_SUCCESS);
                    }});
    QObject::connect(&instance, &SingleInstance::calledForward, [&module] { module.bringForward(); });
    module.form1().show();
    return app.exec();
}
