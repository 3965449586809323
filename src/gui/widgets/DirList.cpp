#include "gui/widgets/DirList.h"

#include "core/common/Failure.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>

namespace {

QString cleanAbsolute(const QString& path)
{
    return QDir::cleanPath(QFileInfo(QDir::fromNativeSeparators(path)).absoluteFilePath());
}

} // namespace

DirList::DirList(QWidget* parent)
    : QTreeView(parent), m_model(new QFileSystemModel(this)), m_path(cleanAbsolute(QDir::currentPath()))
{
    m_model->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    m_model->setRootPath(m_path);
    setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column)
        hideColumn(column);
    setHeaderHidden(true);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &DirList::open);
    connect(m_model, &QFileSystemModel::directoryLoaded, this, &DirList::loaded);
    showCurrent();
}

QString DirList::path() const
{
    return QDir::toNativeSeparators(m_path);
}

void DirList::setPath(const QString& path)
{
    const QFileInfo folder(path);
    if (path.isEmpty() || !folder.isDir() || !folder.isReadable())
        throw Failure(FailureNumber::DriveNotReady);
    const QString clean = cleanAbsolute(path);
    if (clean == m_path)
        return;
    m_path = clean;
    m_model->setRootPath(m_path);
    showCurrent();
    emit pathChanged(this->path());
}

void DirList::showCurrent()
{
    const QModelIndex current = m_model->index(m_path);
    if (!current.isValid())
        return;
    for (QModelIndex above = current.parent(); above.isValid(); above = above.parent())
        expand(above);
    expand(current);
    setCurrentIndex(current);
    scrollTo(current);
}

// The model fills folders in later, moving rows; only the loads that move the
// current row or show its subfolders bring it back into view.
void DirList::loaded(const QString& folder)
{
    const QString clean = cleanAbsolute(folder);
    if (clean == m_path || clean == QFileInfo(m_path).absolutePath())
        showCurrent();
}

// Reached for the code's own selection too; that one already is m_path.
void DirList::open(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    const QString opened = cleanAbsolute(m_model->filePath(index));
    if (opened == m_path)
        return;
    m_path = opened;
    emit pathChanged(path());
}
