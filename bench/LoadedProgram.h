#pragma once

#include "AbortingSink.h"
#include "core/gamefiles/GameFiles.h"
#include "gui/app/Module1.h"
#include "gui/app/QtTrayBackend.h"

class BenchFolder;

// The program with its main window loaded from the folder's settings, as the
// windows' commands find it: the real game files and tray, no message boxes.
class LoadedProgram {
public:
    // The folder must be the working directory, as for the program.
    explicit LoadedProgram(const BenchFolder& folder);

    Module1& module() { return m_module; }

private:
    AbortingSink m_sink;
    GameFiles m_gameFiles;
    QtTrayBackend m_tray;
    Module1 m_module;
};
