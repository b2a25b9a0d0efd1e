// The settings store: file format, typed values, names, atomic and concurrent writes.
#include "platform/registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pictoralia {
namespace {

constexpr std::string_view DemoKey = "\\Software\\Pictoralia\\Demo";

class RegistryTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    // A folder that does not exist yet: the first writer creates it.
    std::string m_path = (m_dir.path() + "/config/pictoralia/registry.reg").toStdString();
    RegistryStore m_store{m_path};

    std::string fileText() const
    {
        QFile f(QString::fromStdString(m_path));
        if (!f.open(QIODevice::ReadOnly))
            return "<missing>";
        return f.readAll().toStdString();
    }
    void setFileText(const std::string &text) const
    {
        QDir().mkpath(QString::fromStdString(m_path.substr(0, m_path.rfind('/'))));
        QFile f(QString::fromStdString(m_path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.data(), qint64(text.size()));
    }
    std::vector<std::string> strayTemporaries() const
    {
        std::vector<std::string> names;
        const std::string dir = m_path.substr(0, m_path.rfind('/'));
        if (DIR *d = opendir(dir.c_str())) {
            while (dirent *e = readdir(d)) {
                if (std::string_view(e->d_name).find(".tmp-") != std::string_view::npos)
                    names.emplace_back(e->d_name);
            }
            closedir(d);
        }
        return names;
    }
};

TEST_F(RegistryTest, WritesARegistryExport)
{
    {
        TRegistry reg(m_store);
        ASSERT_TRUE(reg.OpenKey(DemoKey, true));
        reg.WriteInteger("Seconds", 10);
        reg.WriteInteger("Stretch", -1);
        reg.WriteString("Effect", std::string("\x01\x05x", 3));
        reg.WriteString("Say \"hi\"", "C:\\path");
        ASSERT_TRUE(reg.CloseKey()) << reg.LastError();
    }
    EXPECT_EQ(fileText(),
              "REGEDIT4\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Pictoralia\\Demo]\n"
              "\"Seconds\"=dword:0000000a\n"
              "\"Stretch\"=dword:ffffffff\n"
              "\"Effect\"=\"\\x01\\x05x\"\n"
              "\"Say \\\"hi\\\"\"=\"C:\\\\path\"\n");
}

std::string allBytes()
{
    std::string s;
    for (int c = 1; c < 256; ++c)
        s += char(c);
    return s;
}

TEST_F(RegistryTest, EveryStringAndIntegerRoundTrips)
{
    struct Case {
        std::string key; // below \Software\Pictoralia
        std::string name;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"Demo", "Empty", ""},
        {"Demo", "Effect", std::string("\x01\x05\x78", 3)},
        {"Demo", "AllBytes", allBytes()},
        {"Demo", "Nul", std::string("a\0b", 3)},
        {"Demo", "Quotes", "say \"\\x41\" \\ end\\"},
        {"Demo", "Lines", "one\r\ntwo\nthree\r"},
        {"Demo", "Utf8 \xC3\xA9t\xC3\xA9", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
        {"Demo", "Ansi \xE9t\xE9", "caf\xE9 \x80 \xC3"},
        {"100% %41 [x] \xE9 \x01 end%", "@odd=name", "%41"},
        {"Demo\\PlayList", "item0", "/home/user/Music/a b.mp3"},
    };
    const std::vector<std::pair<std::string, int32_t>> integers = {
        {"Zero", 0}, {"Ten", 10}, {"MinusOne", -1}, {"Min", INT32_MIN}, {"Max", INT32_MAX}};

    for (const Case &c : cases) {
        TRegistry reg(m_store);
        ASSERT_TRUE(reg.OpenKey("\\Software\\Pictoralia\\" + c.key, true));
        reg.WriteString(c.name, c.text);
    }
    {
        TRegistry reg(m_store);
        ASSERT_TRUE(reg.OpenKey(DemoKey, true));
        for (const auto &[name, value] : integers)
            reg.WriteInteger(name, value);
    }
    const std::string text = fileText();
    EXPECT_TRUE(QString::fromUtf8(text.data(), qsizetype(text.size())).toUtf8().toStdString() == text)
        << "the store is not valid UTF-8";

    for (const Case &c : cases) {
        TRegistry reg(m_store);
        ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\Pictoralia\\" + c.key)) << c.key;
        const RegResult<std::string> read = reg.ReadString(c.name);
        ASSERT_TRUE(read) << c.name << ": " << read.error;
        EXPECT_EQ(*read, c.text) << c.name;
    }
    TRegistry reg(m_store);
    ASSERT_TRUE(reg.OpenKeyReadOnly(DemoKey));
    for (const auto &[name, value] : integers) {
        const RegResult<int32_t> read = reg.ReadInteger(name);
        ASSERT_TRUE(read) << name;
        EXPECT_EQ(*read, value) << name;
    }
}

TEST_F(RegistryTest, ReadingAValueOfAnotherTypeFails)
{
    setFileText("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Pictoralia\\Demo]\n"
                "\"Seconds\"=\"10\"\n"
                "\"Effect\"=dword:00000001\n"
                "\"Blob\"=hex:01,02\n");
    TRegistry reg(m_store);
    ASSERT_TRUE(reg.OpenKeyReadOnly(DemoKey));
    EXPECT_TRUE(reg.ValueExists("Seconds"));
    EXPECT_FALSE(reg.ReadInteger("Seconds"));
    EXPECT_FALSE(reg.ReadBool("Seconds"));
    EXPECT_FALSE(reg.ReadString("Effect"));
    EXPECT_FALSE(reg.ReadInteger("Blob"));
    EXPECT_FALSE(reg.ReadString("Blob"));
    EXPECT_FALSE(reg.ReadInteger("Missing"));
    EXPECT_NE(reg.ReadInteger("Seconds").error, "");
    EXPECT_EQ(*reg.ReadString("Seconds"), "10");
    EXPECT_EQ(*reg.ReadInteger("Effect"), 1);
}

TEST_F(RegistryTest, KeyAndValueNamesIgnoreCase)
{
    {
        TRegistry reg(m_store);
        ASSERT_TRUE(reg.OpenKey("\\Software\\Pictoralia\\Caf\xC3\xA9", true));
        reg.WriteInteger("Seconds", 7);
    }
    {
        TRegistry reg(m_store);
        ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\\\pictoralia\\CAF\xC3\x89\\", false));
        EXPECT_EQ(*reg.ReadInteger("SECONDS"), 7);
        reg.WriteInteger("seconds", 8); // replaces the value, keeps its spelling
    }
    TRegistry reg(m_store);
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\software\\Pictoralia\\caf\xC3\xA9"));
    EXPECT_EQ(*reg.ReadInteger("Seconds"), 8);
    EXPECT_EQ(fileText(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Pictoralia\\Caf\xC3\xA9]\n"
                          "\"Seconds\"=dword:00000008\n");
}

TEST_F(RegistryTest, OpeningKeysCreatesOnlyWhenAsked)
{
    TRegistry reg(m_store);
    EXPECT_FALSE(reg.OpenKeyReadOnly(DemoKey));
    EXPECT_FALSE(reg.StoreFailed()); // only the key is missing
    EXPECT_FALSE(reg.OpenKey(DemoKey, false));
    EXPECT_FALSE(reg.WriteInteger("Seconds", 1)); // nothing open
    EXPECT_TRUE(reg.CloseKey());
    EXPECT_EQ(fileText(), "<missing>");

    ASSERT_TRUE(reg.OpenKey(DemoKey, true));
    ASSERT_TRUE(reg.OpenKey("PlayList", true)); // relative to the open key; writes Demo
    EXPECT_EQ(reg.CurrentPath(), "HKEY_CURRENT_USER\\Software\\Pictoralia\\Demo\\PlayList");
    reg.WriteString("item0", "a.mp3");
    ASSERT_TRUE(reg.CloseKey());

    // A parent exists through its subkey; a read-only key takes no writes.
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\Pictoralia"));
    EXPECT_TRUE(reg.KeyExists("Demo\\PlayList"));
    EXPECT_FALSE(reg.WriteInteger("Seconds", 1));
    ASSERT_TRUE(reg.OpenKey("\\Software\\Pictoralia\\Demo\\PlayList", false));
    EXPECT_TRUE(reg.ValueExists("ITEM0"));
    EXPECT_TRUE(reg.DeleteValue("item0"));
    EXPECT_FALSE(reg.ValueExists("item0"));
    EXPECT_FALSE(reg.DeleteValue("item0"));
    ASSERT_TRUE(reg.CloseKey());
    EXPECT_EQ(fileText(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Pictoralia\\Demo]\n"
                          "\n[HKEY_CURRENT_USER\\Software\\Pictoralia\\Demo\\PlayList]\n");
}

TEST_F(RegistryTest, EntriesOfOthersSurviveARewrite)
{
    const std::string others = "; written by hand\n"
                               "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"
                               "\"Wallpaper\"=\"/home/u/w.bmp\"\n"
                               "@=\"default value\"\n"
                               "\"Blob\"=hex:01,02,\\\n"
                               "  03,04\n"
                               "\"Expand\"=hex(2):25,00\n"
                               "; a note in a key\n"
                               "\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\n"
                               "\"Removed\"=-\n";
    setFileText("REGEDIT4\n\n" + others);
    {
        TRegistry reg(m_store);
        ASSERT_TRUE(reg.OpenKey("\\Control Panel\\Desktop", false));
        reg.WriteInteger("TileWallpaper", 0);
        ASSERT_TRUE(reg.OpenKey(DemoKey, true));
        reg.WriteInteger("Seconds", 3);
    }
    EXPECT_EQ(fileText(), "REGEDIT4\n"
                          "; written by hand\n"
                          "\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"
                          "\"Wallpaper\"=\"/home/u/w.bmp\"\n"
                          "@=\"default value\"\n"
                          "\"Blob\"=hex:01,02,\\\n"
                          "  03,04\n"
                          "\"Expand\"=hex(2):25,00\n"
                          "; a note in a key\n"
                          "\"TileWallpaper\"=dword:00000000\n"
                          "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\n"
                          "\"Removed\"=-\n"
                          "\n[HKEY_CURRENT_USER\\Software\\Pictoralia\\Demo]\n"
                          "\"Seconds\"=dword:00000003\n");
}

TEST_F(RegistryTest, ADamagedStoreIsReportedAndNeverOverwritten)
{
    const std::vector<std::string> damaged = {
        "[HKEY_CURRENT_USER\\Software]\n\"Seconds\"=dword:1\n",            // no header
        "REGEDIT4\n\"Seconds\"=dword:00000001\n",                        // value outside a key
        "REGEDIT4\n[HKEY_CURRENT_USER\\Software\n",                      // unclosed key
        "REGEDIT4\n[HKEY_CURRENT_USER\\Software]\n\"Effect\"=\"abc\n",   // unterminated string
        "REGEDIT4\n[HKEY_CURRENT_USER\\Software]\n\"S\"=dword:xyz\n",    // bad dword
        "REGEDIT4\n[HKEY_CURRENT_USER\\Software]\n\"S\"=\"a\\q\"\n",     // unknown escape
        "REGEDIT4\n[HKEY_CURRENT_USER\\Software]\ngarbage\n",
        std::string("\x7f" "ELF\x02\x01\x01\0\0", 9),
    };
    for (const std::string &text : damaged) {
        setFileText(text);
        testing::internal::CaptureStderr();
        TRegistry reg(m_store);
        EXPECT_FALSE(reg.OpenKeyReadOnly("\\Software")) << text;
        EXPECT_NE(reg.LastError(), "") << text;
        EXPECT_TRUE(reg.StoreFailed()) << text;
        EXPECT_FALSE(reg.OpenKey(DemoKey, true)) << text;
        EXPECT_NE(m_store.Edit([](RegistryDocument &) { return true; }), "") << text;
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(m_path), std::string::npos) << "not reported: " << text;
        EXPECT_EQ(fileText(), text);
    }
}

