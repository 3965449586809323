#include "support/TestProgram.h"

#include "gui/app/Form1.h"
#include "gui/app/Form2.h"
#include "support/TestFolder.h"

#include <QTest>

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
