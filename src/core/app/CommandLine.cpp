#include "core/app/CommandLine.h"

#include "core/app/LauncherFolder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>

namespace {

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

QString dashed(const QString& option)
{
    return QStringLiteral("--") + option;
}

} // namespace

CommandLine::CommandLine(QString programName, QString description, QList<Action> actions)
    : m_programName(std::move(programName)), m_description(std::move(description)),
      m_actions(std::move(actions))
{
}

std::optional<int> CommandLine::answer(int argc, char* argv[]) const
{
    if (argc <= 1)
        return std::nullopt;
    Choice choice = read(argc, argv);
    if (choice.status)
        return choice.status;
    choice.request.startedIn = QDir::currentPath();
    if (!LauncherFolder::enter())
        return EXIT_FAILURE;
    // The action runs once the arguments' reader is gone: it may make an
    // application of its own.
    return choice.action->run(choice.request);
}

CommandLine::Choice CommandLine::read(int argc, char* argv[]) const
{
    // The parser's help names the program from the application, which only
    // lives while the arguments are read; it opens no display.
    int count = argc;
    const QCoreApplication reader(count, argv);
    QCoreApplication::setApplicationName(m_programName);
    QCommandLineParser parser;
    parser.setApplicationDescription(m_description);
    // Only these and the actions: the Qt options the widgets library reads
    // are not offered.
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")},
                      QStringLiteral("Displays this help and exits.")});
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Displays version and licence and exits."));
    parser.addOption(version);
    for (const Action& action : m_actions) {
        parser.addOption({action.option, action.description});
        for (const Flag& flag : action.flags)
            parser.addOption({flag.name, flag.description});
        if (!action.argument.isEmpty())
            parser.addPositionalArgument(action.argument, action.argumentDescription,
                                         QStringLiteral("[%1]").arg(action.argument));
    }
    Choice choice;
    const QString refused =
        parser.parse(QCoreApplication::arguments()) ? refusal(parser, choice) : parser.errorText();
    if (!refused.isEmpty()) {
        print(stderr, QStringLiteral("%1: %2 Try '%1 --help'.\n").arg(m_programName, refused));
        choice.status = usageError;
    } else if (parser.isSet(version) || parser.isSet(QStringLiteral("help")) || !choice.action) {
        print(stdout, parser.isSet(version) ? versionText() : parser.helpText());
        choice.status = EXIT_SUCCESS;
    }
    return choice;
}

QString CommandLine::refusal(const QCommandLineParser& parser, Choice& choice) const
{
    QStringList chosen;
    for (const Action& action : m_actions) {
        if (parser.isSet(action.option)) {
            chosen << dashed(action.option);
            choice.action = &action;
        }
    }
    if (chosen.size() > 1)
        return QStringLiteral("%1 can't be given together.")
            .arg(chosen.join(QStringLiteral(" and ")));
    for (const Action& action : m_actions) {
        for (const Flag& flag : action.flags) {
            if (parser.isSet(flag.name) && choice.action != &action)
                return QStringLiteral("%1 goes only with %2.")
                    .arg(dashed(flag.name), dashed(action.option));
            if (parser.isSet(flag.name))
                choice.request.flags << flag.name;
        }
    }
    const QStringList words = parser.positionalArguments();
    const qsizetype taken = choice.action && !choice.action->argument.isEmpty() ? 1 : 0;
    if (words.size() > taken)
        return QStringLiteral("unexpected argument '%1'.").arg(words.at(taken));
    choice.request.argument = words.value(0);
    if (taken && !choice.action->argumentWords.isEmpty() && !choice.request.argument.isEmpty()
        && !choice.action->argumentWords.contains(choice.request.argument))
        return QStringLiteral("%1 takes %2, not '%3'.")
            .arg(dashed(choice.action->option),
                 choice.action->argumentWords.join(QStringLiteral(" or ")),
                 choice.request.argument);
    return choice.action && choice.action->refuses ? choice.action->refuses(choice.request)
                                                   : QString();
}

QString CommandLine::Request::argumentPath() const
{
    return argument.isEmpty() ? QString() : QDir(startedIn).absoluteFilePath(argument);
}

QString CommandLine::versionText() const
{
    return QStringLiteral("%1 %2\n"
                          "Copyright (C) 2026 Grimtide Switch developers\n"
                          "License GPLv3+: GNU GPL version 3 or later "
                          "<https://gnu.org/licenses/gpl.html>.\n"
                          "This is free software: you are free to change and redistribute it.\n"
                          "There is NO WARRANTY, to the extent permitted by law.\n")
        .arg(m_programName, QStringLiteral(GRIMTIDE_VERSION));
}
