#pragma once

#include <QCollatorSortKey>
#include <QListWidget>
#include <QString>
#include <QTimer>

#include <memory>
#include <vector>

class FolderRowDelegate;
class QDirIterator;

// The directory list: the current folder's ancestors, each on its own line,
// then the current folder, then its subfolders in natural order, each level
// a little further in. A click or the arrow keys select a row; a double
// click or Enter opens it, which makes it the current folder; Backspace
// opens the parent. Subfolders are listed a slice at a time, so a huge
// folder never stops the window. The current folder's row is always in
// view, with as many of its subfolders below it as fit.
class DirList : public QListWidget {
    Q_OBJECT

public:
    // Starts at the working directory.
    explicit DirList(QWidget* parent = nullptr);
    ~DirList() override;

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

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct Subfolder {
        QCollatorSortKey order; // made while listing, so that sorting is quick
        QString name;
    };

    void showPath();
    void addRow(const QString& folder, const QString& name, int depth, bool open);
    void startListing();
    void listSlice();
    void addSubfolders();
    void openRow(const QListWidgetItem* item);
    void open(const QString& folder);
    void fitIndent();
    void scrollToCurrentFolder();
    bool insideHiddenFolder() const;

    FolderRowDelegate* m_delegate;
    QString m_path;       // clean absolute, with '/' separators
    int m_depth = 0;      // of the current folder; the root is 0
    int m_widestName = 0; // in pixels, of the names listed
    std::unique_ptr<QDirIterator> m_scan;
    std::vector<Subfolder> m_found;
    QTimer m_slices;
};
