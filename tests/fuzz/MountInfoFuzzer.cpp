// libFuzzer target: /proc/self/mountinfo. Properties: parsing is
// deterministic; whatever comes before, a well-formed line mounting "/" at
// the end decides, read-only exactly when its options say so (the last
// mount of "/" hides those below it).
#include "FuzzSupport.h"
#include "platform/linux/MountInfoParser.h"

#include <string>

using namespace orbistat;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto text = fuzz::asText(data, size);
    const auto readOnly = isRootReadOnly(text);
    fuzz::require(isRootReadOnly(text) == readOnly, "parsing is deterministic");

    const std::string before(text);
    const auto last = [&before](const char* options, const char* superOptions) {
        return isRootReadOnly(before + "\n999 1 8:1 / / " + options + ",relatime shared:1 - ext4 /dev/sda1 " + superOptions + "\n");
    };
    fuzz::require(last("ro", "rw") == true, "a last read-only mount of / makes it read-only");
    fuzz::require(last("rw", "ro") == true, "a read-only filesystem under / makes it read-only");
    fuzz::require(last("rw", "rw,errors=remount-ro") == false, "a last writable mount of / makes it writable");
    return 0;
}
