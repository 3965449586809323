#pragma once

#include <QString>

class Failure;

// Every failure number in plain words, in one table: the sentence that stands
// below a message's first line and says what failed and where, and for the
// few failures that explain themselves, the first line too.
namespace FailureText {
// The first line of a failure that every command tells in plain words
// instead of its report; empty for the others.
QString headline(int number);
// One sentence naming what failed and the file or folder, as a player would
// understand it, with the failure's advice after a colon.
QString sentence(const Failure& failure);
// False for a number the table does not know, which gets a general sentence.
bool knows(int number);
} // namespace FailureText
