#include "core/installdir/WineRegistry.h"

#include <QByteArrayView>
#include <QFile>

#include <array>

namespace {

// A prefix's system.reg is a few MiB; one far larger is no registry of ours
// to read.
constexpr qint64 largestRegistry = 32 << 20;

QByteArrayView lineAt(QByteArrayView text, qsizetype start)
{
    const qsizetype end = text.indexOf('\n', start);
    return text.sliced(start, (end < 0 ? text.size() : end) - start);
}

char folded(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Where the needle (lower case) stands in the text from `from` on, its
// letters in any case; -1 if nowhere. Skips by the last byte of each window
// as Horspool's search does, so a long key is found by looking at a fraction
// of a large file.
qsizetype indexOfCaseless(QByteArrayView text, const QByteArray& needle, qsizetype from)
{
    const qsizetype length = needle.size();
    std::array<qsizetype, 256> skip;
    skip.fill(length);
    for (qsizetype i = 0; i + 1 < length; ++i)
        skip[uchar(needle[i])] = length - 1 - i;
    for (qsizetype at = from; at + length <= text.size();) {
        qsizetype i = length - 1;
        while (i >= 0 && folded(text[at + i]) == needle[i])
            --i;
        if (i < 0)
            return at;
        at += skip[uchar(folded(text[at + length - 1]))];
    }
    return -1;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f')
        return (c | 0x20) - 'a' + 10;
    return -1;
}

// Undoes the file's escapes: "\\", "\"", "\n" and "\x" with up to four hex
// digits for one UTF-16 unit. Stops at the closing quote.
QString unescaped(QByteArrayView quoted)
{
    QString text;
    for (qsizetype i = 0; i < quoted.size() && quoted[i] != '"'; ++i) {
        if (quoted[i] != '\\' || i + 1 == quoted.size()) {
            text += QLatin1Char(quoted[i]);
            continue;
        }
        const char escape = quoted[++i];
        if (escape != 'x') {
            text += escape == 'n' ? QChar(u'\n') : QChar(QLatin1Char(escape));
            continue;
        }
        char16_t unit = 0;
        for (int digits = 0; digits < 4 && i + 1 < quoted.size() && hexDigit(quoted[i + 1]) >= 0;
             ++digits)
            unit = char16_t(unit * 16 + hexDigit(quoted[++i]));
        text += QChar(unit);
    }
    return text;
}

// Where the value of a line "name"=... or @=... (the key's default) starts;
// -1 for any other line.
qsizetype valueStart(QByteArrayView line)
{
    if (line.startsWith('@'))
        return 1;
    for (qsizetype i = 1; line.startsWith('"') && i < line.size(); ++i) {
        if (line[i] == '\\')
            ++i;
        else if (line[i] == '"')
            return i + 1;
    }
    return -1;
}

// The value of a line "name"="text" or "name"=str(2):"text"; null for others.
QString textValue(QByteArrayView line)
{
    const qsizetype start = valueStart(line);
    if (start < 0)
        return {};
    const QByteArrayView rest = line.sliced(start);
    for (QByteArrayView kind : {QByteArrayView("=\""), QByteArrayView("=str(2):\"")}) {
        if (rest.startsWith(kind))
            return unescaped(rest.sliced(kind.size()));
    }
    return {};
}

void collectValues(QByteArrayView text, qsizetype from, QStringList& values)
{
    for (qsizetype at = from; at < text.size() && text[at] != '[';) {
        const QByteArrayView line = lineAt(text, at);
        const QString value = textValue(line);
        if (!value.isNull())
            values.append(value);
        at += line.size() + 1;
    }
}

} // namespace

QStringList WineRegistry::textValues(const QByteArray& registry, const QStringList& keys)
{
    const QByteArrayView text(registry);
    QStringList values;
    for (const QString& key : keys) {
        const QByteArray header = "\n[" + key.toLower().toUtf8().replace("\\", "\\\\") + ']';
        for (qsizetype at = indexOfCaseless(text, header, 0); at >= 0;
             at = indexOfCaseless(text, header, at + 1))
            collectValues(text, at + 1 + lineAt(text, at + 1).size() + 1, values);
    }
    return values;
}

QStringList WineRegistry::textValues(const QString& file, const QStringList& keys)
{
    QFile registry(file);
    if (registry.size() > largestRegistry || !registry.open(QIODevice::ReadOnly))
        return {};
    return textValues(registry.read(registry.size()), keys);
}
