// Draws the program's pictures into the folder named on the command line.
// Runs without a QGuiApplication and without fonts: QImage and QPainter only,
// with a built-in pixel font for the numbers and the word "default".

#include <QColor>
#include <QDir>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <QtMath>

#include <array>
#include <cstdio>

namespace {

// ---------------------------------------------------------------- pixel font

constexpr int glyphWidth = 3;
constexpr int glyphHeight = 5;

struct Glyph {
    char letter;
    std::array<quint8, glyphHeight> rows; // bit 2 is the leftmost pixel
};

constexpr std::array<Glyph, 17> glyphs = {{
    {'0', {7, 5, 5, 5, 7}},
    {'1', {2, 6, 2, 2, 7}},
    {'2', {7, 1, 7, 4, 7}},
    {'3', {7, 1, 3, 1, 7}},
    {'4', {5, 5, 7, 1, 1}},
    {'5', {7, 4, 7, 1, 7}},
    {'6', {7, 4, 7, 5, 7}},
    {'7', {7, 1, 1, 2, 2}},
    {'8', {7, 5, 7, 5, 7}},
    {'9', {7, 5, 7, 1, 7}},
    {'d', {1, 1, 7, 5, 7}},
    {'e', {7, 5, 7, 4, 7}},
    {'f', {3, 4, 7, 4, 4}},
    {'a', {7, 1, 7, 5, 7}},
    {'u', {0, 5, 5, 5, 7}},
    {'l', {4, 4, 4, 4, 3}},
    {'t', {2, 7, 2, 2, 3}},
}};

const Glyph& glyphFor(char letter)
{
    for (const Glyph& glyph : glyphs) {
        if (glyph.letter == letter)
            return glyph;
    }
    return glyphs.front();
}

int textWidth(const QByteArray& text, int scale)
{
    return (int(text.size()) * (glyphWidth + 1) - 1) * scale;
}

void drawGlyph(QPainter& painter, QPoint topLeft, const Glyph& glyph, int scale)
{
    for (int row = 0; row < glyphHeight; ++row) {
        for (int column = 0; column < glyphWidth; ++column) {
            if (glyph.rows[row] & (4 >> column))
                painter.fillRect(topLeft.x() + column * scale, topLeft.y() + row * scale, scale,
                                 scale, Qt::black);
        }
    }
}

void drawText(QPainter& painter, QPoint topLeft, const QByteArray& text, int scale)
{
    for (char letter : text) {
        drawGlyph(painter, topLeft, glyphFor(letter), scale);
        topLeft.rx() += (glyphWidth + 1) * scale;
    }
}

// --------------------------------------------------------------- shape marks

enum class MarkKind {
    Plus,
    Cross,
    Tee,
    Bars,
    Dot,
    Ring,
    Chevron,
    Brackets,
    AngleBrackets,
    Diamond,
    Square,
    Triangle,
    Corners,
    MilDots,
    RangeMarks
};

// size and gap are fractions of the shape's radius.
struct Mark {
    MarkKind kind;
    qreal size;
    qreal gap = 0;
};

// The square the shape is drawn in, on the picture's left.
struct Frame {
    QPointF centre;
    qreal radius;
    QPointF at(qreal x, qreal y) const { return centre + QPointF(x, y) * radius; }
};

void drawArms(QPainter& painter, const Frame& frame, const QList<qreal>& degrees, const Mark& mark)
{
    for (qreal angle : degrees) {
        const QPointF direction(qCos(qDegreesToRadians(angle)), qSin(qDegreesToRadians(angle)));
        painter.drawLine(frame.at(direction.x() * mark.gap, direction.y() * mark.gap),
                         frame.at(direction.x() * mark.size, direction.y() * mark.size));
    }
}

void drawDot(QPainter& painter, const Frame& frame, qreal size)
{
    painter.setBrush(Qt::black);
    painter.drawEllipse(frame.centre, size * frame.radius, size * frame.radius);
    painter.setBrush(Qt::NoBrush);
}

void drawRing(QPainter& painter, const Frame& frame, qreal size)
{
    painter.drawEllipse(frame.centre, size * frame.radius, size * frame.radius);
}

void drawPolygon(QPainter& painter, const Frame& frame, int sides, qreal turn, qreal size)
{
    QPolygonF corners;
    for (int side = 0; side < sides; ++side) {
        const qreal angle = qDegreesToRadians(turn + 360.0 * side / sides);
        corners << frame.at(size * qCos(angle), size * qSin(angle));
    }
    painter.drawPolygon(corners);
}

// Draws the polyline given in frame units, and its mirror image left to right.
void drawMirrored(QPainter& painter, const Frame& frame, const QList<QPointF>& points)
{
    QPolygonF right;
    QPolygonF left;
    for (const QPointF& point : points) {
        right << frame.at(point.x(), point.y());
        left << frame.at(-point.x(), point.y());
    }
    painter.drawPolyline(right);
    painter.drawPolyline(left);
}

void drawCorners(QPainter& painter, const Frame& frame, qreal size)
{
    const qreal arm = size * 0.45;
    drawMirrored(painter, frame, {{size, -size + arm}, {size, -size}, {size - arm, -size}});
    drawMirrored(painter, frame, {{size, size - arm}, {size, size}, {size - arm, size}});
}

void drawMilDots(QPainter& painter, const Frame& frame, qreal size)
{
    drawArms(painter, frame, {0, 90, 180, 270}, {MarkKind::Plus, size});
    for (qreal step : {-0.75, -0.5, -0.25, 0.25, 0.5, 0.75}) {
        drawDot(painter, Frame{frame.at(step * size, 0), frame.radius}, 0.07);
        drawDot(painter, Frame{frame.at(0, step * size), frame.radius}, 0.07);
    }
}

void drawRangeMarks(QPainter& painter, const Frame& frame, qreal size)
{
    const QList<QPointF> marks = {{0.8, 0}, {0.55, 0.4}, {0.3, 0.8}};
    for (const QPointF& mark : marks)
        painter.drawLine(frame.at(-mark.x() * size, mark.y()), frame.at(mark.x() * size, mark.y()));
}

void drawMark(QPainter& painter, const Frame& frame, const Mark& mark)
{
    const qreal s = mark.size;
    switch (mark.kind) {
    case MarkKind::Plus:
        return drawArms(painter, frame, {0, 90, 180, 270}, mark);
    case MarkKind::Cross:
        return drawArms(painter, frame, {45, 135, 225, 315}, mark);
    case MarkKind::Tee:
        return drawArms(painter, frame, {0, 90, 180}, mark);
    case MarkKind::Bars:
        return drawArms(painter, frame, {0, 180}, mark);
    case MarkKind::Dot:
        return drawDot(painter, frame, s);
    case MarkKind::Ring:
        return drawRing(painter, frame, s);
    case MarkKind::Chevron:
        return drawMirrored(painter, frame, {{0, mark.gap}, {s * 0.8, mark.gap + s * 0.8}});
    case MarkKind::Brackets:
        return drawMirrored(painter, frame, {{s * 0.6, -s}, {s, -s}, {s, s}, {s * 0.6, s}});
    case MarkKind::AngleBrackets:
        return drawMirrored(painter, frame, {{s * 0.5, -s}, {s, 0}, {s * 0.5, s}});
    case MarkKind::Diamond:
        return drawPolygon(painter, frame, 4, 0, s);
    case MarkKind::Square:
        return drawPolygon(painter, frame, 4, 45, s);
    case MarkKind::Triangle:
        return drawPolygon(painter, frame, 3, -90, s);
    case MarkKind::Corners:
        return drawCorners(painter, frame, s);
    case MarkKind::MilDots:
        return drawMilDots(painter, frame, s);
    case MarkKind::RangeMarks:
        return drawRangeMarks(painter, frame, s);
    }
}

// ------------------------------------------------------------ choice pictures

struct ChoicePicture {
    QSize size;
    QList<Mark> marks;
};

using K = MarkKind;

const QList<ChoicePicture> crosshairs = {
    {{92, 34}, {{K::Plus, 1}}},
    {{93, 35}, {{K::Plus, 1, 0.35}}},
    {{94, 37}, {{K::Cross, 1}}},
    {{94, 31}, {{K::Dot, 0.25}}},
    {{93, 30}, {{K::Ring, 0.8}}},
    {{94, 35}, {{K::Ring, 0.65}, {K::Plus, 1}}},
    {{94, 33}, {{K::Ring, 0.85}, {K::Dot, 0.15}}},
    {{94, 34}, {{K::Tee, 1, 0.3}}},
    {{94, 35}, {{K::Chevron, 1, -0.4}}},
    {{94, 35}, {{K::Brackets, 0.8}, {K::Dot, 0.1}}},
    {{94, 35}, {{K::Diamond, 0.85}}},
    {{94, 35}, {{K::Square, 0.9}, {K::Dot, 0.12}}},
    {{94, 35}, {{K::Cross, 1, 0.4}}},
    {{94, 35}, {{K::Triangle, 0.9}}},
    {{94, 36}, {{K::Ring, 0.45}, {K::Plus, 1, 0.45}}},
    {{94, 36}, {{K::Ring, 0.7}, {K::Cross, 0.7}}},
    {{94, 36}, {{K::AngleBrackets, 0.85}}},
    {{94, 40}, {{K::Corners, 0.8}, {K::Dot, 0.1}}},
    {{94, 40}, {{K::Ring, 0.9}, {K::Ring, 0.45}}},
    {{94, 40}, {{K::Bars, 1, 0.35}, {K::Dot, 0.12}}},
};

const QList<ChoicePicture> reticles = {
    {{98, 38}, {{K::Ring, 0.9}, {K::Plus, 0.9, 0.6}, {K::Dot, 0.1}}},
    {{99, 34}, {{K::MilDots, 1}}},
    {{99, 33}, {{K::Chevron, 0.6, -0.9}, {K::RangeMarks, 1}}},
};

constexpr int numberScale = 3;
constexpr int rightMargin = 6;
constexpr int labelGap = 3;

// The number sits on the right; the first picture also says "default" under it.
void drawCaption(QPainter& painter, QSize size, int number)
{
    const QByteArray digits = QByteArray::number(number);
    const QByteArray label = number == 1 ? QByteArrayLiteral("default") : QByteArray();
    const int numberHeight = glyphHeight * numberScale;
    const int blockHeight = numberHeight + (label.isEmpty() ? 0 : labelGap + glyphHeight);
    const int top = (size.height() - blockHeight) / 2;
    const int right = size.width() - rightMargin;
    drawText(painter, {right - textWidth(digits, numberScale), top}, digits, numberScale);
    if (!label.isEmpty())
        drawText(painter, {right - textWidth(label, 1), top + numberHeight + labelGap}, label, 1);
}

QImage choiceImage(const ChoicePicture& picture, int number)
{
    QImage image(picture.size, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    const qreal half = picture.size.height() / 2.0;
    const Frame frame{{half + 2, half}, half - 4};
    for (const Mark& mark : picture.marks)
        drawMark(painter, frame, mark);
    drawCaption(painter, picture.size, number);
    return image;
}

// --------------------------------------------------------------------- lamps

QImage lampImage(QColor colour)
{
    QImage image(17, 19, QImage::Format_RGB888);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(8.5, 9.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(150, 150, 150));
    painter.drawEllipse(centre, 8, 8);
    painter.setBrush(colour);
    painter.drawEllipse(centre, 6.5, 6.5);
    painter.setBrush(colour.lighter(160));
    painter.drawEllipse(centre + QPointF(-2.5, -2.5), 1.5, 1.5);
    return image;
}

// ---------------------------------------------------------------------- icon

const QColor iconNight(16, 32, 64);
const QColor iconDeep(28, 72, 132);
const QColor iconTeal(0, 150, 170);
const QColor iconFoam(190, 235, 245);
const QColor iconSight(250, 140, 40);

// Antialiased edges are kept, but snapped to a small fixed palette.
QList<QRgb> iconPalette()
{
    QList<QRgb> palette = {qRgba(0, 0, 0, 0), QColor(Qt::white).rgb()};
    const QList<QColor> inks = {iconNight, iconDeep, iconTeal, iconFoam, iconSight};
    for (const QColor& ink : inks) {
        palette << ink.rgb();
        palette << qRgba(ink.red(), ink.green(), ink.blue(), 128);
    }
    palette << QColor(120, 90, 70).rgb() << QColor(125, 145, 105).rgb()
            << QColor(60, 110, 150).rgb() << QColor(100, 190, 205).rgb();
    return palette;
}

QPainterPath wave(qreal top, qreal height)
{
    QPainterPath path(QPointF(0, top));
    for (qreal x = 0; x < 64; x += 32) {
        path.cubicTo(x + 8, top - height, x + 16, top - height, x + 16, top);
        path.cubicTo(x + 24, top + height, x + 32, top + height, x + 32, top);
    }
    path.lineTo(64, 64);
    path.lineTo(0, 64);
    path.closeSubpath();
    return path;
}

// Drawn on a 64-unit square and scaled, so every size comes from the same lines.
void drawEmblem(QPainter& painter)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(iconNight);
    painter.drawEllipse(QPointF(32, 32), 31, 31);
    QPainterPath disc;
    disc.addEllipse(QPointF(32, 32), 29, 29);
    painter.setClipPath(disc);
    painter.fillRect(QRectF(0, 0, 64, 64), iconDeep);
    painter.fillPath(wave(42, 5), iconTeal);
    painter.fillPath(wave(50, 4), iconFoam);
    painter.setClipping(false);
    painter.setPen(QPen(iconSight, 4.5, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(32, 28), 13, 13);
    for (const QLineF& arm : {QLineF(32, 6, 32, 20), QLineF(32, 36, 32, 50), QLineF(10, 28, 24, 28),
                              QLineF(40, 28, 54, 28)})
        painter.drawLine(arm);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(32, 28), 3, 3);
}

QImage iconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    drawEmblem(painter);
    painter.end();
    return image.convertToFormat(QImage::Format_Indexed8, iconPalette(), Qt::ThresholdDither);
}

