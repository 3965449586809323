#pragma once

#include "Comparison.h"

#include <string>
#include <vector>

// The one table the benchmarks print: per row the work, both medians, their
// ratio (ours over the floor, lower is better) against its limit where it has
// one, and the spread of both; notes follow it.
class ResultTable {
public:
    static constexpr double noLimit = 0;
    void addRow(const std::string& work, const std::string& unit, const Comparison& figures,
                double limit);
    void addNote(const std::string& note) { m_notes.push_back(note); }
    void print() const;

    // A number with the given decimals, for rows and notes.
    static std::string number(double value, int decimals);

private:
    struct Row {
        std::string work, unit;
        Comparison figures;
        double limit;
    };
    static void printRow(const Row& row);
    static const char* verdict(const Row& row);

    std::vector<Row> m_rows;
    std::vector<std::string> m_notes;
};
