#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace losfix {

// A fresh folder under the system's temporary folder for each test, removed with everything in
// it afterwards.
class TemporaryFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device device;
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        root_ = std::filesystem::temp_directory_path() /
                ("losfix-files-" + std::to_string(stamp) + "-" + std::to_string(device()));
        ASSERT_TRUE(std::filesystem::create_directory(root_));
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    // The bytes on disk, read past the program's own file system.
    static std::string diskBytes(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path root_;
};

}  // namespace losfix
