// Fuzz target: the harness's scenario language. Any text is either refused
// with a line number or parsed into commands that each name a line of the
// text and carry the arguments their command needs.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_util.h"
#include "scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    auto parsed = harness::ParseScenario(text);
    if (!parsed) {
        fuzz::Check(parsed.error().message.rfind("line ", 0) == 0, "a refusal names its line");
        return 0;
    }
    int last_line = 0;
    for (const harness::Command& c : *parsed) {
        fuzz::Check(c.line > last_line, "commands come in line order");
        last_line = c.line;
        if (c.name == "key") {
            uint32_t vk = 0, modifiers = 0;
            fuzz::Check(c.args.size() == 1 && harness::ParseKey(c.args[0], &vk, &modifiers),
                        "a parsed key names a key");
        }
        if (c.name == "type" || c.name == "clipboard")
            fuzz::Check(c.args.size() == 1 && !c.args[0].empty(), "text commands carry text");
    }
    return 0;
}