TEST_F(RegistryTest, AKilledWriterLeavesTheOldOrTheNewFileAndTheNextWriterCleansUp)
{
    {
        TRegistry reg(m_store);
        ASSERT_TRUE(reg.OpenKey(DemoKey, true));
        reg.WriteString("Marker", "old");
    }
    const std::string big(16 << 20, 'a');
    bool sawStray = false;
    for (int attempt = 0; attempt < 10 && !sawStray; ++attempt) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            m_store.Edit([&](RegistryDocument &doc) {
                doc.SetValue("HKEY_CURRENT_USER\\Software\\Pictoralia\\Demo",
                             {"Marker", RegType::String, 0, "new"});
                doc.SetValue("HKEY_CURRENT_USER\\Software\\Pictoralia\\Demo",
                             {"Big", RegType::String, 0, big});
                return true;
            });
            _exit(0);
        }
        // Kill the writer as soon as its temporary file exists.
        int status = 0;
        bool exited = false;
        for (int spin = 0; spin < 200000 && strayTemporaries().empty(); ++spin) {
            if ((exited = waitpid(child, &status, WNOHANG) == child))
                break;
            usleep(50);
        }
        if (!exited) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
        }

        sawStray = !strayTemporaries().empty();
        const RegResult<RegistryDocument> now = m_store.Load();
        ASSERT_TRUE(now) << now.error;
        const RegValue *marker = now.value->FindValue("HKEY_CURRENT_USER\\Software\\Pictoralia\\Demo", "Marker");
        ASSERT_NE(marker, nullptr);
        EXPECT_TRUE(marker->text == "old" || marker->text == "new") << marker->text;
        if (marker->text == "new") {
            const RegValue *b = now.value->FindValue("HKEY_CURRENT_USER\\Software\\Pictoralia\\Demo", "Big");
            ASSERT_NE(b, nullptr);
            EXPECT_EQ(b->text.size(), big.size());
        }

        TRegistry reg(m_store);
        ASSERT_TRUE(reg.OpenKey(DemoKey, false));
        reg.WriteInteger("After", attempt);
        ASSERT_TRUE(reg.CloseKey()) << reg.LastError();
        EXPECT_EQ(strayTemporaries(), std::vector<std::string>{});
        ASSERT_TRUE(reg.OpenKeyReadOnly(DemoKey));
        EXPECT_EQ(*reg.ReadInteger("After"), attempt);
        EXPECT_EQ(*reg.ReadString("Marker"), marker->text);
    }
    EXPECT_TRUE(sawStray) << "the writer was never caught in the middle of its write";
}

