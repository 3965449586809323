#include "LoadedProgram.h"

#include "BenchFolder.h"
#include "gui/app/Form2.h"
#include "gui/crosshair/PictureCatalogue.h"

LoadedProgram::LoadedProgram(const BenchFolder& folder)
    : m_tray(PictureCatalogue::programIcon()),
      m_module({m_sink, m_copier, m_tray, folder.databaseFile(), [] {}})
{
    m_module.form2();
}
