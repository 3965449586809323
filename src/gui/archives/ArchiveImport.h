#pragma once

#include <QString>

#include <functional>

class MessageSink;
class QWidget;

// The mod's real archives brought into the working folder's "cons" from a
// folder laid out as "cons" is or a .zip or .7z of one, by the import
// program beside this one, which the player follows in a progress dialog.
class ArchiveImport {
public:
    ArchiveImport(MessageSink& sink, QWidget* parent, QString program = besideThisProgram());

    // Asks for the folder or file, imports it and says how it went. True
    // when the archives came in.
    bool run();
    // The same without asking.
    bool importFrom(const QString& path);

    // --import-archives [PATH]: with a PATH, the import program in place of
    // this one, on the terminal; without one, the question in a window (the
    // command line has refused it where there is no screen).
    static int fromCommandLine(int& argc, char* argv[], const QString& path,
                               const std::function<void()>& configureApplication);
    static QString besideThisProgram();

private:
    QString pick() const;

    MessageSink& m_sink;
    QWidget* m_parent;
    QString m_program;
};
