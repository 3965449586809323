#include "LoadedProgram.h"

#include "BenchFolder.h"
#include "gui/app/Form2.h"
#include "gui/crosshair/PictureCatalogue.h"

#include <QDir>

LoadedProgram::LoadedProgram(const BenchFolder& folder)
    : m_gameFiles(QDir::currentPath()), m_tray(PictureCatalogue::programIcon()),
      m_module({m_sink, m_gameFiles, m_tray, folder.databaseFile(), [] {}})
{
    m_module.session().load();
    m_module.mainWindow();
}
