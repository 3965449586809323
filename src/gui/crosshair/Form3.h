#pragma once

#include "gui/widgets/ProgramDialog.h"

#include "core/crosshair/Catalogue.h"
#include "gui/widgets/ImageList.h"
#include <functional>

class ImageCombo;
class SharedState;
class QLabel;
class QPushButton;
class Twips;

// "Crosshairs": picking an item installs its archive at once; OK stores both
// choices and saves, Cancel only hides. Its two picture lists feed its own
// lists and secure display; the main window reads its pictures alone.
class Form3 : public ProgramDialog {
    Q_OBJECT
public:
    Form3(SharedState& state, std::function<void()> mimgset);

    void load() override;
    // The secure display shows the pinned pictures and the green lamp.
    void showAppearance(bool secure);

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

private:
    void createControls(Twips& twips);
    void pick(const QString& tag, const ImageCombo& list, QString& value, Catalogue::Kind kind);
    void command1Click();

    SharedState& m_state;
    std::function<void()> m_mimgset;
};
