#include "gui/widgets/DirList.h"

#include "core/common/Failure.h"
#include "core/common/GamePaths.h"
#include "gui/widgets/FolderRowDelegate.h"

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

qsizetype digitsAt(const QString& text, qsizetype i)
{
    qsizetype end = i;
    while (end < text.size() && text[end].isDigit())
        ++end;
    return end - i;
}

QStringView withoutLeadingZeros(QStringView digits)
{
    while (digits.size() > 1 && digits.front() == u'0')
        digits = digits.sliced(1);
    return digits;
}

// Case-insensitive, numbers by their value ("a1" < "B2" < "b10"), the same
// order in every locale.
int naturalCompare(const QString& a, const QString& b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        const qsizetype digitsA = digitsAt(a, i);
        const qsizetype digitsB = digitsAt(b, j);
        if (digitsA > 0 && digitsB > 0) {
            const QStringView numberA = withoutLeadingZeros(QStringView(a).sliced(i, digitsA));
            const QStringView numberB = withoutLeadingZeros(QStringView(b).sliced(j, digitsB));
            if (numberA.size() != numberB.size())
                return numberA.size() < numberB.size() ? -1 : 1;
            if (const int order = numberA.compare(numberB); order != 0)
                return order;
            i += digitsA;
            j += digitsB;
            continue;
        }
        const QChar foldedA = a[i++].toCaseFolded();
        const QChar foldedB = b[j++].toCaseFolded();
        if (foldedA != foldedB)
            return foldedA < foldedB ? -1 : 1;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return a.compare(b);
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
    while (m_scan->hasNext() && !slice.hasExpired(sliceMilliseconds))
        m_found.append(m_scan->nextFileInfo().fileName());
    if (m_scan->hasNext()) {
        m_slices.start();
        return;
    }
    m_slices.stop();
    m_scan.reset();
    addSubfolders();
    emit listed();
}

void DirList::addSubfolders()
{
    std::sort(m_found.begin(), m_found.end(),
              [](const QString& a, const QString& b) { return naturalCompare(a, b) < 0; });
    const QString parent = m_path.endsWith(u'/') ? m_path : m_path + u'/';
    setUpdatesEnabled(false);
    for (const QString& name : std::as_const(m_found))
        addRow(parent + name, name, m_depth + 1, false);
    setUpdatesEnabled(true);
    m_found.clear();
    fitIndent();
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
