#include "gui/mode/ExpansionPacks.h"

#include "gui/app/Form2.h"
#include "gui/app/Module1.h"

#include <QCheckBox>
#include <QLabel>

void ExpansionPacks::check1Click()
{
    Form2& main = m.form2();
    packClick(QStringLiteral("check1"), *main.Check1, m.settings.rtr, *main.Label7);
}

void ExpansionPacks::check2Click()
{
    Form2& main = m.form2();
    packClick(QStringLiteral("check2"), *main.Check2, m.settings.sw, *main.Label8);
}

void ExpansionPacks::packClick(const QString& tag, const QCheckBox& box, QString& value,
                               QLabel& label)
{
    m.report().trap(tag, [&] {
        value = box.isChecked() ? QStringLiteral("yes") : QStringLiteral("no");
        label.setText(value);
        if (!m.isLoading())
            m.msaveset();
    });
}
