#include "core/platform/TrayHost.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QString>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr int replyTimeoutMs = 1000;

template <typename Reply> using ReplyHolder = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> ReplyHolder<Reply> hold(Reply* reply)
{
    return ReplyHolder<Reply>(reply, &std::free);
}

// An X11 tray owns the selection _NET_SYSTEM_TRAY_S<screen>.
bool hasX11Tray()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    int screen = 0;
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> x(
        xcb_connect(nullptr, &screen), &xcb_disconnect);
    if (xcb_connection_has_error(x.get()))
        return false;
    const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(screen);
    const auto atom = hold(xcb_intern_atom_reply(
        x.get(), xcb_intern_atom(x.get(), 1, name.size(), name.constData()), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return false;
    const auto owner = hold(xcb_get_selection_owner_reply(
        x.get(), xcb_get_selection_owner(x.get(), atom->atom), nullptr));
    return owner && owner->owner != XCB_WINDOW_NONE;
}

} // namespace

bool TrayHost::present()
{
    return hasStatusNotifierHost() || hasX11Tray();
}

bool TrayHost::hasStatusNotifierHost()
{
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(watcher))
        return false;
    QDBusMessage ask = QDBusMessage::createMethodCall(
        watcher, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    ask << watcher << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(ask, QDBus::Block, replyTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
           && reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}
