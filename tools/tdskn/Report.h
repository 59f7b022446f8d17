// A small ordered tree of values that the commands fill once and print either as JSON or as
// indented text.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace tandel::tdskn {

class Report {
public:
    using Members = std::vector<std::pair<std::string, Report>>;
    using Items = std::vector<Report>;

    Report() : value_(Members{}) {}
    Report(std::int64_t number) : value_(number) {}
    Report(int number) : value_(std::int64_t(number)) {}
    Report(unsigned number) : value_(std::int64_t(number)) {}
    Report(bool flag) : value_(flag) {}
    Report(std::string text) : value_(std::move(text)) {}
    Report(const char* text) : value_(std::string(text)) {}
    static Report list() {
        Report r;
        r.value_ = Items{};
        return r;
    }

    // Adds a member to an object; returns the new member.
    Report& add(std::string name, Report value);
    // Appends to a list; returns the new item.
    Report& push(Report value);

    void printJson(std::ostream& out, int indent = 0) const;
    // A negative indent continues the line of a list item's "- " and indents by its magnitude.
    void printText(std::ostream& out, int indent = 0) const;

private:
    bool isScalar() const;
    void printScalar(std::ostream& out, bool json) const;

    std::variant<std::int64_t, bool, std::string, Members, Items> value_;
};

}  // namespace tandel::tdskn
