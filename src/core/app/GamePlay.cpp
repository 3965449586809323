#include "core/app/GamePlay.h"

#include "core/app/ModeSwitch.h"
#include "core/app/Session.h"
#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"
#include "core/common/FailureText.h"
#include "core/common/MessageSink.h"
#include "core/gamefiles/GameFiles.h"
#include "core/platform/GameProcess.h"
#include "core/platform/SingleInstance.h"
#include "core/play/GameRunners.h"
#include "core/play/GameStart.h"
#include "core/settings/SettingsStore.h"

#include <QDir>

namespace {

const QByteArray requestWord = "play";

// One line of text with its break, as every outcome ends.
QString oneLine(const QString& text)
{
    return QString(text).replace(u'\n', u' ').trimmed() + u'\n';
}

// A failure's own first line, where it has one, and its sentence.
QString told(const Failure& failure)
{
    const QString headline = FailureText::headline(failure.number());
    return oneLine((headline.isEmpty() ? QString() : headline + u' ')
                   + FailureText::sentence(failure));
}

QString noInstallDirectory()
{
    return oneLine(QStringLiteral("No install directory of Battlefield 1942 is chosen yet: start "
                                  "Grimtide Switch and choose it."));
}

QString settingsFileIn(const QString& workingFolder)
{
    return QDir(workingFolder).absoluteFilePath(SettingsStore::defaultFileName());
}

// The message the switch's trap would show in a box.
class HeldMessage : public MessageSink {
public:
    void show(const QString& text) override { held = text; }
    QString held;
};

} // namespace

QByteArray GamePlay::Outcome::line() const
{
    return QByteArray::number(exitStatus) + ' ' + oneLine(text).chopped(1).toUtf8();
}

std::optional<GamePlay::Outcome> GamePlay::Outcome::fromLine(const QByteArray& line)
{
    const qsizetype space = line.indexOf(' ');
    bool number = false;
    const int status = line.left(space).toInt(&number);
    if (space < 0 || !number || status < started || status > refused)
        return std::nullopt;
    return Outcome{status, oneLine(QString::fromUtf8(line.sliced(space + 1)))};
}

QByteArray GamePlay::Request::line() const
{
    return mode ? requestWord + ' ' + modeWords().at(int(*mode)).toUtf8() : requestWord;
}

std::optional<GamePlay::Request> GamePlay::Request::fromLine(const QByteArray& line)
{
    const QList<QByteArray> words = line.split(' ');
    if (words.first() != requestWord || words.size() > 2)
        return std::nullopt;
    if (words.size() == 1)
        return Request{};
    const std::optional<GameMode> mode = modeNamed(QString::fromUtf8(words.last()));
    return mode ? std::optional(Request{mode}) : std::nullopt;
}

QStringList GamePlay::modeWords()
{
    // In the order of GameMode.
    return {QStringLiteral("pure"), QStringLiteral("grimtide")};
}

std::optional<GameMode> GamePlay::modeNamed(const QString& word)
{
    const qsizetype index = modeWords().indexOf(word);
    return index < 0 ? std::nullopt : std::optional(GameMode(index));
}

GamePlay::Outcome GamePlay::run(const QString& workingFolder, std::optional<GameMode> mode)
{
    // Held until the game has started: the program, started in the folder
    // meanwhile, never finds the game half-switched.
    InstanceLock lock;
    if (SingleInstance::lockFolder(lock, workingFolder) == InstanceLock::Outcome::HeldByAnother)
        return askRunningCopy(workingFolder, mode);
    return playAlone(workingFolder, mode);
}

GamePlay::Outcome GamePlay::askRunningCopy(const QString& workingFolder,
                                           std::optional<GameMode> mode)
{
    const std::optional<QByteArray> answer =
        SingleInstance::ask(workingFolder, Request{mode}.line());
    std::optional<Outcome> outcome = answer ? Outcome::fromLine(*answer) : std::nullopt;
    if (!outcome) {
        return {refused, oneLine(QStringLiteral("Grimtide Switch runs in this folder but took no "
                                                "request to play; switch and start the game from "
                                                "its window."))};
    }
    outcome->toldInWindow = outcome->exitStatus == refused;
    return *outcome;
}

GamePlay::Outcome GamePlay::playAlone(const QString& workingFolder, std::optional<GameMode> mode)
{
    GameFiles files(workingFolder);
    Session session(files, settingsFileIn(workingFolder));
    try {
        session.load();
    } catch (const Failure& failure) {
        return {refused, told(failure)};
    }
    if (session.record().path.isEmpty())
        return {refused, noInstallDirectory()};
    if (mode && ModeSwitch::switches(session.record().status, *mode)) {
        HeldMessage message;
        if (!ModeSwitch::trapped(ErrorReport(message), *mode, [&] { session.switchTo(*mode); }))
            return {refused, oneLine(message.held)};
    }
    return start(workingFolder, session.record());
}

GamePlay::Outcome GamePlay::dryRun(const QString& workingFolder)
{
    SettingsRecord record;
    try {
        record = SettingsStore(settingsFileIn(workingFolder)).load().record;
    } catch (const Failure& failure) {
        return {notStarted,
                told(failure.at(QDir::toNativeSeparators(settingsFileIn(workingFolder))))};
    }
    if (record.path.isEmpty())
        return {notStarted, noInstallDirectory()};
    const PlayPlan plan = GameRunners::planFor(record.path, QDir::homePath(), workingFolder);
    return {plan.canStart() ? started : notStarted, plan.dryRunText()};
}

GamePlay::Outcome GamePlay::start(const QString& workingFolder, const SettingsRecord& record)
{
    if (const std::optional<QString> game = GameProcess::running())
        return {notStarted, told(Failure(FailureNumber::GameRunning, *game))};
    const PlayPlan plan = GameRunners::planFor(record.path, QDir::homePath(), workingFolder);
    const GameStart::Outcome outcome = GameStart::start(plan);
    if (!outcome.started)
        return {notStarted, oneLine(outcome.reason)};
    return {started, oneLine(QStringLiteral("%1 mode: %2").arg(record.status, plan.description))};
}
