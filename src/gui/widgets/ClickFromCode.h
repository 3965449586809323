#pragma once

class QAbstractButton;

// Setting a check box or an option button from code runs its click command,
// exactly as the player's click would, but only when the value changes. Qt's
// own setChecked() never runs a click command, so every such setting goes
// through here. The commands are connected to QAbstractButton::clicked.
namespace ClickFromCode {
void setChecked(QAbstractButton& checkBox, bool ticked);
// Turning an option button on turns the others of its group off, which runs
// nothing; turning one off runs nothing.
void turnOn(QAbstractButton& optionButton);
void turnOff(QAbstractButton& optionButton);
} // namespace ClickFromCode
