// The machine's registry, read only, as far as the editor needs it: open a key below
// HKEY_LOCAL_MACHINE, query its values, close it by destroying the key object. On Linux the keys
// and values the input method's installer would write are kept in a file (README.md, "Input
// method installation on Linux").
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

namespace tandel {

// Result codes, numbered as the system numbers its errors.
inline constexpr std::uint32_t kErrorSuccess = 0;
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorInvalidData = 13;
inline constexpr std::uint32_t kErrorInvalidParameter = 87;
inline constexpr std::uint32_t kErrorMoreData = 234;

// Value types, numbered as the registry numbers them.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegString = 1;
inline constexpr std::uint32_t kRegExpandString = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

// An open key. Destroying it closes the key.
class IRegistryKey {
public:
    virtual ~IRegistryKey() = default;

    // Reads the value called name, as the registry's own query does: the value's type goes to
    // *type (when type is given). With data null only the size in bytes goes to *size. Else
    // *size holds the capacity of data in bytes: when the value fits, its bytes are copied as
    // stored (a string with its terminator, if it was stored with one) and *size becomes their
    // number; when it does not, nothing is copied, *size becomes the size needed and the result
    // is kErrorMoreData. kErrorFileNotFound when the key has no such value, and
    // kErrorInvalidParameter when data is given without size.
    virtual std::uint32_t QueryValue(std::u16string_view name, std::uint32_t* type,
                                     std::uint8_t* data, std::uint32_t* size) const = 0;
};

// Opens the key at path below HKEY_LOCAL_MACHINE for reading, path written with backslashes as
// in u"Software\\Tandel" and compared without regard to case. kErrorSuccess and the key in
// *key, or kErrorFileNotFound when there is no such key.
std::uint32_t OpenMachineKey(std::u16string_view path, std::unique_ptr<IRegistryKey>* key);

namespace platform {

// The file that holds the registry on Linux: $TANDEL_REGISTRY, else Tandel/registry.ini in the
// XDG configuration folder; nothing when neither is known.
std::optional<std::filesystem::path> RegistryFile();

}  // namespace platform

}  // namespace tandel