// ---------------------------------------------------------------------- main

bool save(const QImage& image, const QDir& folder, const QString& name, const char* format)
{
    const QString path = folder.filePath(name);
    if (image.save(path, format))
        return true;
    std::fprintf(stderr, "picturegen: cannot write %s\n",
                 qPrintable(QDir::toNativeSeparators(path)));
    return false;
}

bool saveChoices(const QList<ChoicePicture>& pictures, const QDir& folder, const QString& prefix)
{
    bool saved = true;
    for (int index = 0; index < pictures.size(); ++index) {
        const QString name = prefix + QString::number(index + 1) + QStringLiteral(".bmp");
        saved = save(choiceImage(pictures[index], index + 1), folder, name, "BMP") && saved;
    }
    return saved;
}

bool saveAll(const QDir& folder)
{
    bool saved = saveChoices(crosshairs, folder, QStringLiteral("cr"));
    saved = saveChoices(reticles, folder, QStringLiteral("r")) && saved;
    saved = save(lampImage(QColor(220, 20, 20)), folder, QStringLiteral("lamp_red.bmp"), "BMP")
            && saved;
    saved = save(lampImage(QColor(20, 190, 40)), folder, QStringLiteral("lamp_green.bmp"), "BMP")
            && saved;
    for (int size : {16, 32, 48, 64, 128}) {
        const QString name =
            QStringLiteral("icon") + QString::number(size) + QStringLiteral(".png");
        saved = save(iconImage(size), folder, name, "PNG") && saved;
    }
    return saved;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: picturegen OUTPUT-FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "picturegen: cannot create %s\n", argv[1]);
        return 1;
    }
    return saveAll(folder) ? 0 : 1;
}
