// The pieces of the environment services each system answers in its own way; Environment.cpp
// builds the services from them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tandel::platform {

// The folder the user data root "Tandel" is made in, nothing when the system does not say.
std::optional<std::u16string> UserDataParent();

// The value of key in section of the profile file at path; empty when the file, the section or
// the key is missing.
std::u16string ReadProfileString(std::u16string_view path, std::u16string_view section,
                                 std::u16string_view key);

}  // namespace tandel::platform
