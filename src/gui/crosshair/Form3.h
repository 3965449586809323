#pragma once

#include "gui/widgets/ProgramDialog.h"

#include "core/crosshair/Catalogue.h"
#include "gui/widgets/ImageList.h"

class ErrorReport;
class ImageCombo;
class Session;
class QLabel;
class QPushButton;
class Twips;

// "Crosshairs": picking an item installs its archive at once; OK keeps both
// choices and saves; Cancel, and the close box, put back the archives the
// game held when the window opened. Its two picture lists feed its own lists
// and secure display; the main window reads its pictures alone. Each control
// is named (objectName) as in the window's table.
class Form3 : public ProgramDialog {
    Q_OBJECT
public:
    Form3(Session& session, const ErrorReport& report);

    void load() override;
    // The secure display shows the pinned pictures and the green lamp.
    void showAppearance(bool secure);

protected:
    void showEvent(QShowEvent* event) override;
    void unload() override;

private:
    ImageCombo* ImageCombo2;
    ImageCombo* ImageCombo1;
    QPushButton* Command1;
    QPushButton* Command2;
    QLabel* Label1;
    QLabel* Image4;
    QLabel* Image3;
    QLabel* Image1;
    QLabel* Image2;
    ImageList ImageList1;
    ImageList ImageList2;

    void createControls(Twips& twips);
    void pick(const QString& tag, ImageCombo& list, Catalogue::Kind kind);
    void command1Click();
    void command2Click();
    // Both lists as they were when the window opened: the picks are gone.
    void showOpenedChoices();

    Session& m_session;
    const ErrorReport& m_report;
    // Each list's item when the window opened, and the one the game holds now.
    int m_openedWith[2] = {0, 0};
    int m_held[2] = {0, 0};
};
