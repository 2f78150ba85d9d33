#pragma once

#include <functional>
#include <QObject>

namespace avatello::test {

// Each test file registers its QtTest class here; one binary per folder runs them all.
bool registerTest(std::function<QObject*()> make);

} // namespace avatello::test

#define AVATELLO_REGISTER_TEST(Class)                                                              \
    static const bool registered_##Class =                                                         \
        avatello::test::registerTest([]() -> QObject* { return new Class; })
