// The modules the program loads when it first needs them: found beside the program (here, the
// build tree above the tests), their functions resolved, and a module that is not there named in
// the error with the folders searched.
#include "platform/core/EngineModule.h"

#include <gtest/gtest.h>

TEST(EngineModule, ModulesOfTheBuildAreFoundAndAMissingOneIsNamedWithTheFoldersSearched) {
    for (const char* module : {"tallyscope-pdf", "tallyscope-extract"}) {
        SCOPED_TRACE(module);
        QString error;
        EXPECT_EQ(EngineModule::Function(module, "no_such_function", &error), nullptr);
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(EngineModule::IsLoaded(module)) << error.toStdString();
    }
    QString error;
    EXPECT_NE(EngineModule::Function("tallyscope-pdf", "tallyscope_open_pdf", &error), nullptr) << error.toStdString();
    EXPECT_NE(EngineModule::Function("tallyscope-extract", "tallyscope_make_curve_tracing", &error), nullptr)
        << error.toStdString();

    EXPECT_EQ(EngineModule::Function("tallyscope-absent", "anything", &error), nullptr);
    EXPECT_TRUE(error.contains("libtallyscope-absent.so")) << error.toStdString();
    for (const QString& folder : EngineModule::Folders())
        EXPECT_TRUE(error.contains(folder)) << error.toStdString();
    EXPECT_FALSE(EngineModule::IsLoaded("tallyscope-absent"));
}
