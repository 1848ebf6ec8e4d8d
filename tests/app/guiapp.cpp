#include <gtest/gtest.h>

#include <QApplication>

namespace {

// The widgets under test need one application object for the whole test program.
class GuiApplication : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "mapview_tests";
        static char* argv[] = {name, nullptr};
        FApp = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { FApp.reset(); }

private:
    std::unique_ptr<QApplication> FApp;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new GuiApplication);

}  // namespace
