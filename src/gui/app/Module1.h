#pragma once

#include "core/common/ErrorReport.h"
#include "core/app/TrayIconRecord.h"
#include "gui/widgets/WindowHolder.h"
#include "core/settings/SettingsRecord.h"

#include <QString>

#include <functional>

class FileCopier;
class MessageSink;
class TrayBackend;
class Form1;
class Form2;
class Form3;
class Form4;
class ModeSwitch;
class PictureRoutine;

// What the program's windows share: the settings record and the values
// beside it, the windows themselves (each made on first use), the services
// they call on, and the routines of the settings save, the mode switch and
// the pictures.
class Module1 {
public:
    struct Services {
        MessageSink& sink;
        FileCopier& copier;
        TrayBackend& tray;
        QString databaseFile;
        std::function<void()> endProgram; // stops the process at once
    };

    explicit Module1(Services services);
    ~Module1();
    Module1(const Module1&) = delete;
    Module1& operator=(const Module1&) = delete;

    SettingsRecord settings;
    QString modsPath;
    QString loadingFlag; // "1" while the main window loads, "0" afterwards
    TrayIconRecord trayIcon;

    // The loading flag read as a number.
    bool isLoading() const;

    // Writes the whole record as the table's one row. No trap of its own:
    // a failure reaches the calling command's report.
    void msaveset();
    // A settings file that did not load may not be written over with values
    // it never gave; every later save then fails with this number.
    void refuseSavesAfterLoadFailure(int failureNumber);

    void msetp();
    void msetu();
    void mimgset();

    Form1& form1();
    Form2& form2();
    Form3& form3();
    Form4& form4();
    WindowHolder<Form1>& form1Holder() { return m_form1; }
    WindowHolder<Form2>& form2Holder() { return m_form2; }
    WindowHolder<Form3>& form3Holder() { return m_form3; }
    WindowHolder<Form4>& form4Holder() { return m_form4; }

    const ErrorReport& report() const { return m_report; }
    MessageSink& sink() { return m_services.sink; }
    FileCopier& copier() { return m_services.copier; }
    TrayBackend& tray() { return m_services.tray; }
    void endProgram();
    // Another copy was started in this folder: the player wants this one.
    void bringForward();
    bool programEnded() const { return m_ended; }

private:
    Services m_services;
    ErrorReport m_report;
    int m_saveRefusal = 0;
    bool m_ended = false;
    bool m_startedOnce = false;
    WindowHolder<Form1> m_form1;
    WindowHolder<Form2> m_form2;
    WindowHolder<Form3> m_form3;
    WindowHolder<Form4> m_form4;
    std::unique_ptr<ModeSwitch> m_modeSwitch;
    std::unique_ptr<PictureRoutine> m_pictureRoutine;
};
