#pragma once

class QImage;
class QLabel;
struct SettingsRecord;

// `mimgset`: the main window's two pictures, brought up to date from the
// Secure Mode setting and the crosshair and reticle choices. Only the shown
// pictures are read, so the chooser's lists need not exist for them.
namespace PictureRoutine {

void show(const SettingsRecord& settings, QLabel& crosshairBox, QLabel& reticleBox);

// Puts a picture in a picture box at its own size, from the top left corner:
// the shape sits at the left of each picture and stays crisp; what does not
// fit the box is cut off.
void showPicture(QLabel& box, const QImage& picture);

} // namespace PictureRoutine
