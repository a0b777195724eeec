// The generator makes the same bytes every time, so builds are reproducible.
#include "asset_support.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

using namespace assets_test;
namespace fs = std::filesystem;

namespace {

std::set<std::string> FilesUnder(const fs::path& root) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files.insert(fs::relative(entry.path(), root).string());
        }
    }
    return files;
}

fs::path FreshDir(const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / ("lirra-datagen-test-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(dir);
    return dir;
}

}  // namespace

#ifdef LIRRA_DATAGEN_PATH

TEST(Generator, WritesIdenticalFilesOnEveryRun) {
    const fs::path first = FreshDir("a"), second = FreshDir("b");
    const std::string generator = LIRRA_DATAGEN_PATH;
    ASSERT_EQ(std::system(("'" + generator + "' '" + first.string() + "' > /dev/null").c_str()), 0);
    ASSERT_EQ(std::system(("'" + generator + "' '" + second.string() + "' > /dev/null").c_str()), 0);
    const std::set<std::string> files = FilesUnder(first);
    EXPECT_EQ(files, FilesUnder(second));
    EXPECT_EQ(files.size(), 64u + 7u + 1u);
    for (const std::string& file : files) {
        EXPECT_TRUE(ReadBytes((first / file).string()) == ReadBytes((second / file).string())) << file << " differs";
    }
    // the build's own data directory holds the same set
    for (const std::string& file : files) {
        EXPECT_TRUE(fs::exists(fs::path(DataDir()) / file)) << file;
    }
    fs::remove_all(first);
    fs::remove_all(second);
}

TEST(Generator, ReportsAMissingOutputDirectoryArgument) {
    const std::string generator = LIRRA_DATAGEN_PATH;
    EXPECT_NE(std::system(("'" + generator + "' > /dev/null 2>&1").c_str()), 0);
}

#endif  // LIRRA_DATAGEN_PATH
