#include <QCoreApplication>
#include <gtest/gtest.h>

// The main of the logic tests: an event loop and application paths, no widgets
// and no display, as the unattended program runs.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
