#pragma once

#include "core/app/SharedState.h"
#include "core/common/ErrorReport.h"
#include "core/crosshair/SecureMode.h"
#include "core/crosshair/SecureView.h"
#include "gui/widgets/WindowHolder.h"

#include <QString>

#include <functional>
#include <optional>

class GameFileWriter;
class MessageSink;
class TrayBackend;
class Form1;
class Form2;
class Form3;
class Form4;

// Where the program is put together: the state the commands share, the
// windows (each made on first use, and reached by the others only through
// here), the tray, and the shared routines under their own names.
class Module1 : private SecureView {
public:
    struct Services {
        MessageSink& sink;
        GameFileWriter& gameFiles;
        TrayBackend& tray;
        QString databaseFile;
        std::function<void()> endProgram; // stops the process at once
    };

    explicit Module1(Services services);
    ~Module1() override;
    Module1(const Module1&) = delete;
    Module1& operator=(const Module1&) = delete;

    SharedState state;

    void msaveset() { state.msaveset(); }
    void msetp();
    void msetu();
    void mimgset() override;

    SecureMode& secureMode() { return m_secureMode; }

    Form1& form1();
    Form2& form2();
    Form3& form3();
    Form4& form4();
    WindowHolder<Form1>& form1Holder() { return m_form1; }
    WindowHolder<Form3>& form3Holder() { return m_form3; }
    WindowHolder<Form4>& form4Holder() { return m_form4; }

    const ErrorReport& report() const { return m_report; }
    TrayBackend& tray() { return m_services.tray; }
    void endProgram();
    // As the player's close of the main window: the save, the icon, the end.
    void closeMainWindow();
    // Another copy was started in this folder: the player wants this one.
    void bringForward();
    // In the program endProgram never returns; where it does (in tests),
    // a command that ended the program stops here.
    bool programEnded() const { return m_ended; }

private:
    void showSecureAppearance(bool secure) override;
    Form3* makeForm3();

    Services m_services;
    ErrorReport m_report;
    SecureMode m_secureMode;
    bool m_ended = false;
    // Secure Mode's last word on the chooser's appearance, for the chooser
    // that exists or the next one made; none since it was last made.
    std::optional<bool> m_chooserAppearance;
    WindowHolder<Form1> m_form1;
    WindowHolder<Form2> m_form2;
    WindowHolder<Form3> m_form3;
    WindowHolder<Form4> m_form4;
};
