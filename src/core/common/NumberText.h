#pragma once

class QString;

// Settings that hold numbers are text; they are read as numbers only where
// they are compared with one.
namespace NumberText {
// The whole text as a decimal number; a text that is not one (the empty text
// included) fails with 13.
double read(const QString& text);
} // namespace NumberText
