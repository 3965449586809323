#pragma once

#include <QString>

#include <exception>

// Why an import brings in nothing: a missing or unfit archive, named with
// the folder or .zip it was looked for in, as one sentence.
class ImportRefusal : public std::exception {
public:
    explicit ImportRefusal(QString reason) : m_reason(std::move(reason)) {}
    const QString& reason() const { return m_reason; }
    const char* what() const noexcept override { return "Grimtide Switch import refused"; }

private:
    QString m_reason;
};
