// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/test_support.h"
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    k3n::test::isolateUserFiles();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
