#include "core/app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

namespace {

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

CommandLine::CommandLine(QString programName, QString description, std::optional<Action> action)
    : m_programName(std::move(programName)), m_description(std::move(description)),
      m_action(std::move(action))
{
}

std::optional<int> CommandLine::answer(int argc, char* argv[]) const
{
    if (argc <= 1)
        return std::nullopt;
    if (const std::optional<int> status = read(argc, argv))
        return status;
    // The action runs once the arguments' reader is gone: it may make an
    // application of its own.
    return m_action->run();
}

std::optional<int> CommandLine::read(int argc, char* argv[]) const
{
    // The parser's help names the program from the application, which only
    // lives while the arguments are read; it opens no display.
    int count = argc;
    const QCoreApplication reader(count, argv);
    QCoreApplication::setApplicationName(m_programName);
    QCommandLineParser parser;
    parser.setApplicationDescription(m_description);
    // Only these and the action: the Qt options the widgets library reads
    // are not offered.
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")},
                      QStringLiteral("Displays this help and exits.")});
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Displays version and licence and exits."));
    parser.addOption(version);
    if (m_action)
        parser.addOption({m_action->option, m_action->description});
    if (!parser.parse(QCoreApplication::arguments()) || !parser.positionalArguments().isEmpty()) {
        const QString reason = parser.positionalArguments().isEmpty()
                                   ? parser.errorText()
                                   : QStringLiteral("unexpected argument '%1'.")
                                         .arg(parser.positionalArguments().constFirst());
        print(stderr, QStringLiteral("%1: %2 Try '%1 --help'.\n").arg(m_programName, reason));
        return usageError;
    }
    if (m_action && parser.isSet(m_action->option) && !parser.isSet(version)
        && !parser.isSet(QStringLiteral("help")))
        return std::nullopt;
    print(stdout, parser.isSet(version) ? versionText() : parser.helpText());
    return EXIT_SUCCESS;
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
