#include "Environment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "TestFiles.h"

namespace tandel {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTextServiceSection =
    "[SOFTWARE\\Microsoft\\CTF\\TIP\\{3F2A9C41-7B1E-4D6A-9E85-2C4B7A1D0E93}\\LanguageProfile\\"
    "0x00000804\\{8D4E2B17-5C9A-4F3E-B261-7A0C9E5D4F18}]\n";

std::string Utf8(std::u16string_view text) {
    return fs::path(text).string();
}

// Changes environment variables for one test and puts the old values back afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) {
                setenv(it->first.c_str(), it->second->c_str(), 1);
            } else {
                unsetenv(it->first.c_str());
            }
        }
    }

    void Set(const char* name, const std::string& value) {
        Remember(name);
        setenv(name, value.c_str(), 1);
    }
    void Unset(const char* name) {
        Remember(name);
        unsetenv(name);
    }

private:
    void Remember(const char* name) {
        const char* value = std::getenv(name);
        saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }

    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

void WriteText(const fs::path& path, std::string_view text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Every test gets its own home, data folder and registry file in a temporary folder.
class EnvironmentTest : public ::testing::Test {
protected:
    EnvironmentTest() {
        env_.Set("HOME", Home().string());
        env_.Set("TANDEL_REGISTRY", RegistryFile().string());
        env_.Set("XDG_DATA_HOME", (folder_ / "data").string());
        env_.Unset("XDG_CONFIG_HOME");
    }

    fs::path Home() const { return folder_ / "home"; }
    fs::path RegistryFile() const { return folder_ / "registry.ini"; }
    void WriteRegistry(std::string_view text) const { WriteText(RegistryFile(), text); }
    std::u16string DataRoot() const { return (folder_ / "data" / "Tandel").u16string(); }

    std::unique_ptr<IRegistryKey> OpenProductKey() const {
        std::unique_ptr<IRegistryKey> key;
        EXPECT_EQ(OpenMachineKey(u"Software\\Tandel", &key), kErrorSuccess);
        return key;
    }

    testing::TemporaryFolder folder_;
    ScopedEnvironment env_;
};

// --- The registry stand-in ---

TEST_F(EnvironmentTest, RegistryKeysAndValueNamesIgnoreCase) {
    WriteRegistry(
        "\xEF\xBB\xBF"
        "Stray=before any key\r\n"
        "; the installer's values\r\n"
        "# written by hand\r\n"
        "[software\\TANDEL]\r\n"
        "  InstallDir  =  /opt/tandel  \r\n"
        "installdir=/second/one\r\n"
        "[Software\\Tandel\\Sub]\r\n"
        "Version=9\r\n");
    std::unique_ptr<IRegistryKey> key = OpenProductKey();
    ASSERT_TRUE(key);
    char16_t buffer[32] = {};
    std::uint32_t count = 32;
    EXPECT_EQ(ReadRegistryString(*key, u"INSTALLDIR", buffer, &count), kErrorSuccess);
    EXPECT_EQ(std::u16string_view(buffer), u"/opt/tandel");
    EXPECT_EQ(key->QueryValue(u"Stray", nullptr, nullptr, nullptr), kErrorFileNotFound);
    EXPECT_EQ(key->QueryValue(u"Version", nullptr, nullptr, nullptr), kErrorFileNotFound);

    std::unique_ptr<IRegistryKey> missing;
    EXPECT_EQ(OpenMachineKey(u"Software\\Other", &missing), kErrorFileNotFound);
    EXPECT_EQ(OpenMachineKey(u"Software", &missing), kErrorFileNotFound);
    EXPECT_FALSE(missing);
    EXPECT_EQ(OpenMachineKey(u"Software\\Tandel", nullptr), kErrorInvalidParameter);

    fs::remove(RegistryFile());
    EXPECT_EQ(OpenMachineKey(u"Software\\Tandel", &missing), kErrorFileNotFound);
}

TEST_F(EnvironmentTest, RegistryValueKinds) {
    struct Case {
        const char* line;
        std::optional<std::uint32_t> type;  // nothing: the value is left out
        std::vector<std::uint8_t> data;
    };
    const Case cases[] = {
        {"Text=ab", kRegString, {'a', 0, 'b', 0, 0, 0}},
        {"Chinese=澜", kRegString, {0x9C, 0x6F, 0, 0}},
        {"Empty=", kRegString, {0, 0}},
        {"Hexagon=hexagon",
         kRegString,
         {'h', 0, 'e', 0, 'x', 0, 'a', 0, 'g', 0, 'o', 0, 'n', 0, 0, 0}},
        {"Number=dword:0000002a", kRegDword, {0x2A, 0, 0, 0}},
        {"Short=DWORD:1", kRegDword, {1, 0, 0, 0}},
        {"Largest=dword:FFFFFFFF", kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"Binary=hex:de, AD,0", kRegBinary, {0xDE, 0xAD, 0x00}},
        {"NoBytes=hex:", kRegBinary, {}},
        {"Expand=hex(2):41,00,00,00", kRegExpandString, {'A', 0, 0, 0}},
        {"Multi=hex(7):41,00,00,00,00,00", 7, {'A', 0, 0, 0, 0, 0}},
        {"TooLong=dword:123456789", std::nullopt, {}},
        {"NoDigits=dword:", std::nullopt, {}},
        {"NotHex=dword:xyz", std::nullopt, {}},
        {"BadByte=hex:1g", std::nullopt, {}},
        {"LongByte=hex:123", std::nullopt, {}},
        {"Trailing=hex:01,", std::nullopt, {}},
        {"BadType=hex(zz):00", std::nullopt, {}},
        {"EmptyType=hex():00", std::nullopt, {}},
        {"NoColon=hex(2)", std::nullopt, {}},
    };
    std::string registry = "[Software\\Tandel]\n";
    for (const Case& c : cases) {
        registry += c.line + std::string("\n");
    }
    WriteRegistry(registry);
    std::unique_ptr<IRegistryKey> key = OpenProductKey();
    ASSERT_TRUE(key);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::string line = c.line;
        std::u16string name = fs::path(line.substr(0, line.find('='))).u16string();
        std::uint32_t type = 99;
        std::uint32_t size = 0;
        std::uint32_t error = key->QueryValue(name, &type, nullptr, &size);
        if (!c.type) {
            EXPECT_EQ(error, kErrorFileNotFound);
            continue;
        }
        ASSERT_EQ(error, kErrorSuccess);
        EXPECT_EQ(type, *c.type);
        ASSERT_EQ(size, c.data.size());
        std::vector<std::uint8_t> data(size + 1, 0xEE);
        EXPECT_EQ(key->QueryValue(name, nullptr, data.data(), &size), kErrorSuccess);
        EXPECT_EQ(std::vector<std::uint8_t>(data.begin(), data.end() - 1), c.data);
        EXPECT_EQ(data.back(), 0xEE);
    }
}

