#include "Report.h"

#include <cstdio>
#include <cstdlib>

namespace tandel::tdskn {
namespace {

void writeJsonString(std::ostream& out, const std::string& text) {
    out << '"';
    for (unsigned char c : text) {
        switch (c) {
            case '"': out << "\\\""; break;
            case '\\': out << "\\\\"; break;
            case '\n': out << "\\n"; break;
            case '\r': out << "\\r"; break;
            case '\t': out << "\\t"; break;
            default:
                if (c < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out << escaped;
                } else {
                    out << c;
                }
        }
    }
    out << '"';
}

std::string pad(int indent) {
    return std::string(std::size_t(indent), ' ');
}

}  // namespace

Report& Report::add(std::string name, Report value) {
    Members& members = std::get<Members>(value_);
    members.emplace_back(std::move(name), std::move(value));
    return members.back().second;
}

Report& Report::push(Report value) {
    Items& items = std::get<Items>(value_);
    items.push_back(std::move(value));
    return items.back();
}

bool Report::isScalar() const {
    return !std::holds_alternative<Members>(value_) && !std::holds_alternative<Items>(value_);
}

void Report::printScalar(std::ostream& out, bool json) const {
    if (const auto* number = std::get_if<std::int64_t>(&value_)) {
        out << *number;
    } else if (const auto* flag = std::get_if<bool>(&value_)) {
        out << (*flag ? "true" : "false");
    } else if (const auto* text = std::get_if<std::string>(&value_)) {
        if (json) {
            writeJsonString(out, *text);
        } else {
            out << *text;
        }
    }
}

void Report::printJson(std::ostream& out, int indent) const {
    if (isScalar()) {
        printScalar(out, true);
    } else if (const auto* members = std::get_if<Members>(&value_)) {
        out << "{";
        for (std::size_t i = 0; i < members->size(); ++i) {
            out << (i ? ",\n" : "\n") << pad(indent + 2);
            writeJsonString(out, (*members)[i].first);
            out << ": ";
            (*members)[i].second.printJson(out, indent + 2);
        }
        out << (members->empty() ? "}" : "\n" + pad(indent) + "}");
    } else {
        const Items& items = std::get<Items>(value_);
        out << "[";
        for (std::size_t i = 0; i < items.size(); ++i) {
            out << (i ? ",\n" : "\n") << pad(indent + 2);
            items[i].printJson(out, indent + 2);
        }
        out << (items.empty() ? "]" : "\n" + pad(indent) + "]");
    }
}

void Report::printText(std::ostream& out, int indent) const {
    if (isScalar()) {
        printScalar(out, false);
        out << "\n";
        return;
    }
    if (const auto* members = std::get_if<Members>(&value_)) {
        bool first = true;
        for (const auto& [name, child] : *members) {
            // The first member of a list item stands on the item's "- " line.
            out << (first && indent < 0 ? "" : pad(std::abs(indent))) << name << ":";
            first = false;
            if (child.isScalar()) {
                out << " ";
                child.printText(out, 0);
            } else {
                out << "\n";
                child.printText(out, std::abs(indent) + 2);
            }
        }
        return;
    }
    for (const Report& child : std::get<Items>(value_)) {
        out << pad(indent) << "- ";
        if (child.isScalar()) {
            child.printText(out, 0);
        } else {
            child.printText(out, -(indent + 2));
        }
    }
}

}  // namespace tandel::tdskn
