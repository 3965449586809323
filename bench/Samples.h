#pragma once

#include <vector>

// The figures of repeated runs of one piece of work.
class Samples {
public:
    void add(double value) { m_values.push_back(value); }
    double median() const;
    double min() const;
    double max() const;

private:
    std::vector<double> m_values;
};
