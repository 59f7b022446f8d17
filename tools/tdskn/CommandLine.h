// Argument handling and messages shared by tdskn's commands.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace tandel::tdskn {

// Positional arguments and --options (those listed as valued take the next argument).
struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    std::string error;
};

Arguments parseArguments(const std::vector<std::string>& args,
                         const std::vector<std::string>& valued,
                         const std::vector<std::string>& flags);

bool hasCommand(const std::string& command);
const std::string& commandHelp(const std::string& command);

// Prints "tdskn: message" on standard error; returns the exit status 1.
int fail(const std::string& message);
// Prints the problem and the command's help on standard error; returns the exit status 2.
int usageError(const std::string& command, const std::string& message);

}  // namespace tandel::tdskn
