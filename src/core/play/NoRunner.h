#pragma once

#include "core/play/Runner.h"

// Where no runner fits the place of the game: a plan refused with why.
class NoRunner : public Runner {
public:
    explicit NoRunner(QString why) : m_why(std::move(why)) {}
    PlayPlan plan() const override { return PlayPlan::refused(m_why); }

private:
    QString m_why;
};
