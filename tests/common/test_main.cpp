#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLoggingCategory>
#include <clocale>

#include "common/fixed_surroundings.h"

int main(int argc, char** argv)
{
    testing_support::FixSurroundings();
    std::setlocale(LC_ALL, "C");
    QCoreApplication::setApplicationName("k5x7");
    QLoggingCategory::setFilterRules("*.debug=false\n*.warning=false");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
