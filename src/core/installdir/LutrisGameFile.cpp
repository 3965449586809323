#include "core/installdir/LutrisGameFile.h"

#include <QList>

#include <charconv>
#include <cstdint>
#include <optional>
#include <utility>

namespace {

struct Line {
    qsizetype indent = 0; // spaces before the text
    QByteArray text;      // the rest, without the line's end
};

QList<Line> linesOf(QByteArray yaml)
{
    if (yaml.startsWith("\xEF\xBB\xBF"))
        yaml.remove(0, 3);
    QList<Line> lines;
    for (QByteArray& text : yaml.split('\n')) {
        if (text.endsWith('\r'))
            text.chop(1);
        qsizetype indent = 0;
        while (indent < text.size() && text[indent] == ' ')
            ++indent;
        lines.append({indent, text.mid(indent)});
    }
    return lines;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t';
}

bool isComment(const QByteArray& text)
{
    return text.startsWith('#');
}

QByteArray withoutComment(const QByteArray& text)
{
    const qsizetype comment = isComment(text) ? 0 : text.indexOf(" #");
    return (comment < 0 ? text : text.left(comment)).trimmed();
}

// "key: rest" or "key:" with a plain or quoted key; nothing for other lines.
std::optional<std::pair<QByteArray, QByteArray>> keyAndRest(const QByteArray& text)
{
    qsizetype colon = -1;
    QByteArray key;
    if (text.startsWith('"') || text.startsWith('\'')) {
        const qsizetype close = text.indexOf(text[0], 1);
        if (close < 0 || text.indexOf(':', close) != close + 1)
            return std::nullopt;
        key = text.mid(1, close - 1);
        colon = close + 1;
    } else {
        colon = text.indexOf(": ");
        if (colon < 0 && text.endsWith(':'))
            colon = text.size() - 1;
        if (colon <= 0)
            return std::nullopt;
        key = text.left(colon).trimmed();
    }
    return std::pair{key, text.mid(colon + 1).trimmed()};
}

// Lines joined as YAML folds them: one line break between two texts becomes
// a space, each further one a line break.
QByteArray folded(const QList<QByteArray>& parts)
{
    QByteArray text;
    int breaks = -1; // none before the first part
    for (const QByteArray& part : parts) {
        if (part.isEmpty() && breaks >= 0) {
            ++breaks;
            continue;
        }
        if (breaks == 0)
            text += ' ';
        text += QByteArray(std::max(breaks, 0), '\n') + part;
        breaks = 0;
    }
    return text;
}

std::optional<QByteArray> plain(const QByteArray& first, const QList<QByteArray>& more)
{
    static const QByteArray indicators = "[]{}*&!|>%@`,";
    if (first.isEmpty() ? more.isEmpty() : indicators.contains(first[0]))
        return std::nullopt;
    QList<QByteArray> parts{withoutComment(first)};
    for (const QByteArray& line : more) {
        if (isComment(line.trimmed()))
            break;
        parts.append(withoutComment(line));
    }
    while (parts.size() > 1 && parts.last().isEmpty())
        parts.removeLast();
    const QByteArray text = folded(parts).trimmed();
    // A mapping or a list below the key is no text.
    if (text.contains(": ") || text.startsWith("- ") || text.endsWith(':'))
        return std::nullopt;
    static const QList<QByteArray> nulls{"", "~", "null", "Null", "NULL"};
    if (nulls.contains(text))
        return std::nullopt;
    return text;
}

// What follows a closing quote may only be a comment.
bool endsCleanly(const QByteArray& rest)
{
    const QByteArray after = rest.trimmed();
    return after.isEmpty() || isComment(after);
}

qsizetype afterLeadingSpace(const QByteArray& joined, qsizetype at)
{
    while (at < joined.size() && isSpace(joined[at]))
        ++at;
    return at;
}

std::optional<QByteArray> singleQuoted(const QByteArray& joined)
{
    qsizetype close = 1;
    for (; close < joined.size(); ++close) {
        if (joined[close] == '\'') {
            if (close + 1 < joined.size() && joined[close + 1] == '\'')
                ++close;
            else
                break;
        }
    }
    if (close >= joined.size() || !endsCleanly(joined.mid(close + 1).split('\n').first()))
        return std::nullopt;
    // A line's own spaces stay at the quotes; around a line break they fold.
    QList<QByteArray> parts = joined.mid(1, close - 1).split('\n');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        QByteArray& part = parts[i];
        while (i + 1 < parts.size() && !part.isEmpty() && isSpace(part.back()))
            part.chop(1);
        if (i > 0)
            part = part.mid(afterLeadingSpace(part, 0));
    }
    return folded(parts).replace("''", "'");
}