TEST_F(EnvironmentTest, RegistryQueryNeverWritesPastTheData) {
    WriteRegistry("[Software\\Tandel]\nVersion=2.6\n");
    std::unique_ptr<IRegistryKey> key = OpenProductKey();
    ASSERT_TRUE(key);
    std::uint8_t data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    std::uint32_t size = 7;
    EXPECT_EQ(key->QueryValue(u"Version", nullptr, data, &size), kErrorMoreData);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(data[0], 1);
    EXPECT_EQ(key->QueryValue(u"Version", nullptr, data, nullptr), kErrorInvalidParameter);
}

TEST_F(EnvironmentTest, RegistryFileLocation) {
    const fs::path config = folder_ / "config";
    WriteText(RegistryFile(), "[Software\\Tandel]\nInstallDir=chosen\n");
    WriteText(config / "Tandel" / "registry.ini", "[Software\\Tandel]\nInstallDir=xdg\n");
    WriteText(Home() / ".config" / "Tandel" / "registry.ini",
              "[Software\\Tandel]\nInstallDir=home\n");
    struct Case {
        std::optional<std::string> registry, configHome, home;
        std::optional<std::u16string> installDir;
    };
    const Case cases[] = {
        {RegistryFile().string(), config.string(), Home().string(), u"chosen"},
        {std::nullopt, config.string(), Home().string(), u"xdg"},
        {"", config.string() + "/", Home().string(), u"xdg"},
        {std::nullopt, std::nullopt, Home().string(), u"home"},
        {std::nullopt, "", Home().string(), u"home"},
        {std::nullopt, "relative/config", Home().string(), u"home"},
        {std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        {(folder_ / "missing.ini").string(), config.string(), Home().string(), std::nullopt},
        {folder_.path().string(), config.string(), Home().string(), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.configHome.value_or("(XDG_CONFIG_HOME unset)"));
        ScopedEnvironment env;
        auto set = [&](const char* name, const std::optional<std::string>& value) {
            value ? env.Set(name, *value) : env.Unset(name);
        };
        set("TANDEL_REGISTRY", c.registry);
        set("XDG_CONFIG_HOME", c.configHome);
        set("HOME", c.home);
        char16_t buffer[kMaxPath] = {};
        std::uint32_t count = kMaxPath;
        EXPECT_EQ(ReadInstallDir(buffer, &count), c.installDir.has_value());
        if (c.installDir) {
            EXPECT_EQ(std::u16string_view(buffer), *c.installDir);
        }
    }
}

// --- ReadRegistryString ---

TEST_F(EnvironmentTest, ReadRegistryStringResults) {
    WriteRegistry(
        "[Software\\Tandel]\n"
        "Plain=D:\\Tandel\n"
        "Chinese=D:\\澜石\n"
        "Empty=\n"
        "Number=dword:0000002a\n"
        "Binary=hex:41,00,00,00\n"
        "Expand=hex(2):25,00,41,00,25,00,00,00\n"
        "Unterminated=hex(1):41,00,42,00\n"
        "Odd=hex(1):41,00,42\n"
        "Nothing=hex(1):\n");
    std::unique_ptr<IRegistryKey> key = OpenProductKey();
    ASSERT_TRUE(key);
    // The buffer starts as 15 "#" and a terminator; "untouched" means it still is.
    const std::u16string untouched(15, u'#');
    struct Case {
        std::u16string_view name;
        std::uint32_t capacity;
        std::uint32_t error;
        std::uint32_t count;
        std::u16string text;
    };
    const Case cases[] = {
        {u"Plain", 15, kErrorSuccess, 10, u"D:\\Tandel"},
        {u"plain", 10, kErrorSuccess, 10, u"D:\\Tandel"},  // exactly fits
        {u"Plain", 9, kErrorMoreData, 10, untouched},
        {u"Plain", 0, kErrorMoreData, 10, untouched},
        {u"Chinese", 15, kErrorSuccess, 6, u"D:\\澜石"},
        {u"Empty", 15, kErrorSuccess, 1, u""},
        {u"Missing", 15, kErrorFileNotFound, 15, untouched},
        // Numbers and binary data are no strings; what the query copied is not left behind.
        {u"Number", 15, kErrorInvalidData, 2, u""},
        {u"Number", 1, kErrorMoreData, 2, untouched},
        {u"Binary", 15, kErrorInvalidData, 2, u""},
        // Expandable strings are read as they are stored.
        {u"Expand", 15, kErrorSuccess, 4, u"%A%"},
        // Text stored without terminator gets one, or is refused when there is no room.
        {u"Unterminated", 15, kErrorSuccess, 3, u"AB"},
        {u"Unterminated", 3, kErrorSuccess, 3, u"AB"},
        {u"Unterminated", 2, kErrorMoreData, 3, u""},
        {u"Odd", 15, kErrorSuccess, 2, u"A"},
        {u"Odd", 1, kErrorMoreData, 2, untouched},
        {u"Nothing", 15, kErrorSuccess, 1, u""},
        {u"Nothing", 0, kErrorMoreData, 1, untouched},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.name) + " in " + std::to_string(c.capacity));
        char16_t buffer[16];
        std::fill(std::begin(buffer), std::end(buffer) - 1, u'#');
        buffer[15] = 0;
        std::uint32_t count = c.capacity;
        EXPECT_EQ(ReadRegistryString(*key, c.name, buffer, &count), c.error);
        EXPECT_EQ(count, c.count);
        EXPECT_EQ(std::u16string_view(buffer), c.text);
    }

    EXPECT_EQ(ReadRegistryString(*key, u"Plain", nullptr, nullptr), kErrorInvalidParameter);
    std::uint32_t count = 0;
    EXPECT_EQ(ReadRegistryString(*key, u"Plain", nullptr, &count), kErrorSuccess);
    EXPECT_EQ(count, 10u);
}

