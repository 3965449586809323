#include "support/ReadOnlyMount.h"

#include <QDir>
#include <QFile>

#include <sys/mount.h>

ReadOnlyMount::ReadOnlyMount(const QString& of, const QString& at) : m_at(QFile::encodeName(at))
{
    QDir().mkpath(at);
    m_mounted =
        ::mount(QFile::encodeName(of).constData(), m_at.constData(), nullptr, MS_BIND, nullptr)
        == 0;
    // A bind mount takes the read-only flag only on a second, remounting call.
    if (m_mounted
        && ::mount(nullptr, m_at.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr)
               != 0) {
        ::umount(m_at.constData());
        m_mounted = false;
    }
}

ReadOnlyMount::~ReadOnlyMount()
{
    if (m_mounted)
        ::umount2(m_at.constData(), MNT_DETACH);
}
