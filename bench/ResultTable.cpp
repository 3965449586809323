#include "ResultTable.h"

#include <cstdio>

namespace {

const char* const rowFormat = "%-42s %12s %12s %6s %7s %-6s %20s %20s\n";

std::string withUnit(double value, const std::string& unit)
{
    return ResultTable::number(value, 1) + ' ' + unit;
}

std::string spread(const Samples& samples, const std::string& unit)
{
    return ResultTable::number(samples.min(), 1) + "-" + withUnit(samples.max(), unit);
}

} // namespace

std::string ResultTable::number(double value, int decimals)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

void ResultTable::addRow(const std::string& work, const std::string& unit,
                         const Comparison& figures, double limit)
{
    m_rows.push_back({work, unit, figures, limit});
}

void ResultTable::printRow(const Row& row)
{
    const Comparison& f = row.figures;
    const double ratio = f.ratio();
    std::printf(rowFormat, row.work.c_str(), withUnit(f.ours.median(), row.unit).c_str(),
                withUnit(f.floor.median(), row.unit).c_str(), number(ratio, 2).c_str(),
                row.limit == noLimit ? "" : ("<=" + number(row.limit, 2)).c_str(), verdict(row),
                spread(f.ours, row.unit).c_str(), spread(f.floor, row.unit).c_str());
}

const char* ResultTable::verdict(const Row& row)
{
    if (row.limit == noLimit)
        return "";
    return row.figures.ratio() <= row.limit ? "met" : "MISSED";
}

void ResultTable::print() const
{
    std::printf(rowFormat, "work", "ours", "floor", "ratio", "target", "", "ours min-max",
                "floor min-max");
    for (const Row& row : m_rows)
        printRow(row);
    for (const std::string& note : m_notes)
        std::printf("%s\n", note.c_str());
    std::fflush(stdout);
}
