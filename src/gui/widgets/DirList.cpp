#include "gui/widgets/DirList.h"

#include "core/common/Failure.h"
#include "core/common/GamePaths.h"
#include "gui/widgets/FolderRowDelegate.h"

#include <QCollator>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>

#include <algorithm>

namespace {

constexpr int folderRole = Qt::UserRole + 1;
// A slice of listing short enough that the window answers in between.
constexpr qint64 sliceMilliseconds = 10;

QString parentOf(const QString& folder)
{
    return QFileInfo(folder).path();
}

// The folder itself last; "/" or "C:/" first.
QStringList chainTo(const QString& folder)
{
    QStringList chain{folder};
    for (QString above = parentOf(folder); above != chain.first(); above = parentOf(above))
        chain.prepend(above);
    return chain;
}

QString nameOf(const QString& folder)
{
    const QString name = QFileInfo(folder).fileName();
    return name.isEmpty() ? QDir::toNativeSeparators(folder) : name;
}

// Numbers by their value, case ignored: "a1" < "B2" < "b10". Always in
// English, for the same order on every machine: Qt's collator for the C
// locale ignores numbers, and a player's own locale may reorder names
// (Swedish puts "Ä" after "z").
const QCollator& folderOrder()
{
    static const QCollator collator = [] {
        QCollator english(QLocale(QLocale::English));
        english.setNumericMode(true);
        english.setCaseSensitivity(Qt::CaseInsensitive);
        return english;
    }();
    return collator;
}

} // namespace

DirList::DirList(QWidget* parent)
    : QListWidget(parent), m_delegate(new FolderRowDelegate(this)),
      m_path(GamePaths::cleanAbsolute(QDir::currentPath()))
{
    setItemDelegate(m_delegate);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    const int icon = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this) * 3 / 4;
    setIconSize({icon, icon});
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, &DirList::listSlice);
    connect(this, &QListWidget::itemDoubleClicked, this, &DirList::openRow);
    showPath();
}

DirList::~DirList() = default;

QString DirList::path() const
{
    return QDir::toNativeSeparators(m_path);
}

void DirList::setPath(const QString& path)
{
    const QFileInfo folder(path);
    if (path.isEmpty() || !folder.isDir() || !folder.isReadable())
        throw Failure(FailureNumber::DriveNotReady);
    const QString clean = GamePaths::cleanAbsolute(path);
    if (clean == m_path)
        return;
    m_path = clean;
    showPath();
    emit pathChanged(this->path());
}

// The ancestors and the current folder at once, from the path alone; the
// subfolders follow as they are listed.
void DirList::showPath()
{
    clear();
    m_widestName = 0;
    const QStringList chain = chainTo(m_path);
    m_depth = int(chain.size()) - 1;
    for (int depth = 0; depth <= m_depth; ++depth)
        addRow(chain[depth], nameOf(chain[depth]), depth, true);
    setCurrentRow(m_depth);
    fitIndent();
    scrollToCurrentFolder();
    startListing();
}

void DirList::addRow(const QString& folder, const QString& name, int depth, bool open)
{
    auto* row = new QListWidgetItem(name);
    row->setData(Qt::UserRole, depth);
    row->setData(folderRole, folder);
    row->setToolTip(QDir::toNativeSeparators(folder));
    row->setIcon(style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon));
    addItem(row);
    m_widestName = std::max(m_widestName, fontMetrics().horizontalAdvance(name));
}

bool DirList::insideHiddenFolder() const
{
    const QStringList chain = chainTo(m_path);
    return std::any_of(chain.begin(), chain.end(),
                       [](const QString& folder) { return QFileInfo(folder).isHidden(); });
}

void DirList::startListing()
{
    QDir::Filters filter = QDir::Dirs | QDir::NoDotAndDotDot;
    if (insideHiddenFolder())
        filter |= QDir::Hidden;
    m_found.clear();
    m_scan = std::make_unique<QDirIterator>(m_path, filter);
    listSlice();
}

void DirList::listSlice()
{
    QElapsedTimer slice;
    slice.start();
    while (m_scan->hasNext() && !slice.hasExpired(sliceMilliseconds)) {
        QString name = m_scan->nextFileInfo().fileName();
        m_found.push_back({folderOrder().sortKey(name), std::move(name)});
    }
    if (m_scan->hasNext()) {
        m_slices.start();
        return;
    }
    m_slices.stop();
    m_scan.reset();
    addSubfolders();
}

void DirList::addSubfolders()
{
    // Names the collator finds equal ("B2" and "b2", "a01" and "a1") go by
    // their code points, never by the order they were found in.
    std::sort(m_found.begin(), m_found.end(), [](const Subfolder& a, const Subfolder& b) {
        const int order = a.order.compare(b.order);
        return order != 0 ? order < 0 : a.name < b.name;
    });
    const QString parent = m_path.endsWith(u'/') ? m_path : m_path + u'/';
    setUpdatesEnabled(false);
    for (const Subfolder& found : m_found)
        addRow(parent + found.name, found.name, m_depth + 1, false);
    setUpdatesEnabled(true);
    m_found.clear();
    fitIndent();
    scrollToCurrentFolder();
}

void DirList::openRow(const QListWidgetItem* item)
{
    if (item)
        open(item->data(folderRole).toString());
}

// A folder gone since it was listed (a drive taken away) is not opened;
// the list is read again and shows what is left.
void DirList::open(const QString& folder)
{
    try {
        setPath(folder);
    } catch (const Failure&) {
        showPath();
    }
}

void DirList::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        openRow(currentItem());
        break;
    case Qt::Key_Backspace:
        open(parentOf(m_path));
        break;
    default:
        QListWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void DirList::resizeEvent(QResizeEvent* event)
{
    QListWidget::resizeEvent(event);
    fitIndent();
}

void DirList::showEvent(QShowEvent* event)
{
    QListWidget::showEvent(event);
    scrollToCurrentFolder();
}

// The last row brought into view first, then the current folder's: what
// room is left above it shows the ancestors.
void DirList::scrollToCurrentFolder()
{
    if (count() > m_depth) {
        scrollToItem(item(count() - 1));
        scrollToItem(item(m_depth));
    }
}

// At most about 6 pixels a level, fewer (down to 2) where the widest name
// of the deepest level would not fit otherwise; what still does not fit
// loses the start of its name, never its end.
void DirList::fitIndent()
{
    const int deepest = count() > m_depth + 1 ? m_depth + 1 : m_depth;
    const int most = std::max(2, logicalDpiX() / 16);
    const int room =
        viewport()->width() - FolderRowDelegate::marginsWith(iconSize().width()) - m_widestName;
    const int step = deepest == 0 ? most : std::clamp(room / deepest, 2, most);
    if (step != m_delegate->step()) {
        m_delegate->setStep(step);
        doItemsLayout();
    }
}
