#include "core/installdir/SteamLibraries.h"

#include "core/platform/RegularFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <optional>

namespace {

// Far more than a player's list of libraries ever takes.
constexpr qint64 largestList = 1 << 20;

// The next token of the text: a quoted string (with its escapes undone), a
// brace, or nothing at the end or at a malformed string.
struct Token {
    enum Kind { End, Text, Open, Close } kind = End;
    QByteArray text;
};

Token nextToken(const QByteArray& vdf, qsizetype& at)
{
    while (at < vdf.size() && vdf[at] != '"' && vdf[at] != '{' && vdf[at] != '}')
        ++at;
    if (at >= vdf.size())
        return {};
    const char first = vdf[at++];
    if (first != '"')
        return {first == '{' ? Token::Open : Token::Close, {}};
    Token token{Token::Text, {}};
    for (; at < vdf.size() && vdf[at] != '"'; ++at) {
        if (vdf[at] == '\\' && at + 1 < vdf.size())
            ++at;
        token.text += vdf[at];
    }
    if (at++ >= vdf.size())
        return {};
    return token;
}

bool isNumber(const QByteArray& text)
{
    return !text.isEmpty()
           && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

QByteArray readList(const QString& file)
{
    QByteArray vdf;
    RegularFile::read(file, largestList, vdf);
    return vdf;
}

} // namespace

QStringList SteamLibraries::pathsIn(const QByteArray& vdf)
{
    QStringList paths;
    qsizetype at = 0;
    int depth = 0;
    std::optional<QByteArray> key;
    for (Token token = nextToken(vdf, at); token.kind != Token::End; token = nextToken(vdf, at)) {
        if (token.kind != Token::Text) {
            depth += token.kind == Token::Open ? 1 : -1;
            key.reset();
            continue;
        }
        if (!key) {
            key = token.text;
            continue;
        }
        const bool named = key->compare("path", Qt::CaseInsensitive) == 0 && depth == 2;
        if (named || (isNumber(*key) && depth == 1))
            paths.append(QString::fromUtf8(token.text));
        key.reset();
    }
    return paths;
}

QStringList SteamLibraries::of(const QStringList& installs)
{
    QStringList libraries;
    QSet<QString> seen;
    const auto add = [&](const QString& folder) {
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        if (!canonical.isEmpty() && QFileInfo(canonical).isDir() && !seen.contains(canonical)) {
            seen.insert(canonical);
            libraries.append(folder);
        }
    };
    for (const QString& install : installs)
        add(install);
    for (const QString& install : installs) {
        const QDir dir(install);
        for (const char* list : {"steamapps/libraryfolders.vdf", "config/libraryfolders.vdf"}) {
            for (const QString& path : pathsIn(readList(dir.filePath(QString::fromUtf8(list)))))
                add(path);
        }
    }
    return libraries;
}
