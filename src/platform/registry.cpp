// The store file (locking, atomic replace, clean-up after killed writers) and TRegistry.
#include "platform/registry.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <mutex>
#include <pwd.h>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace pictoralia {
namespace {

constexpr std::string_view TempInfix = ".tmp-";

std::string errnoText(const std::string &what, const std::string &path)
{
    return what + " " + path + ": " + std::strerror(errno);
}

// A damaged store is reported once per process and version of the file, however often
// it is read.
void reportDamaged(const std::string &path, const struct stat &st, const std::string &error)
{
    static std::mutex mutex;
    static std::set<std::string> reported;
    std::lock_guard lock(mutex);
    const std::string version = std::to_string(st.st_ino) + ':' + std::to_string(st.st_size) + ':'
        + std::to_string(st.st_mtim.tv_sec) + '.' + std::to_string(st.st_mtim.tv_nsec);
    if (reported.insert(path + '\n' + version + '\n' + error).second) {
        std::fprintf(stderr, "pictoralia: the settings store %s cannot be read (%s); it is left as it is\n",
                     path.c_str(), error.c_str());
    }
}

class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

// The file that is read and replaced: the store path, or what it links to.
std::string targetOf(const std::string &path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved))
            return resolved;
    }
    return path;
}

std::pair<std::string, std::string> splitPath(const std::string &path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

bool makeFolders(const std::string &dir)
{
    struct stat st {};
    if (::stat(dir.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const auto [parent, name] = splitPath(dir);
    if (parent != dir && !makeFolders(parent))
        return false;
    return ::mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST;
}

RegResult<RegistryDocument> loadFile(const std::string &path)
{
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return {RegistryDocument{}, {}};
        return {std::nullopt, errnoText("cannot open", path)};
    }
    std::string text;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return {std::nullopt, errnoText("cannot read", path)};
        if (n == 0)
            break;
        text.append(buf, size_t(n));
    }
    RegistryParseResult parsed = ParseRegistryText(text);
    if (!parsed.document) {
        struct stat st {};
        ::fstat(fd.get(), &st);
        reportDamaged(path, st, parsed.error);
        return {std::nullopt, "settings store " + path + ", " + parsed.error};
    }
    return {std::move(parsed.document), {}};
}

void removeStrayTemporaries(const std::string &dir, const std::string &prefix)
{
    DIR *d = ::opendir(dir.c_str());
    if (!d)
        return;
    while (dirent *entry = ::readdir(d)) {
        if (std::string_view(entry->d_name).starts_with(prefix))
            ::unlinkat(::dirfd(d), entry->d_name, 0);
    }
    ::closedir(d);
}

bool writeAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data.remove_prefix(size_t(n));
    }
    return true;
}

// Writes text to a new file beside target and renames it over target.
std::string replaceAtomically(const std::string &target, const std::string &dir,
                              const std::string &base, const std::string &text)
{
    std::string temp = dir + "/" + base + std::string(TempInfix) + "XXXXXX";
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0)
        return errnoText("cannot create a file in", dir);
    struct stat st {};
    ::fchmod(fd.get(), ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0600);
    if (!writeAll(fd.get(), text) || ::fsync(fd.get()) != 0) {
        const std::string error = errnoText("cannot write", temp);
        ::unlink(temp.c_str());
        return error;
    }
    if (::close(fd.release()) != 0 || ::rename(temp.c_str(), target.c_str()) != 0) {
        const std::string error = errnoText("cannot replace", target);
        ::unlink(temp.c_str());
        return error;
    }
    Fd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.get() >= 0)
        ::fsync(dirFd.get());
    return {};
}

} // namespace

std::string DefaultRegistryPath()
{
    if (const char *path = std::getenv("PICTORALIA_REGISTRY"); path && *path)
        return path;
    std::string config;
    if (const char *xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
        config = xdg;
    } else {
        const char *home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd *pw = ::getpwuid(::getuid());
            home = pw ? pw->pw_dir : "/tmp";
        }
        config = std::string(home) + "/.config";
    }
    return config + "/pictoralia/registry.reg";
}

RegResult<RegistryDocument> RegistryStore::Load() const { return loadFile(targetOf(m_path)); }

std::string RegistryStore::Edit(const std::function<bool(RegistryDocument &)> &change) const
{
    const std::string target = targetOf(m_path);
    const auto [dir, base] = splitPath(target);
    if (!makeFolders(dir))
        return errnoText("cannot create the folder", dir);

    const std::string lockPath = target + ".lock";
    Fd lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (lock.get() < 0)
        return errnoText("cannot open", lockPath);
    while (::flock(lock.get(), LOCK_EX) != 0) {
        if (errno != EINTR)
            return errnoText("cannot lock", lockPath);
    }
    // Only a writer holding the lock writes temporary files, so any left now belong to
    // one that was killed.
    removeStrayTemporaries(dir, base + std::string(TempInfix));

    RegResult<RegistryDocument> loaded = loadFile(target);
    if (!loaded)
        return loaded.error;
    RegistryDocument document = std::move(*loaded.value);
    if (!change(document))
        return {};
    return replaceAtomically(target, dir, base, FormatRegistryText(document));
}

