#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include "support/TestGame.h"

namespace {

namespace fs = std::filesystem;

const std::string kDebName = std::string("lirra_") + LIRRA_PROJECT_VERSION + "_amd64.deb";

// Makes the Debian package of this build once per test program.
class PackageTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = MakeTempDir("package");
        packStatus = RunCommand(
            "cd " + std::string(LIRRA_BUILD_DIR) + " && " + LIRRA_CPACK_COMMAND + " -G DEB -B " + dir, &packLog);
    }
    static void TearDownTestSuite() {
        std::error_code error;
        fs::remove_all(dir, error);
    }
    void SetUp() override {
        ASSERT_EQ(packStatus, 0) << packLog;
        ASSERT_TRUE(fs::is_regular_file(Deb())) << packLog;
    }

    static std::string Deb() { return dir + "/" + kDebName; }
    // A fresh root with an empty package database of its own.
    static std::string MakeRoot(const std::string& name) {
        const std::string root = dir + "/" + name;
        fs::create_directories(root + "/var/lib/dpkg/updates");
        fs::create_directories(root + "/var/lib/dpkg/info");
        WriteFile(root + "/var/lib/dpkg/status", "");
        return root;
    }
    static std::string Dpkg(const std::string& root) { return "dpkg --root=" + root + " --force-not-root "; }

    static std::string dir;
    static std::string packLog;
    static int packStatus;
};

std::string PackageTest::dir;
std::string PackageTest::packLog;
int PackageTest::packStatus = -1;

std::set<std::string> Lines(const std::string& text) {
    std::set<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        lines.insert(line);
    }
    return lines;
}

// The value of a desktop entry's key, "" when the entry has none.
std::string DesktopEntryValue(const std::string& entry, const std::string& key) {
    std::istringstream in(entry);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key + "=", 0) == 0) {
            return line.substr(key.size() + 1);
        }
    }
    return "";
}

// Every path under root but the package database, as "/usr/..." .
std::set<std::string> FilesUnder(const std::string& root) {
    std::set<std::string> paths;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        const std::string path = "/" + fs::relative(entry.path(), root).string();
        if (path.rfind("/var", 0) != 0) {
            paths.insert(path);
        }
    }
    return paths;
}

}  // namespace

TEST_F(PackageTest, InstallsIntoAScratchRootPlaysFromItAndLeavesNothingBehind) {
    const std::string root = MakeRoot("root");
    std::string output;
    // The scratch root has none of the libraries the package depends on; this machine has them.
    ASSERT_EQ(RunCommand(Dpkg(root) + "--force-depends -i " + Deb(), &output), 0) << output;
    // The desktop entry names the game by its full path, as no PATH need hold /usr/games.
    const std::string exec = DesktopEntryValue(ReadFile(root + "/usr/share/applications/lirra.desktop"), "Exec");
    ASSERT_EQ(exec, "/usr/games/lirra");
    const std::string game = root + exec;
    ASSERT_TRUE(fs::is_regular_file(game));

    std::string printed;
    ASSERT_EQ(RunCommand("cd / && " + game + " --print-datadir", &printed), 0);
    EXPECT_EQ(printed, root + LIRRA_PACKAGE_DATA_DIR + "\n");
    std::string version;
    ASSERT_EQ(RunCommand(game + " --version", &version), 0);
    EXPECT_EQ(version, std::string("lirra ") + LIRRA_PROJECT_VERSION + "\n");

    const std::string trace = dir + "/t.jsonl";
    ASSERT_EQ(
        RunCommand("cd / && " + game + " --size 64x45 --fixed-step 0.0166667 --seed 3 --frames 240 --trace " + trace,
                   &output),
        0)
        << output;
    EXPECT_NE(output.find("Texture Loaded: Textures/Lirra/Lirra_Idle.png"), std::string::npos) << output;
    EXPECT_EQ(output.find("Load Error"), std::string::npos) << output;
    EXPECT_EQ(Lines(ReadFile(trace)).size(), 240u);

    // The package database names every file and directory the package put down, so removing it
    // takes them all away.
    std::string listed;
    ASSERT_EQ(RunCommand(Dpkg(root) + "-L lirra", &listed), 0) << listed;
    std::set<std::string> names = Lines(listed);
    names.erase("/.");
    EXPECT_EQ(FilesUnder(root), names);
    ASSERT_EQ(RunCommand(Dpkg(root) + "-r lirra", &output), 0) << output;
    EXPECT_EQ(FilesUnder(root), std::set<std::string>());
}

TEST_F(PackageTest, NamesOnlyRuntimeLibrariesAndItsEntriesValidate) {
    std::string depends;
    ASSERT_EQ(RunCommand("dpkg-deb -f " + Deb() + " Depends", &depends), 0);
    EXPECT_NE(depends.find("libglfw3"), std::string::npos) << depends;
    EXPECT_EQ(depends.find("-dev"), std::string::npos) << depends;
    std::string section;
    ASSERT_EQ(RunCommand("dpkg-deb -f " + Deb() + " Section", &section), 0);
    EXPECT_EQ(section, "games\n");

    const std::string root = dir + "/extracted";
    ASSERT_EQ(RunCommand("dpkg-deb -x " + Deb() + " " + root), 0);
    std::string complaints;
    EXPECT_EQ(RunCommand("desktop-file-validate " + root + "/usr/share/applications/lirra.desktop", &complaints), 0)
        << complaints;
    EXPECT_EQ(complaints, "");

    const std::string metainfo = root + "/usr/share/metainfo/" + LIRRA_APPSTREAM_ID + ".metainfo.xml";
    EXPECT_EQ(RunCommand("appstreamcli validate --no-net " + metainfo, &complaints), 0) << complaints;
    const std::string store = ReadFile(metainfo);
    EXPECT_NE(store.find(std::string("<release version=\"") + LIRRA_PROJECT_VERSION + "\""), std::string::npos);
    // Each screenshot is named by its path in the repository.
    int screenshots = 0;
    for (size_t at = store.find("<image>"); at != std::string::npos; at = store.find("<image>", at + 1)) {
        const size_t end = store.find("</image>", at);
        const std::string url = store.substr(at + 7, end - at - 7);
        const size_t docs = url.find("/docs/");
        ASSERT_NE(docs, std::string::npos) << url;
        EXPECT_TRUE(fs::is_regular_file(std::string(LIRRA_SOURCE_DIR) + url.substr(docs))) << url;
        ++screenshots;
    }
    EXPECT_GE(screenshots, 3);

    const std::string manPage = root + "/usr/share/man/man6/lirra.6.gz";
    EXPECT_EQ(RunCommand("LC_ALL=C MANWIDTH=80 man --warnings -l " + manPage + " 2>&1 >/dev/null", &complaints), 0);
    EXPECT_EQ(complaints, "");
    std::string page;
    ASSERT_EQ(RunCommand("LC_ALL=C MANWIDTH=200 man -l " + manPage + " 2>/dev/null", &page), 0);
    EXPECT_NE(page.find(std::string("lirra ") + LIRRA_PROJECT_VERSION), std::string::npos);
    EXPECT_NE(page.find(LIRRA_PACKAGE_DATA_DIR), std::string::npos);
    std::string usage;
    ASSERT_EQ(RunCommand(root + "/usr/games/lirra --help", &usage), 0);
    for (const std::string& line : Lines(usage)) {
        const size_t dashes = line.find("--");
        if (dashes == 2) {
            const std::string option = line.substr(dashes, line.find_first_of(" ,", dashes) - dashes);
            EXPECT_NE(page.find(option), std::string::npos) << option << " is missing from the man page";
        }
    }
}
