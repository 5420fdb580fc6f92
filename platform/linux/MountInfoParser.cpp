#include "platform/linux/MountInfoParser.h"

#include "platform/linux/TextParsing.h"

#include <algorithm>

namespace orbistat {

namespace {

// A comma-separated option list that holds exactly "ro".
bool listsReadOnly(std::string_view options)
{
    while (!options.empty()) {
        const auto comma = options.find(',');
        if (options.substr(0, comma) == "ro")
            return true;
        if (comma == std::string_view::npos)
            break;
        options.remove_prefix(comma + 1);
    }
    return false;
}

} // namespace

std::optional<bool> isRootReadOnly(std::string_view mountinfo)
{
    std::optional<bool> readOnly;
    forEachLine(mountinfo, [&](std::string_view line) {
        const auto fields = splitFields(line);
        // Six fixed fields, optional ones, the separator, then three more.
        const auto separator = std::find(fields.begin(), fields.end(), std::string_view("-"));
        if (fields.size() < 10 || separator - fields.begin() < 6 || fields.end() - separator < 4)
            return;
        // Mount points are octal-escaped ("\040" for a blank): "/" is "/".
        if (fields[4] != "/")
            return;
        readOnly = listsReadOnly(fields[5]) || listsReadOnly(*(separator + 3));
    });
    return readOnly;
}

} // namespace orbistat
