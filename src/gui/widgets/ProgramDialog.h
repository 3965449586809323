#pragma once

#include <QDialog>

// The base of the two choosers: a dialog, whose exec() returns once it is
// hidden or destroyed, with a load run once after creation and an unload
// run by its close, after which it is destroyed. Neither chooser has a key
// that closes it: Escape does nothing, and Enter presses no button (the
// buttons are made without autoDefault, so none becomes the default).
class ProgramDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;
    virtual void load() {}

signals:
    void closedForGood();

protected:
    virtual void unload() {}
    void closeEvent(QCloseEvent* event) final;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
};
