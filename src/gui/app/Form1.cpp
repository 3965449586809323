#include "gui/app/Form1.h"

#include "gui/app/Form2.h"
#include "gui/app/Module1.h"
#include "gui/widgets/Twips.h"

#include <QLabel>
#include <QVBoxLayout>

Form1::Form1(Module1& module)
    : ProgramWindow(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                                 | Qt::CustomizeWindowHint),
      m_module(module)
{
    setWindowTitle(QStringLiteral("Loading"));
    setFixedSize(Twips(*this).size(1155, 285));
    Timer1.setInterval(1);
    connect(&Timer1, &QTimer::timeout, this, &Form1::timer1Tick);
    Timer1.start();
}

void Form1::timer1Tick()
{
    // Stopped first: the load runs modal windows, inside which a running
    // timer would tick again, and a failed tick must not repeat.
    Timer1.stop();
    m_module.report().trap(QStringLiteral("timer1"), [this] {
        Form2& main = m_module.form2();
        if (m_module.programEnded())
            return;
        main.show();
        hide();
    });
}