void appendUtf8(QByteArray& text, char32_t unit)
{
    text += QString::fromUcs4(&unit, 1).toUtf8();
}

// The escape at joined[at] (after its backslash) appended; where it ends, or
// -1 for one YAML does not know.
qsizetype appendEscape(const QByteArray& joined, qsizetype at, QByteArray& text)
{
    static const QByteArray plainEscapes = "0abtnvfre \"/\\\t";
    static const QByteArray plainValues = QByteArray("\0\a\b\t\n\v\f\r\x1b \"/\\\t", 14);
    const char escape = joined[at];
    if (const qsizetype index = plainEscapes.indexOf(escape); index >= 0) {
        text += plainValues[index];
        return at + 1;
    }
    static const QByteArray named = "N_LP";
    static const char32_t namedValues[] = {0x85, 0xa0, 0x2028, 0x2029};
    if (const qsizetype index = named.indexOf(escape); index >= 0) {
        appendUtf8(text, namedValues[index]);
        return at + 1;
    }
    const int digits = escape == 'x' ? 2 : escape == 'u' ? 4 : escape == 'U' ? 8 : 0;
    if (digits == 0 || at + digits >= joined.size())
        return -1;
    // Exactly so many hex digits: Qt's number reading would take spaces, a
    // sign or "0x" too.
    const char* first = joined.constData() + at + 1;
    std::uint32_t unit = 0;
    if (std::from_chars(first, first + digits, unit, 16).ptr != first + digits || unit > 0x10ffff)
        return -1;
    appendUtf8(text, char32_t(unit));
    return at + digits + 1;
}

std::optional<QByteArray> doubleQuoted(const QByteArray& joined)
{
    QByteArray text;
    qsizetype kept = 0; // what a line break's folding may not take back
    for (qsizetype at = 1; at < joined.size();) {
        const char c = joined[at];
        if (c == '"') {
            if (!endsCleanly(joined.mid(at + 1).split('\n').first()))
                return std::nullopt;
            return text;
        }
        if (c == '\\' && at + 1 < joined.size() && joined[at + 1] == '\n') {
            at = afterLeadingSpace(joined, at + 2);
            kept = text.size();
        } else if (c == '\\') {
            at = at + 1 < joined.size() ? appendEscape(joined, at + 1, text) : -1;
            if (at < 0)
                return std::nullopt;
            kept = text.size();
        } else if (c == '\n') {
            while (text.size() > kept && isSpace(text.back()))
                text.chop(1);
            int breaks = 0;
            for (at = afterLeadingSpace(joined, at + 1); at < joined.size() && joined[at] == '\n';
                 at = afterLeadingSpace(joined, at + 1))
                ++breaks;
            text += breaks == 0 ? QByteArray(" ") : QByteArray(breaks, '\n');
        } else {
            text += c;
            ++at;
            if (!isSpace(c))
                kept = text.size();
        }
    }
    return std::nullopt;
}

// The text that starts as `first` on the key's line and may go on over the
// lines indented further than the key.
std::optional<QString> scalar(const QByteArray& first, const QList<QByteArray>& more)
{
    std::optional<QByteArray> text;
    if (first.startsWith('\'') || first.startsWith('"')) {
        const QByteArray joined = more.isEmpty() ? first : first + '\n' + more.join('\n');
        text = first.startsWith('"') ? doubleQuoted(joined) : singleQuoted(joined);
    } else {
        text = plain(first, more);
    }
    if (!text)
        return std::nullopt;
    return QString::fromUtf8(*text);
}

} // namespace

LutrisGameFile::Game LutrisGameFile::parse(const QByteArray& yaml)
{
    const QList<Line> lines = linesOf(yaml);
    Game game;
    bool inGame = false;
    qsizetype childIndent = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (line.text.isEmpty() || isComment(line.text))
            continue;
        if (line.indent == 0) {
            const auto entry = keyAndRest(line.text);
            inGame = entry && entry->first == "game" && withoutComment(entry->second).isEmpty();
            childIndent = -1;
            continue;
        }
        if (!inGame)
            continue;
        if (childIndent < 0)
            childIndent = line.indent;
        const auto entry = line.indent == childIndent ? keyAndRest(line.text) : std::nullopt;
        if (!entry || (entry->first != "prefix" && entry->first != "exe"))
            continue;
        QList<QByteArray> more;
        for (qsizetype next = i + 1;
             next < lines.size()
             && (lines[next].indent > childIndent || lines[next].text.isEmpty());
             ++next)
            more.append(lines[next].text);
        while (!more.isEmpty() && more.last().isEmpty())
            more.removeLast();
        if (const std::optional<QString> value = scalar(entry->second, more))
            (entry->first == "prefix" ? game.prefix : game.exe) = *value;
    }
    return game;
}
