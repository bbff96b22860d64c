#include <gtest/gtest.h>

#include <QCoreApplication>

// The tool runs inside an application, as it does on its own.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
