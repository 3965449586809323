#include "core/play/PlayerCommand.h"

#include "core/platform/RegularFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

PlayPlan unusable(const QString& file, const QString& why)
{
    return PlayPlan::refused(
        QStringLiteral("\"%1\" can't be used to start the game: %2.").arg(file, why));
}

// Why a file that is there can't be read as it stands, for the message.
QString unreadable(const QFileInfo& about)
{
    if (!about.isFile())
        return QStringLiteral("it is no plain file");
    if (about.size() > PlayerCommand::largestFile)
        return QStringLiteral("it is larger than %1 KiB").arg(PlayerCommand::largestFile >> 10);
    return QStringLiteral("it can't be read");
}

// Reads one line into the plan; what is wrong with it, or nothing.
class LineReader {
public:
    explicit LineReader(PlayPlan& plan) : m_plan(plan) {}

    QString take(const QString& key, const QString& value)
    {
        if (key == QLatin1String("program"))
            return takeOnce(m_plan.program, value, m_hasProgram);
        if (key == QLatin1String("argument")) {
            m_plan.arguments.append(value);
            return {};
        }
        if (key == QLatin1String("environment"))
            return takeEnvironment(value);
        if (key == QLatin1String("folder")) {
            if (!QDir::isAbsolutePath(value))
                return QStringLiteral("the folder is no absolute path");
            return takeOnce(m_plan.workingFolder, value, m_hasFolder);
        }
        return QStringLiteral("\"%1\" is none of program, argument, environment and folder")
            .arg(key);
    }

    bool hasFolder() const { return m_hasFolder; }

private:
    static QString takeOnce(QString& field, const QString& value, bool& taken)
    {
        if (taken)
            return QStringLiteral("it is given twice");
        if (value.isEmpty())
            return QStringLiteral("it is empty");
        field = value;
        taken = true;
        return {};
    }

    QString takeEnvironment(const QString& entry)
    {
        static const QRegularExpression name(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
        const qsizetype equals = entry.indexOf(u'=');
        if (equals < 0 || !name.match(entry.left(equals)).hasMatch())
            return QStringLiteral("the entry is no NAME=value");
        m_plan.environment.append({entry.left(equals), entry.mid(equals + 1)});
        return {};
    }

    PlayPlan& m_plan;
    bool m_hasProgram = false;
    bool m_hasFolder = false;
};

} // namespace

QString PlayerCommand::fileIn(const QString& workingFolder)
{
    return QDir(workingFolder).filePath(QStringLiteral("play.conf"));
}

std::optional<PlayPlan> PlayerCommand::read(const QString& file, const QString& gameFolder)
{
    const QFileInfo about(file);
    if (about.isSymLink())
        return unusable(file, QStringLiteral("it is a link"));
    if (!about.exists())
        return std::nullopt;
    QByteArray text;
    if (!RegularFile::read(file, largestFile, text))
        return unusable(file, unreadable(about));
    return parse(text, file, gameFolder);
}

PlayPlan PlayerCommand::parse(const QByteArray& text, const QString& file,
                              const QString& gameFolder)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8(text);
    if (utf8.hasError() || text.contains('\0'))
        return unusable(file, QStringLiteral("it is no text"));
    PlayPlan plan;
    LineReader reader(plan);
    const QStringList lines = decoded.split(u'\n');
    for (qsizetype at = 0; at < lines.size(); ++at) {
        const QString line = lines[at].trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        const QString wrong =
            equals < 0 ? QStringLiteral("it is no key=value")
                       : reader.take(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
        if (!wrong.isEmpty())
            return unusable(file, QStringLiteral("line %1: %2").arg(at + 1).arg(wrong));
    }
    if (plan.program.isEmpty())
        return unusable(file, QStringLiteral("it names no program"));
    if (!reader.hasFolder())
        plan.workingFolder = gameFolder;
    plan.description = QStringLiteral("Battlefield 1942 starts as \"%1\" says.").arg(file);
    return plan;
}
