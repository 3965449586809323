#pragma once

#include <QWidget>

// The base of the program's windows: a load run once after creation, and an
// unload run when the window is closed, after which it is destroyed.
class ProgramWindow : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    virtual void load() {}

signals:
    void closedForGood();

protected:
    virtual void unload() {}
    void closeEvent(QCloseEvent* event) final;
};
