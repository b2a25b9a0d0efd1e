// The private temporary folder, stale folder removal, the data folder and the
// sanitised extensions of extracted file names.
#include "fixture.h"

#include "package/packageerror.h"
#include "package/tempfiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

using namespace pictoralia;
using namespace pictoralia::test;

namespace {

// Sets an environment variable for the scope of a test.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const char *value) : m_name(name)
    {
        if (const char *old = std::getenv(name))
            m_old = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char *m_name;
    std::optional<std::string> m_old;
};

pid_t DeadPid()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status;
    ::waitpid(child, &status, 0);
    return child;
}

mode_t Mode(const std::string &path)
{
    struct stat st{};
    ::lstat(path.c_str(), &st);
    return st.st_mode & 07777;
}

} // namespace

TEST(SafeExtension, KnownExtensionsPassAndAnythingElseIsReplaced)
{
    const struct {
        std::string in, out;
    } cases[] = {
        {".jpg", ".jpg"},     {".JPEG", ".JPEG"},   {".Gif", ".Gif"},     {".mpeg", ".mpeg"},
        {".MID", ".MID"},     {".wav", ".wav"},     {".swf", ".swf"},     {".bmp", ".bmp"},
        {".tiff", ".tiff"},   {".png", ".png"},     {".WMV", ".WMV"},     {".mp3", ".mp3"},
        {"", ".invalid"},     {"jpg", ".invalid"},  {".exe", ".invalid"}, {".sh", ".invalid"},
        {"/..", ".invalid"},  {"/../x", ".invalid"}, {"..", ".invalid"},  {".jp/g", ".invalid"},
        {std::string(".jp\0g", 5), ".invalid"},     {".jpg\n", ".invalid"}, {".j\x7Fg", ".invalid"},
        {".\xE9pg", ".invalid"}, {".jpg.exe", ".invalid"}, {".jpg ", ".invalid"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SafeExtension(c.in), c.out) << c.in;
}

TEST(PrivateFolder, IsMadeOwnerOnlyWithThePidInItsName)
{
    ScratchDir base;
    const std::string folder = MakePrivateFolder(base.path());
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(Mode(folder), 0700u);
    const std::string name = std::filesystem::path(folder.substr(0, folder.size() - 1)).filename();
    EXPECT_EQ(name.rfind("pictoralia-" + std::to_string(::getpid()) + "-", 0), 0u) << name;
    EXPECT_NE(MakePrivateFolder(base.path()), folder); // unique per call
    EXPECT_EQ(MakePrivateFolder(base / "missing"), "");
}

TEST(PrivateFolder, StaleFoldersOfDeadProcessesAreRemoved)
{
    ScratchDir base, outside;
    WriteFile(outside / "keep", {'k'});
    const std::string dead = std::to_string(DeadPid());
    const std::string mine = std::to_string(::getpid());
    const auto make = [&](const std::string &name) {
        std::filesystem::create_directory(base / name);
        WriteFile(base / (name + "/SSIMG.jpg"), {1});
        return base / name;
    };
    const std::string stale = make("pictoralia-" + dead + "-abcdef");
    std::filesystem::create_symlink(outside.path(), stale + "/link"); // removed, not followed
    make("pictoralia-" + mine + "-ghijkl");  // this process: kept
    make("pictoralia-1-mnopqr");             // a live process: kept
    make("pictoralia-" + dead + "-toolong7"); // not a name we make: kept
    make("other-" + dead + "-abcdef");
    std::filesystem::create_directory_symlink(outside.path(), base / ("pictoralia-" + dead + "-linkdd"));

    EXPECT_EQ(RemoveStalePrivateFolders(base.path()), 1);
    EXPECT_FALSE(Exists(stale));
    EXPECT_TRUE(Exists(base / ("pictoralia-" + mine + "-ghijkl/SSIMG.jpg")));
    EXPECT_TRUE(Exists(base / "pictoralia-1-mnopqr"));
    EXPECT_TRUE(Exists(base / ("pictoralia-" + dead + "-toolong7")));
    EXPECT_TRUE(Exists(base / ("other-" + dead + "-abcdef")));
    EXPECT_TRUE(Exists(base / ("pictoralia-" + dead + "-linkdd")));
    EXPECT_EQ(ReadFile(outside / "keep"), Bytes{'k'});
}

TEST(TempFolder, OnePrivateFolderPerRunRemovedOnRequest)
{
    ScratchDir base;
    const ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
    const ScopedEnv tmp("TMPDIR", base.path().c_str());
    RemoveTempFolder();
    // A folder left by a process killed earlier goes at the first use.
    std::filesystem::create_directory(base / ("pictoralia-" + std::to_string(DeadPid()) + "-zzzzzz"));
    const std::string folder = TempFolder();
    ASSERT_EQ(folder.rfind(base.path() + "/pictoralia-", 0), 0u) << folder;
    EXPECT_EQ(TempFolder(), folder);
    EXPECT_EQ(Mode(folder), 0700u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(base.path()), {}), 1);
    EXPECT_EQ(TempFileName("SSIMG", ".JPG"), folder + "SSIMG.JPG");
    EXPECT_EQ(TempFileName("SSIMG", "/../../etc/x"), folder + "SSIMG.invalid");
    WriteFile(folder + "SSBG.png", {1});
    RemoveTempFolder();
    EXPECT_FALSE(Exists(folder));
    const std::string next = TempFolder();
    EXPECT_NE(next, folder);
    RemoveTempFolder();
}

TEST(TempFolder, IsRemovedWhenTheProgramEnds)
{
    ScratchDir base;
    const ScopedEnv runtime("XDG_RUNTIME_DIR", base.path().c_str());
    RemoveTempFolder(); // so the child makes its own folder
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const bool made = !TempFolder().empty();
        std::exit(made ? 0 : 1); // runs the atexit clean-up
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(base.path()), {}), 0);
}

TEST(WindowsFolder, IsTheDataFolderMadeWhenMissing)
{
    ScratchDir base;
    const ScopedEnv data("XDG_DATA_HOME", (base / "data").c_str());
    EXPECT_EQ(WindowsFolder(), base / "data/pictoralia");
    EXPECT_TRUE(std::filesystem::is_directory(base / "data/pictoralia"));
    EXPECT_EQ(WindowsVersionCode(), -1);
}

TEST(PackageError, TextIsTheFixedLinesJoinedByCrLf)
{
    EXPECT_EQ(PackageErrorText(), "The screen saver can not run because of one of the following reasons:\r\n\r\n"
                                  "* The file is corrupted\r\n* Your computer is out of resources\r\n"
                                  "* Windows error");
}
