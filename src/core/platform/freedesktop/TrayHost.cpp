#include "core/platform/TrayHost.h"

#include <QByteArray>
#include <QDBusConnection>
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
bool hasX11Tray(xcb_connection_t* x)
{
    if (!x || xcb_connection_has_error(x))
        return false;
    char* host = nullptr;
    int display = 0;
    int screen = 0;
    xcb_parse_display(nullptr, &host, &display, &screen);
    std::free(host);
    const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(screen);
    const auto atom = hold(
        xcb_intern_atom_reply(x, xcb_intern_atom(x, 1, name.size(), name.constData()), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return false;
    const auto owner =
        hold(xcb_get_selection_owner_reply(x, xcb_get_selection_owner(x, atom->atom), nullptr));
    return owner && owner->owner != XCB_WINDOW_NONE;
}

// The call's answer, a boolean or a property holding one; false when none
// came within the timeout.
bool answersTrue(QDBusConnection& bus, const QDBusMessage& call)
{
    const QDBusMessage reply = bus.call(call, QDBus::Block, replyTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    const QVariant value = reply.arguments().constFirst();
    return value.canConvert<QDBusVariant>() ? value.value<QDBusVariant>().variant().toBool()
                                            : value.toBool();
}

bool hasStatusNotifierHost()
{
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage owned = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    owned << watcher;
    QDBusMessage hostRegistered = QDBusMessage::createMethodCall(
        watcher, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    hostRegistered << watcher << QStringLiteral("IsStatusNotifierHostRegistered");
    return answersTrue(bus, owned) && answersTrue(bus, hostRegistered);
}

} // namespace

TrayHost::Answer TrayHost::ask(void* display)
{
    const bool statusNotifierHost = hasStatusNotifierHost();
    return {statusNotifierHost || hasX11Tray(static_cast<xcb_connection_t*>(display)),
            statusNotifierHost};
}