// --- Install folder and version ---

TEST_F(EnvironmentTest, InstallDirAndVersion) {
    WriteRegistry(
        "[Software\\Tandel]\n"
        "InstallDir=/opt/澜石输入法\n"
        "Version=2.6.0.1603\n");
    char16_t buffer[kMaxPath] = {};
    std::uint32_t count = kMaxPath;
    EXPECT_TRUE(ReadInstallDir(buffer, &count));
    EXPECT_EQ(std::u16string_view(buffer), u"/opt/澜石输入法");
    EXPECT_EQ(count, 11u);
    count = kMaxPath;
    EXPECT_TRUE(ReadInstalledVersion(buffer, &count));
    EXPECT_EQ(std::u16string_view(buffer), u"2.6.0.1603");
    EXPECT_EQ(count, 11u);

    count = kMaxPath;
    EXPECT_FALSE(ReadInstallDir(nullptr, &count));
    EXPECT_FALSE(ReadInstallDir(buffer, nullptr));
    EXPECT_FALSE(ReadInstalledVersion(nullptr, &count));
    EXPECT_FALSE(ReadInstalledVersion(buffer, nullptr));
    count = 10;  // one short for the version and its terminator
    EXPECT_FALSE(ReadInstalledVersion(buffer, &count));
}

TEST_F(EnvironmentTest, InstallDirStoredAsNumberIsRefused) {
    WriteRegistry("[Software\\Tandel]\nInstallDir=dword:0000002a\nVersion=2.6.0.1603\n");
    char16_t buffer[kMaxPath] = {};
    std::uint32_t count = kMaxPath;
    EXPECT_FALSE(ReadInstallDir(buffer, &count));
    EXPECT_EQ(buffer[0], 0);
    count = kMaxPath;
    EXPECT_TRUE(ReadInstalledVersion(buffer, &count));
}

