#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

// A window that comes into being on first use: get() creates it hidden and
// runs its load once. Closing destroys it, and the next get() makes it anew.
template <typename Window> class WindowHolder {
public:
    using Factory = std::function<Window*()>;
    explicit WindowHolder(Factory factory) : m_factory(std::move(factory)) {}
    ~WindowHolder() { delete m_window.data(); }
    WindowHolder(const WindowHolder&) = delete;
    WindowHolder& operator=(const WindowHolder&) = delete;

    Window& get()
    {
        if (!m_window) {
            m_window = m_factory();
            QObject::connect(m_window.data(), &Window::closedForGood, m_window.data(),
                             [this] { forget(); });
            m_window->load();
        }
        return *m_window;
    }

    bool exists() const { return !m_window.isNull(); }

    // Runs the window's close, as its close box would; nothing happens when
    // it does not exist.
    void close()
    {
        if (m_window)
            m_window->close();
    }

private:
    // Deleted later, and from now on gone for us. Not by Qt::WA_DeleteOnClose:
    // QDialog::exec() would delete a dialog that was only hidden.
    void forget()
    {
        m_window->deleteLater();
        m_window.clear();
    }

    Factory m_factory;
    QPointer<Window> m_window;
};
