#include "support/testregistry.h"

#include "model/defaultfont.h"

#include <memory>
#ifdef AVATELLO_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication; // the model's tests run without Qt Widgets
#endif
#include <QtTest>
#include <vector>

namespace avatello::test {

namespace {

std::vector<std::function<QObject*()>>& registry()
{
    static std::vector<std::function<QObject*()>> tests;
    return tests;
}

} // namespace

bool registerTest(std::function<QObject*()> make)
{
    registry().push_back(std::move(make));
    return true;
}

} // namespace avatello::test

int main(int argc, char* argv[])
{
    TestApplication app(argc, argv);
    avatello::ensureDefaultFont();
    int failures = 0;
    for (const auto& make : avatello::test::registry()) {
        std::unique_ptr<QObject> test(make());
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
