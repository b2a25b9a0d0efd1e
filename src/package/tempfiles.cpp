// Private temporary folder, data folder and extracted-file names.
#include "package/tempfiles.h"

#include <algorithm>
#include <iterator>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pictoralia {
namespace {

constexpr std::string_view FolderPrefix = "pictoralia-";

std::mutex g_mutex;
std::string g_folder; // guarded by g_mutex
bool g_atexitRegistered = false;

void RemoveAtExit() { RemoveTempFolder(); }

// The owner pid of a folder named "pictoralia-<pid>-XXXXXX", or 0.
pid_t OwnerPid(std::string_view name)
{
    if (!name.starts_with(FolderPrefix))
        return 0;
    name.remove_prefix(FolderPrefix.size());
    const size_t dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash > 9 || name.size() - dash - 1 != 6)
        return 0;
    pid_t pid = 0;
    for (char c : name.substr(0, dash)) {
        if (c < '0' || c > '9')
            return 0;
        pid = pid * 10 + (c - '0');
    }
    return pid;
}

bool IsAlive(pid_t pid) { return ::kill(pid, 0) == 0 || errno != ESRCH; }

std::string Lower(std::string_view s)
{
    std::string out(s);
    for (char &c : out)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

int RemoveStalePrivateFolders(const std::string &base)
{
    DIR *dir = ::opendir(base.c_str());
    if (!dir)
        return 0;
    std::vector<std::string> stale;
    while (const dirent *entry = ::readdir(dir)) {
        const pid_t pid = OwnerPid(entry->d_name);
        if (pid <= 0 || pid == ::getpid() || IsAlive(pid))
            continue;
        const std::string path = base + "/" + entry->d_name;
        struct stat st;
        if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid())
            stale.push_back(path);
    }
    ::closedir(dir);
    int removed = 0;
    for (const std::string &path : stale) {
        std::error_code ec; // remove_all removes links themselves, never what they point to
        if (std::filesystem::remove_all(path, ec) > 0 && !ec)
            ++removed;
    }
    return removed;
}

std::string MakePrivateFolder(const std::string &base)
{
    if (base.empty())
        return {};
    std::string path = base;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    path += "/" + std::string(FolderPrefix) + std::to_string(::getpid()) + "-XXXXXX";
    if (!::mkdtemp(path.data())) // mode 0700
        return {};
    return path + "/";
}

std::string TempFolder()
{
    const std::lock_guard lock(g_mutex);
    if (!g_folder.empty())
        return g_folder;
    std::vector<std::string> bases;
    for (const char *variable : {"XDG_RUNTIME_DIR", "TMPDIR"})
        if (const char *value = std::getenv(variable); value && value[0] == '/')
            bases.emplace_back(value);
    bases.emplace_back("/tmp");
    for (const std::string &base : bases) {
        RemoveStalePrivateFolders(base);
        g_folder = MakePrivateFolder(base);
        if (!g_folder.empty())
            break;
    }
    if (!g_folder.empty() && !g_atexitRegistered) {
        std::atexit(RemoveAtExit);
        g_atexitRegistered = true;
    }
    return g_folder;
}

void RemoveTempFolder()
{
    const std::lock_guard lock(g_mutex);
    if (g_folder.empty())
        return;
    std::error_code ec;
    std::filesystem::remove_all(g_folder, ec);
    g_folder.clear();
}

std::string WindowsFolder()
{
    std::string base;
    if (const char *data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/')
        base = data;
    else if (const char *home = std::getenv("HOME"); home && home[0] == '/')
        base = std::string(home) + "/.local/share";
    else
        base = "/tmp";
    const std::string folder = base + "/pictoralia";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
}

int WindowsVersionCode() { return -1; }

std::string SafeExtension(std::string_view ext)
{
    static constexpr std::string_view known[] = {
        // pictures
        ".bmp", ".rle", ".dib", ".ico", ".wmf", ".emf", ".jpg", ".jpe", ".jpeg", ".jfif", ".gif", ".tif", ".tiff",
        ".fax", ".png",
        // video
        ".asf", ".wmv", ".avi", ".mpeg", ".mpg", ".mpe",
        // Flash
        ".swf", ".fla",
        // sound
        ".mid", ".midi", ".rmi", ".wav", ".mp3", ".mp2", ".wma", ".ogg", ".aif", ".aiff", ".au", ".snd"};
    const std::string lower = Lower(ext);
    if (std::find(std::begin(known), std::end(known), lower) != std::end(known))
        return std::string(ext);
    return ".invalid";
}

std::string TempFileName(std::string_view prefix, std::string_view ext)
{
    const std::string folder = TempFolder();
    if (folder.empty())
        return {};
    return folder + std::string(prefix) + SafeExtension(ext);
}

} // namespace pictoralia
