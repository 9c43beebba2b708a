// Real photographs for the tests that need faces: scikit-image's sample
// pictures as Debian installs them (python3-skimage). A missing file fails
// the test with the package to install rather than skipping it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#ifndef VANTO_PHOTO_FOLDER
#define VANTO_PHOTO_FOLDER "/usr/lib/python3/dist-packages/skimage/data"
#endif

// The path of a sample photograph; fails the calling test when it is missing.
inline std::string PublicPhoto(const char* name) {
    const std::string path = (std::filesystem::path(VANTO_PHOTO_FOLDER) / name).string();
    EXPECT_TRUE(std::filesystem::is_regular_file(path))
        << path << " is missing: install python3-skimage (scripts/setup.sh lists it)";
    return path;
}
