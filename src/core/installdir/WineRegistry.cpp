#include "core/installdir/WineRegistry.h"

#include "core/platform/RegularFile.h"

#include <QSet>

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

char folded(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

QByteArrayView lineAt(QByteArrayView text, qsizetype start)
{
    const auto* end = static_cast<const char*>(
        std::memchr(text.data() + start, '\n', size_t(text.size() - start)));
    return text.sliced(start, (end ? end - text.data() : text.size()) - start);
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
        // Qt's number reading would take spaces, a sign or "0x" here too.
        const char* digits = quoted.data() + i + 1;
        unsigned unit = 0;
        const char* end = std::from_chars(digits, std::min(digits + 4, quoted.end()), unit, 16).ptr;
        i += end - digits;
        text += QChar(char16_t(unit));
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

// The quoted text of a line "name"="text" or "name"=str(2):"text", still
// escaped; empty for other lines.
QByteArrayView quotedValue(QByteArrayView line)
{
    const qsizetype start = valueStart(line);
    if (start < 0)
        return {};
    const QByteArrayView rest = line.sliced(start);
    for (QByteArrayView kind : {QByteArrayView("=\""), QByteArrayView("=str(2):\"")}) {
        if (rest.startsWith(kind))
            return rest.sliced(kind.size() - 1);
    }
    return {};
}

// The values of one key, as they stand in the file, each once.
struct KeyValues {
    QList<QByteArrayView> quoted; // from the opening quote on
    QSet<QByteArrayView> seen;

    void add(QByteArrayView value)
    {
        if (quoted.size() < WineRegistry::mostValues && !seen.contains(value)) {
            seen.insert(value);
            quoted.append(value);
        }
    }
};

} // namespace

WineRegistry::WineRegistry(const QStringList& keys)
{
    for (const QString& key : keys)
        m_headers.append('[' + key.toLower().toUtf8().replace("\\", "\\\\") + ']');
}

// Which key the header line at `at` opens, or -1. The closing bracket,
// where a header of that length has it, decides for nearly every other
// header at once; only then are the names compared.
qsizetype WineRegistry::keyAt(QByteArrayView text, qsizetype at) const
{
    const char* const line = text.data() + at;
    const qsizetype room = text.size() - at;
    for (qsizetype key = 0; key < m_headers.size(); ++key) {
        const char* const header = m_headers[key].constData();
        const qsizetype length = m_headers[key].size();
        if (length > room || line[length - 1] != ']')
            continue;
        qsizetype i = 1;
        while (i < length && folded(line[i]) == header[i])
            ++i;
        if (i == length)
            return key;
    }
    return -1;
}

// One pass from header to header: '[' opens a header only at a line's start.
QStringList WineRegistry::textValues(QByteArrayView text) const
{
    QList<KeyValues> found(m_headers.size());
    const char* const begin = text.data();
    qsizetype at = 0;
    while (at < text.size()) {
        const auto* bracket =
            static_cast<const char*>(std::memchr(begin + at, '[', size_t(text.size() - at)));
        if (!bracket)
            break;
        at = bracket - begin;
        const qsizetype key = at == 0 || text[at - 1] == '\n' ? keyAt(text, at) : -1;
        if (key < 0) {
            ++at;
            continue;
        }
        at += lineAt(text, at).size() + 1;
        while (at < text.size() && text[at] != '[') {
            const QByteArrayView line = lineAt(text, at);
            if (const QByteArrayView quoted = quotedValue(line); !quoted.isEmpty())
                found[key].add(quoted);
            at += line.size() + 1;
        }
    }
    QStringList values;
    for (const KeyValues& key : found) {
        for (QByteArrayView quoted : key.quoted) {
            const QString value = unescaped(quoted.sliced(1));
            if (values.size() < mostValues && !values.contains(value))
                values.append(value);
        }
    }
    return values;
}

QStringList WineRegistry::textValuesInFile(const QString& file)
{
    if (!RegularFile::read(file, largestFile, m_buffer))
        return {};
    return textValues(QByteArrayView(m_buffer));
}