TEST_F(EnvironmentTest, InstallDirWithoutRegistryOrKey) {
    char16_t buffer[kMaxPath] = {};
    std::uint32_t count = kMaxPath;
    EXPECT_FALSE(ReadInstallDir(buffer, &count));
    WriteRegistry("[Software\\Other]\nInstallDir=/opt/other\n[Software\\Tandel]\nVersion=1\n");
    EXPECT_FALSE(ReadInstallDir(buffer, &count));
    EXPECT_TRUE(ReadInstalledVersion(buffer, &count));
}

// --- User data folder ---

TEST_F(EnvironmentTest, UserDataRoot) {
    char16_t path[kMaxPath] = {};
    EXPECT_TRUE(GetUserDataDir(path, true));
    EXPECT_EQ(std::u16string_view(path), DataRoot());
    EXPECT_FALSE(GetUserDataDir(nullptr, true));
    EXPECT_FALSE(GetUserDataDir(nullptr, false));

    // The root ignores the profile file.
    WriteText(fs::path(DataRoot()) / "Users" / "Tandel-users-info.ini", "[current]\ncur=ann\n");
    EXPECT_TRUE(GetUserDataDir(path, true));
    EXPECT_EQ(std::u16string_view(path), DataRoot());
}

TEST_F(EnvironmentTest, UserDataRootLocation) {
    const std::u16string inHome = (Home() / ".local" / "share" / "Tandel").u16string();
    struct Case {
        std::optional<std::string> dataHome, home;
        std::optional<std::u16string> root;
    };
    const Case cases[] = {
        {(folder_ / "data").string(), Home().string(), DataRoot()},
        {(folder_ / "data").string() + "//", Home().string(), DataRoot()},
        {std::nullopt, Home().string(), inHome},
        {"", Home().string(), inHome},
        {"relative/data", Home().string(), inHome},
        {std::nullopt, std::nullopt, std::nullopt},
        {std::nullopt, "relative/home", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dataHome.value_or("(XDG_DATA_HOME unset)"));
        ScopedEnvironment env;
        c.dataHome ? env.Set("XDG_DATA_HOME", *c.dataHome) : env.Unset("XDG_DATA_HOME");
        c.home ? env.Set("HOME", *c.home) : env.Unset("HOME");
        char16_t path[kMaxPath] = u"untouched";
        EXPECT_EQ(GetUserDataDir(path, true), c.root.has_value());
        EXPECT_EQ(std::u16string_view(path), c.root.value_or(u"untouched"));
    }
}

