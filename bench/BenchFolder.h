#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>

// A portable folder made ready for a run: the built "cons" and a "gtdb.inf"
// whose one row has both packs "yes" and points at a game folder of its own,
// made in the given folder (by default the temporary folder). For a first
// start the row keeps the delivered file's empty path.
class BenchFolder {
public:
    enum class Start { Later, First };
    explicit BenchFolder(const QString& base = QDir::tempPath(), Start start = Start::Later);

    QString path() const { return m_dir.path(); }
    QString file(const QString& relative) const { return m_dir.filePath(relative); }
    QString databaseFile() const { return file(QStringLiteral("gtdb.inf")); }
    QString game() const { return file(QStringLiteral("game")); }
    // The program finds "cons" and "gtdb.inf" in its working directory.
    void enter() const;

private:
    void copyCons() const;
    void makeGameFolders() const;
    void pointSettingsAtGame() const;

    QTemporaryDir m_dir;
};
