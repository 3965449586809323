#include "support/TestProgram.h"

#include "gui/app/Form1.h"
#include "gui/app/Form2.h"
#include "gui/installdir/Form4.h"
#include "support/TestFolder.h"

#include <QTest>
#include <QTimer>

TestProgram::TestProgram(const TestFolder& folder)
    : module({sink, copier, tray, folder.databaseFile(), [this] { ++ends; }})
{
}

void TestProgram::start()
{
    Form1& loading = module.form1();
    loading.show();
    if (!QTest::qWaitFor([&] { return !loading.Timer1.isActive(); }, 10000))
        qFatal("the start-up tick never ran");
}

void TestProgram::whenChooserShows(std::function<void(Form4&)> action)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [this, poll, action] {
        if (!module.form4Holder().exists() || !module.form4().isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        action(module.form4());
    });
    poll->start(10);
}