TEST_F(EnvironmentTest, UserDataFolderOfTheCurrentProfile) {
    const std::u16string users = DataRoot() + kPathSeparator + u"Users" + kPathSeparator;
    struct Case {
        std::optional<std::string> profileFile;
        std::u16string folder;
    };
    const Case cases[] = {
        {std::nullopt, DataRoot()},
        {"[current]\ncur=ann\n", users + u"ann"},
        {"[current]\ncur=\n", DataRoot()},
        {"[current]\ncur=   \n", DataRoot()},
        {"[CURRENT]\r\nCur = 张三 \r\n", users + u"张三"},
        {"[current]\ncur=abcdefghijkl\n", users + u"abcdefghi"},  // at most 9 characters
        {"[current]\ncur=123456789\n", users + u"123456789"},
        {"[current]\ncur=12345678\xF0\x9F\x98\x80\n", users + u"12345678"},  // no half pair
        {"[other]\ncur=ann\n", DataRoot()},
        {"[current]\nname=ann\n", DataRoot()},
        {"cur=ann\n", DataRoot()},
    };
    const fs::path profileFile = fs::path(DataRoot()) / "Users" / "Tandel-users-info.ini";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.profileFile.value_or("(no profile file)"));
        fs::remove(profileFile);
        if (c.profileFile) {
            WriteText(profileFile, *c.profileFile);
        }
        char16_t path[kMaxPath] = {};
        EXPECT_TRUE(GetUserDataDir(path, false));
        EXPECT_EQ(std::u16string_view(path), c.folder);
    }
}

// A data folder whose root "<folder>/Tandel" has the given length in UTF-16 units.
fs::path DataFolderForRootLength(const fs::path& base, std::size_t length) {
    const std::size_t folderLength = length - std::u16string_view(u"/Tandel").size();
    const std::size_t padding = folderLength - base.u16string().size() - 1;
    return base / std::string(padding, 'd');
}

TEST_F(EnvironmentTest, UserDataPathsLongerThanThePathLimitAreRefused) {
    const fs::path base = folder_ / "long";
    for (std::size_t length : {kMaxPath - 1, kMaxPath}) {
        SCOPED_TRACE(length);
        const fs::path data = DataFolderForRootLength(base, length);
        env_.Set("XDG_DATA_HOME", data.string());
        char16_t path[kMaxPath + 1] = u"untouched";
        EXPECT_EQ(GetUserDataDir(path, true), length < kMaxPath);
        EXPECT_EQ(std::u16string_view(path),
                  length < kMaxPath ? (data / "Tandel").u16string() : u"untouched");
    }

    // The root fits, the profile's folder inside it does not: refused, the root is kept.
    const fs::path data = DataFolderForRootLength(base, kMaxPath - 10);
    env_.Set("XDG_DATA_HOME", data.string());
    WriteText(data / "Tandel" / "Users" / "Tandel-users-info.ini", "[current]\ncur=ann\n");
    char16_t path[kMaxPath] = {};
    EXPECT_FALSE(GetUserDataDir(path, false));
    EXPECT_EQ(std::u16string_view(path), (data / "Tandel").u16string());
}

TEST(PackageFolderToLocalLow, TurnsAPackageFolderIntoLocalLow) {
    struct Case {
        std::u16string_view folder;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {u"C:\\Users\\ann\\AppData\\Local\\Packages\\Tandel.SkinEditor_8wekyb3d8bbwe\\AC",
         u"C:\\Users\\ann\\AppData\\LocalLow"},
        {u"C:\\Users\\ann\\AppData\\Local\\Packages", u"C:\\Users\\ann\\AppData\\LocalLow"},
        {u"D:\\Profiles\\张三\\AppData\\Local\\Packages\\App\\LocalState",
         u"D:\\Profiles\\张三\\AppData\\LocalLow"},
        {u"C:\\Users\\ann\\AppData\\LocalLow", u"C:\\Users\\ann\\AppData\\LocalLow"},
        {u"C:\\Users\\ann\\AppData\\Local", u"C:\\Users\\ann\\AppData\\Local"},
        {u"C:\\Users\\ann\\AppData\\Local\\Temp", u"C:\\Users\\ann\\AppData\\Local\\Temp"},
        {u"", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PackageFolderToLocalLow(c.folder), c.expected) << Utf8(c.folder);
    }
    // The user data root then is "Tandel" inside LocalLow, nothing of the package left.
    EXPECT_EQ(PackageFolderToLocalLow(cases[0].folder) + u"\\Tandel",
              u"C:\\Users\\ann\\AppData\\LocalLow\\Tandel");
}

