#include "gui/widgets/ClickFromCode.h"

#include <QAbstractButton>

void ClickFromCode::setChecked(QAbstractButton& checkBox, bool ticked)
{
    if (checkBox.isChecked() == ticked)
        return;
    // click() toggles the box and emits clicked() before it returns; it
    // does nothing on a disabled box, so the state is set directly there.
    if (checkBox.isEnabled())
        checkBox.click();
    else
        checkBox.setChecked(ticked);
}

void ClickFromCode::turnOn(QAbstractButton& optionButton)
{
    if (!optionButton.isChecked())
        optionButton.click();
}

void ClickFromCode::turnOff(QAbstractButton& optionButton)
{
    if (!optionButton.isChecked())
        return;
    // An exclusive button can't be unchecked on its own.
    const bool exclusive = optionButton.autoExclusive();
    optionButton.setAutoExclusive(false);
    optionButton.setChecked(false);
    optionButton.setAutoExclusive(exclusive);
}