TEST_F(RegistryTest, ConcurrentWritersLoseNoUpdate)
{
    constexpr int Rounds = 40;
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    std::vector<pid_t> children;
    for (char who : {'A', 'B'}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(go[1]);
            char c;
            if (read(go[0], &c, 1) != 0)
                _exit(2);
            int failures = 0;
            for (int i = 0; i < Rounds; ++i) {
                // Separate values through TRegistry...
                TRegistry reg(m_store);
                if (!reg.OpenKey(DemoKey, true))
                    ++failures;
                reg.WriteInteger(std::string(1, who) + std::to_string(i), i);
                if (!reg.CloseKey())
                    ++failures;
                // ...and one shared counter, read, changed and written under one lock.
                const std::string error = m_store.Edit([](RegistryDocument &doc) {
                    const std::string key = "HKEY_CURRENT_USER\\Software\\Pictoralia\\Demo";
                    const RegValue *v = doc.FindValue(key, "Counter");
                    doc.SetValue(key, {"Counter", RegType::Dword, v ? v->dword + 1 : 1, {}});
                    return true;
                });
                if (!error.empty())
                    ++failures;
            }
            _exit(failures == 0 ? 0 : 1);
        }
        children.push_back(child);
    }
    close(go[0]);
    close(go[1]); // both start now
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    TRegistry reg(m_store);
    ASSERT_TRUE(reg.OpenKeyReadOnly(DemoKey));
    EXPECT_EQ(*reg.ReadInteger("Counter"), 2 * Rounds);
    for (char who : {'A', 'B'}) {
        for (int i = 0; i < Rounds; ++i)
            EXPECT_TRUE(reg.ValueExists(std::string(1, who) + std::to_string(i))) << who << i;
    }
    EXPECT_EQ(strayTemporaries(), std::vector<std::string>{});
}

TEST(RegistryPath, FollowsTheEnvironment)
{
    const QByteArray saved = qgetenv("PICTORALIA_REGISTRY");
    const QByteArray savedXdg = qgetenv("XDG_CONFIG_HOME");
    qputenv("PICTORALIA_REGISTRY", "/x/store.reg");
    EXPECT_EQ(DefaultRegistryPath(), "/x/store.reg");
    qunsetenv("PICTORALIA_REGISTRY");
    qputenv("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(DefaultRegistryPath(), "/cfg/pictoralia/registry.reg");
    qputenv("XDG_CONFIG_HOME", "relative"); // not absolute: ignored, as the XDG rules say
    EXPECT_EQ(DefaultRegistryPath(), qgetenv("HOME").toStdString() + "/.config/pictoralia/registry.reg");
    const auto restore = [](const char *name, const QByteArray &value) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    };
    restore("PICTORALIA_REGISTRY", saved);
    restore("XDG_CONFIG_HOME", savedXdg);
}

} // namespace
} // namespace pictoralia
