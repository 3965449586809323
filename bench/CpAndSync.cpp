#include "CpAndSync.h"

#include "ChildProcess.h"
#include "DurableFile.h"

CpAndSync::CpAndSync(std::vector<std::string> options)
    : m_program(ChildProcess::onPath("cp")), m_options(std::move(options))
{
}

void CpAndSync::copy(const std::string& source, const std::string& destination) const
{
    std::vector<std::string> arguments = m_options;
    arguments.insert(arguments.end(), {source, destination});
    const std::string folder = DurableFile::folderOf(destination);
    ChildProcess::run(m_program, arguments, folder);
    DurableFile::syncData(destination);
    DurableFile::syncFolder(folder);
}

std::string CpAndSync::name() const
{
    std::string text = "cp";
    for (const std::string& option : m_options)
        text += ' ' + option;
    return text;
}
