#pragma once

#include <QMetaObject>
#include <QObject>
#include <QThreadPool>

#include <functional>
#include <memory>
#include <mutex>

// Work that may wait (a large home, a slow disk, a frozen bus), done on a
// thread of Qt's pool; its result comes back through the event loop of the
// receiver's thread. Dropped before the work ends, it hands nothing back; the
// work itself runs to its end, and the application's end waits for it (the
// program's own end does not).
class PoolTask {
public:
    explicit PoolTask(QObject* receiver) : m_handoff(std::make_shared<Handoff>())
    {
        m_handoff->receiver = receiver;
    }
    // Waits for a result being handed over; its pending delivery dies with
    // the receiver.
    ~PoolTask()
    {
        const std::lock_guard lock(m_handoff->mutex);
        m_handoff->receiver = nullptr;
    }
    PoolTask(const PoolTask&) = delete;
    PoolTask& operator=(const PoolTask&) = delete;

    template <typename Result>
    void start(std::function<Result()> work, std::function<void(const Result&)> take)
    {
        QThreadPool::globalInstance()->start(
            [handoff = m_handoff, work = std::move(work), take = std::move(take)] {
                const Result result = work();
                const std::lock_guard lock(handoff->mutex);
                if (QObject* receiver = handoff->receiver)
                    QMetaObject::invokeMethod(
                        receiver, [take, result] { take(result); }, Qt::QueuedConnection);
            });
    }

private:
    // What the working thread and the receiver share: whether the receiver
    // still takes the result.
    struct Handoff {
        std::mutex mutex;
        QObject* receiver = nullptr;
    };
    std::shared_ptr<Handoff> m_handoff;
};
