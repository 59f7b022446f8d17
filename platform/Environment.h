// What the editor and the engine learn about the machine: where the input method is installed
// and which version it is, the current user's data folder of the input method, the system's
// release, whether the input method's text service can stand in for a keyboard layout, and
// whether a file exists. Paths are zero-terminated UTF-16 in buffers the caller owns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "Registry.h"

namespace tandel {

// Room of every path buffer, terminator included. Longer paths are refused, never cut short.
inline constexpr std::size_t kMaxPath = 260;
inline constexpr char16_t kPathSeparator = std::filesystem::path::preferred_separator;

// Reads a string value (REG_SZ or REG_EXPAND_SZ, environment variables left unexpanded) of an
// open key. *count holds the capacity of buffer in UTF-16 units on entry and the units
// delivered, terminator included, on return. Returns kErrorInvalidParameter when count is
// null, the query's error when it fails (kErrorMoreData, with the units needed in *count and
// nothing stored, when the value does not fit), kErrorInvalidData when the value is no string
// (buffer then holds an empty string), else kErrorSuccess. A string stored without terminator
// gets one, so the buffer always ends within what was delivered. With buffer null only *count
// is set.
std::uint32_t ReadRegistryString(const IRegistryKey& key, std::u16string_view valueName,
                                 char16_t* buffer, std::uint32_t* count);

// The values "InstallDir" and "Version" of the key "Software\Tandel", read with
// ReadRegistryString. False when an argument is null, the key cannot be opened or the read
// fails.
bool ReadInstallDir(char16_t* buffer, std::uint32_t* count);
bool ReadInstalledVersion(char16_t* buffer, std::uint32_t* count);

// The user data root, the folder "Tandel" in the user's low-integrity application data folder
// ($XDG_DATA_HOME, else $HOME/.local/share, on Linux); with rootOnly false the current
// profile's folder "Users/<cur>" below it when the root's "Users/Tandel-users-info.ini" names
// one in section "current", key "cur" (at most 9 units read), else the root. path has room for
// kMaxPath units. False when path is null or the root is unknown (path then untouched), or when
// the profile's folder would not fit (path then holds the root).
bool GetUserDataDir(char16_t* path, bool rootOnly);

// The folder a packaged process is given below the local application data folder, turned into
// the user's "LocalLow" folder next to it: "...\Local\Packages\<package>\..." becomes
// "...\LocalLow". Other folders come back unchanged.
std::u16string PackageFolderToLocalLow(std::u16string_view folder);

// The system's release as a class from 0 to 18: 9 or less is before Windows Vista, 15 or more
// Windows 8 or later. Linux counts as the newest class, 18.
int GetOsClass();
// Classifies a Windows release by major and minor version and major service pack number.
int ClassifyOs(std::uint32_t major, std::uint32_t minor, std::uint32_t servicePack);

// Whether the input method's text service can stand in for a keyboard layout: always from
// class 15 on, else when its language profile in the registry has a "SubstituteLayout" value.
bool IsTextServiceReady();
bool IsTextServiceReadyFor(int osClass);

// Whether a file or folder exists at path. False for a null or empty path.
bool FileExists(const char16_t* path);

}  // namespace tandel
