// Shared fixtures for the model tests: a fresh program folder per test, the
// settings unit pointed at it, a show of the test's own, and small file
// helpers.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <sstream>
#include <string>

#include "model/Settings.h"
#include "model/Show.h"

namespace model_test {

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A unit test that owns an empty program folder, so no test sees another's
// options file.
class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        dir_ = folder_.path().toStdString() + "/";
        model::SetUserDataDir(dir_ + "user-data/");
        model::SetProgramDir(dir_);
    }
    void TearDown() override {
        model::SetProgramDir("");
        model::SetUserDataDir("");
    }

    std::string Path(const std::string& name) const { return dir_ + name; }

    QTemporaryDir folder_;
    std::string dir_;
};

// A program folder and a show the test owns, as the window owns its working
// show (window tests use the window's instead).
class ShowFolderTest : public ProgramFolderTest {
protected:
    // Start-up: opens the working store and loads the show out of it.
    void LoadWorkingShow() {
        model::OpenOptionsStore();
        show_ = model::LoadShow(model::OptionsStore());
    }

    model::Show show_;
};

}  // namespace model_test