std::string_view RootKeyName(RegRoot root)
{
    switch (root) {
    case RegRoot::CurrentUser: return "HKEY_CURRENT_USER";
    }
    return "HKEY_CURRENT_USER";
}

TRegistry::TRegistry(const RegistryStore &store, RegRoot root) : m_store(store), m_root(root) {}

TRegistry::~TRegistry()
{
    if (!CloseKey())
        std::fprintf(stderr, "pictoralia: settings not stored: %s\n", m_error.c_str());
}

std::string TRegistry::resolve(std::string_view key) const
{
    std::string base = (!key.empty() && key.front() == '\\') || m_currentPath.empty()
        ? std::string(RootKeyName(m_root))
        : m_currentPath;
    return NormalizeKeyPath(base + "\\" + std::string(key));
}

bool TRegistry::open(std::string_view key, bool writable, bool canCreate)
{
    const std::string path = resolve(key);
    if (!CloseKey())
        return false;
    RegResult<RegistryDocument> loaded = m_store.Load();
    if (!loaded) {
        m_error = loaded.error;
        m_storeFailed = true;
        return false;
    }
    m_snapshot = std::move(*loaded.value);
    if (!m_snapshot.KeyExists(path)) {
        if (!canCreate) {
            m_error = "no key " + path;
            m_storeFailed = false;
            return false;
        }
        m_changes.push_back(Change{Change::CreateKey, path, {}});
        m_snapshot.CreateKey(path);
    }
    m_currentPath = path;
    m_writable = writable;
    m_error.clear();
    m_storeFailed = false;
    return true;
}

bool TRegistry::OpenKeyReadOnly(std::string_view key) { return open(key, false, false); }

bool TRegistry::OpenKey(std::string_view key, bool canCreate) { return open(key, true, canCreate); }

bool TRegistry::CloseKey()
{
    m_currentPath.clear();
    m_writable = false;
    if (m_changes.empty())
        return true;
    const std::vector<Change> changes = std::move(m_changes);
    m_changes.clear();
    const std::string error = m_store.Edit([&](RegistryDocument &doc) {
        for (const Change &c : changes) {
            switch (c.kind) {
            case Change::CreateKey: doc.CreateKey(c.path); break;
            case Change::Set: doc.SetValue(c.path, c.value); break;
            case Change::Delete: doc.DeleteValue(c.path, c.value.name); break;
            }
        }
        return true;
    });
    if (!error.empty()) {
        m_error = error;
        m_storeFailed = true;
        return false;
    }
    return true;
}

bool TRegistry::KeyExists(std::string_view key) const
{
    if (m_currentPath.empty()) {
        const RegResult<RegistryDocument> loaded = m_store.Load();
        return loaded && loaded.value->KeyExists(resolve(key));
    }
    return m_snapshot.KeyExists(resolve(key));
}

const RegValue *TRegistry::find(std::string_view name) const
{
    return m_currentPath.empty() ? nullptr : m_snapshot.FindValue(m_currentPath, name);
}

bool TRegistry::ValueExists(std::string_view name) const { return find(name) != nullptr; }

RegResult<int32_t> TRegistry::ReadInteger(std::string_view name) const
{
    const RegValue *value = find(name);
    if (!value)
        return {std::nullopt, "no value \"" + std::string(name) + "\" in " + m_currentPath};
    if (value->type != RegType::Dword)
        return {std::nullopt, "value \"" + std::string(name) + "\" in " + m_currentPath + " is not a DWORD"};
    return {static_cast<int32_t>(value->dword), {}};
}

RegResult<bool> TRegistry::ReadBool(std::string_view name) const
{
    const RegResult<int32_t> v = ReadInteger(name);
    if (!v)
        return {std::nullopt, v.error};
    return {*v != 0, {}};
}

RegResult<std::string> TRegistry::ReadString(std::string_view name) const
{
    const RegValue *value = find(name);
    if (!value)
        return {std::nullopt, "no value \"" + std::string(name) + "\" in " + m_currentPath};
    if (value->type != RegType::String)
        return {std::nullopt, "value \"" + std::string(name) + "\" in " + m_currentPath + " is not a string"};
    return {value->text, {}};
}

bool TRegistry::record(Change change)
{
    if (m_currentPath.empty() || !m_writable) {
        m_error = "no key open for writing";
        return false;
    }
    change.path = m_currentPath;
    if (change.kind == Change::Set)
        m_snapshot.SetValue(m_currentPath, change.value);
    else
        m_snapshot.DeleteValue(m_currentPath, change.value.name);
    m_changes.push_back(std::move(change));
    return true;
}

bool TRegistry::WriteInteger(std::string_view name, int32_t value)
{
    return record({Change::Set, {}, RegValue{std::string(name), RegType::Dword, static_cast<uint32_t>(value), {}}});
}

bool TRegistry::WriteBool(std::string_view name, bool value) { return WriteInteger(name, value ? 1 : 0); }

bool TRegistry::WriteString(std::string_view name, std::string_view value)
{
    return record({Change::Set, {}, RegValue{std::string(name), RegType::String, 0, std::string(value)}});
}

bool TRegistry::DeleteValue(std::string_view name)
{
    if (!find(name))
        return false;
    return record({Change::Delete, {}, RegValue{std::string(name), RegType::Other, 0, {}}});
}

} // namespace pictoralia