// --- System release and text service ---

TEST(OsClass, ClassifiesEveryRelease) {
    struct Case {
        std::uint32_t major, minor, servicePack;
        int osClass;
    };
    const Case cases[] = {
        {4, 0, 0, 1},
        {4, 0, 6, 1},
        {4, 10, 0, 2},
        {4, 10, 1, 2},
        {4, 90, 0, 3},
        {4, 1, 0, 3},
        {5, 0, 0, 4},
        {5, 0, 4, 4},
        {5, 1, 0, 5},
        {5, 1, 1, 6},
        {5, 1, 2, 7},
        {5, 1, 3, 8},
        {5, 1, 4, 5},
        {5, 2, 0, 9},
        {5, 2, 2, 9},
        {5, 3, 0, 9},
        {6, 0, 0, 10},
        {6, 0, 1, 11},
        {6, 0, 2, 12},
        {6, 0, 3, 10},
        {6, 1, 0, 13},
        {6, 1, 1, 14},
        {6, 1, 2, 13},
        {6, 2, 0, 15},
        {6, 2, 1, 15},
        {6, 3, 0, 16},
        {6, 4, 0, 17},
        {6, 5, 0, 18},
        {6, 9, 3, 18},
        {10, 0, 0, 17},
        {10, 0, 1, 17},
        {10, 1, 0, 18},
        {10, 5, 0, 18},
        {0, 0, 0, 0},
        {1, 0, 0, 0},
        {2, 1, 0, 0},
        {3, 51, 0, 0},
        {7, 0, 0, 0},
        {8, 1, 0, 0},
        {9, 0, 0, 0},
        {11, 0, 0, 18},
        {12, 3, 1, 18},
        {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 18},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClassifyOs(c.major, c.minor, c.servicePack), c.osClass)
            << c.major << "." << c.minor << " service pack " << c.servicePack;
    }
}

TEST_F(EnvironmentTest, LinuxIsTheNewestClass) {
    EXPECT_EQ(GetOsClass(), 18);
    EXPECT_TRUE(IsTextServiceReady());  // no registry file at all
}

TEST_F(EnvironmentTest, TextServiceReadiness) {
    struct Case {
        std::optional<std::string> registry;
        bool readyBeforeWindows8;
    };
    const std::string key = kTextServiceSection;
    const Case cases[] = {
        {std::nullopt, false},
        {"[Software\\Tandel]\nSubstituteLayout=1\n", false},
        {key, false},
        {key + "SubstituteLayout=0x00000804\n", true},
        {key + "substitutelayout={8D4E2B17-5C9A-4F3E-B261-7A0C9E5D4F18}\n", true},
        {key + "SubstituteLayout=\n", false},
        {key + "SubstituteLayout=dword:00000804\n", false},
        {key + "SubstituteLayout=" + std::string(40, 'x') + "\n", false},  // longer than 39
        {key + "SubstituteLayout=" + std::string(39, 'x') + "\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.registry.value_or("(no registry file)"));
        fs::remove(RegistryFile());
        if (c.registry) {
            WriteRegistry(*c.registry);
        }
        for (int osClass : {0, 9, 13, 14}) {
            EXPECT_EQ(IsTextServiceReadyFor(osClass), c.readyBeforeWindows8) << osClass;
        }
        for (int osClass : {15, 17, 18}) {
            EXPECT_TRUE(IsTextServiceReadyFor(osClass)) << osClass;
        }
    }
}

// --- Files ---

TEST_F(EnvironmentTest, FileExists) {
    WriteText(folder_ / "皮肤" / "a.tdskn", "skin");
    struct Case {
        std::u16string path;
        bool exists;
    };
    const Case cases[] = {
        {(folder_ / "皮肤" / "a.tdskn").u16string(), true},
        {(folder_ / "皮肤").u16string(), true},
        {folder_.path().u16string(), true},
        {(folder_ / "皮肤" / "b.tdskn").u16string(), false},
        {(folder_ / "missing" / "a.tdskn").u16string(), false},
        {u"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileExists(c.path.c_str()), c.exists) << Utf8(c.path);
    }
    EXPECT_FALSE(FileExists(nullptr));
}

}  // namespace
}  // namespace tandel
