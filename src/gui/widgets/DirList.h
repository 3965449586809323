#pragma once

#include <QString>
#include <QTreeView>

class QFileSystemModel;

// The folder tree with one current folder, its path. The player opens a
// folder by making it the current item (click or arrow keys).
class DirList : public QTreeView {
    Q_OBJECT

public:
    // Starts at the working directory.
    explicit DirList(QWidget* parent = nullptr);

    // The current folder's full path in native form, without a trailing
    // separator except for a root ("/", "C:\").
    QString path() const;

    // Makes the folder current and shows it. Throws
    // Failure(FailureNumber::DriveNotReady) if it is not a readable folder,
    // keeping the old path.
    void setPath(const QString& path);

signals:
    // On every change of path(), by the player or by setPath().
    void pathChanged(const QString& path);

private:
    void showCurrent();
    void loaded(const QString& folder);
    void open(const QModelIndex& index);

    QFileSystemModel* m_model;
    QString m_path; // clean absolute, with '/' separators
};
