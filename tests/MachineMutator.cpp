#include "MachineMutator.h"

#include <algorithm>
#include <fstream>
#include <sys/stat.h>

namespace orbistat::test {

namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void writeAll(const fs::path& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

// Replaces whatever is at `path` (a file, a link, a folder) with nothing.
void clear(const fs::path& path)
{
    std::error_code error;
    fs::remove_all(path, error);
}

} // namespace

MachineMutator::MachineMutator(fs::path tree, uint32_t seed)
    : tree_(std::move(tree))
    , random_(seed)
{
}

const char* MachineMutator::name(Kind kind)
{
    static const char* names[] = {"truncate", "random bytes", "nul", "huge", "negative", "nan/inf", "junk", "empty",
                                  "long line", "directory", "fifo", "link loop", "dangling link", "device", "vanish"};
    return names[static_cast<size_t>(kind)];
}

std::vector<fs::path> MachineMutator::regularFiles() const
{
    std::vector<fs::path> files;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(tree_, error); !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_regular_file(error) && !it->is_symlink(error))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<fs::path> MachineMutator::devices() const
{
    std::vector<fs::path> found;
    for (const char* folder : {"sys/class/hwmon", "sys/class/power_supply", "sys/class/net", "sys/block", "sys/class/drm",
                               "sys/class/powercap", "sys/class/thermal"}) {
        std::error_code error;
        for (auto it = fs::directory_iterator(tree_ / folder, error); !error && it != fs::directory_iterator(); it.increment(error))
            found.push_back(it->path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::string MachineMutator::randomText(size_t length)
{
    std::string text(length, '\0');
    std::uniform_int_distribution<int> byte(0, 255);
    for (auto& c : text)
        c = static_cast<char>(byte(random_));
    return text;
}

std::string MachineMutator::mutate()
{
    std::uniform_int_distribution<int> kind(0, static_cast<int>(Kind::count) - 1);
    return mutate(static_cast<Kind>(kind(random_)));
}

std::string MachineMutator::mutate(Kind kind)
{
    if (kind == Kind::vanish) {
        const auto all = devices();
        if (all.empty())
            return "vanish: no device left";
        const auto& victim = all[std::uniform_int_distribution<size_t>(0, all.size() - 1)(random_)];
        clear(victim);
        return std::string("vanish: ") + victim.lexically_relative(tree_).string();
    }

    const auto files = regularFiles();
    if (files.empty())
        return "none: no file left";
    const auto& file = files[std::uniform_int_distribution<size_t>(0, files.size() - 1)(random_)];
    const auto pick = [this](std::initializer_list<const char*> options) {
        return std::string(*(options.begin() + std::uniform_int_distribution<size_t>(0, options.size() - 1)(random_)));
    };
    std::string content = readAll(file);
    switch (kind) {
    case Kind::truncate:
        content.resize(content.empty() ? 0 : std::uniform_int_distribution<size_t>(0, content.size() - 1)(random_));
        writeAll(file, content);
        break;
    case Kind::randomBytes:
        writeAll(file, randomText(std::uniform_int_distribution<size_t>(1, 512)(random_)));
        break;
    case Kind::nul:
        for (int i = 0; i < 3 && !content.empty(); ++i)
            content[std::uniform_int_distribution<size_t>(0, content.size() - 1)(random_)] = '\0';
        writeAll(file, content.empty() ? std::string(4, '\0') : content);
        break;
    case Kind::huge:
        writeAll(file, pick({"18446744073709551616\n", "99999999999999999999999999\n", "1e308\n", "9223372036854775807\n",
                             "18446744073709551615 18446744073709551615 18446744073709551615\n"}));
        break;
    case Kind::negative:
        writeAll(file, pick({"-1\n", "-9223372036854775808\n", "-273150\n", "-100000000\n"}));
        break;
    case Kind::notANumber:
        writeAll(file, pick({"nan\n", "inf\n", "-inf\n", "NaN\n"}));
        break;
    case Kind::junk:
        writeAll(file, pick({"12abc\n", "4.5e4\n", "0x\n", "+-7\n", "Charging\x1b[31m\n", "<b>bold</b>\n"}));
        break;
    case Kind::empty:
        writeAll(file, "");
        break;
    case Kind::longLine:
        writeAll(file, std::string(64 * 1024, '7'));
        break;
    case Kind::directory:
        clear(file);
        fs::create_directories(file / "inside");
        break;
    case Kind::fifo:
        clear(file);
        ::mkfifo(file.c_str(), 0600);
        break;
    case Kind::linkLoop:
        clear(file);
        fs::create_symlink(file.filename(), file);
        break;
    case Kind::danglingLink:
        clear(file);
        fs::create_symlink("nowhere/at/all", file);
        break;
    case Kind::device:
        clear(file);
        fs::create_symlink(pick({"/dev/zero", "/dev/urandom", "/dev/null"}), file);
        break;
    case Kind::vanish:
    case Kind::count:
        break;
    }
    return std::string(name(kind)) + ": " + file.lexically_relative(tree_).string();
}

} // namespace orbistat::test
