#pragma once

class Module1;
class QImage;
class QLabel;

// `mimgset`: the main window's two pictures, brought up to date from the
// Secure Mode setting and the crosshair and reticle choices.
class PictureRoutine {
public:
    explicit PictureRoutine(Module1& module) : m(module) {}

    void mimgset();

    // Puts a picture in a picture box, scaled down to fit the box.
    static void show(QLabel& box, const QImage& picture);

private:
    void showChoices();

    Module1& m;
};
