#include "support/ScratchMount.h"

#include <QDir>
#include <QFile>

#include <sys/mount.h>

namespace {

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

} // namespace

ScratchMount ScratchMount::smallTmpfs(const QString& at, int kilobytes)
{
    ScratchMount scratch(at);
    QDir().mkpath(at);
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + 'k';
    scratch.m_mounted = ::mount("tmpfs", native(at).constData(), "tmpfs", 0, options.constData()) == 0;
    return scratch;
}

ScratchMount ScratchMount::readOnlyView(const QString& of, const QString& at)
{
    ScratchMount view(at);
    QDir().mkpath(at);
    if (::mount(native(of).constData(), native(at).constData(), nullptr, MS_BIND, nullptr) != 0)
        return view;
    view.m_mounted = true;
    // A bind mount takes the read-only flag only on a second, remounting call.
    if (::mount(nullptr, native(at).constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
        ::umount(native(at).constData());
        view.m_mounted = false;
    }
    return view;
}

ScratchMount::ScratchMount(ScratchMount&& other) noexcept
    : m_at(other.m_at), m_mounted(other.m_mounted)
{
    other.m_mounted = false;
}

ScratchMount::~ScratchMount()
{
    if (m_mounted)
        ::umount2(native(m_at).constData(), MNT_DETACH);
}
