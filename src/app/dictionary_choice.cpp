// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing the dictionary archive.
#include "app/dictionary_choice.h"

#include <sys/stat.h>

#include <cstdlib>

#include "app/archive.h"

namespace app {
namespace {

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::string& CommandLineDictionaryStorage() {
    static auto* path = new std::string();
    return *path;
}

}  // namespace

std::string DictionaryChoice::Describe() const {
    switch (source) {
        case DictionarySource::kCommandLine:
        case DictionarySource::kUser:
            return "your dictionary " + path;
        case DictionarySource::kBundled:
            break;
    }
    return "the bundled dictionary (" + path + ")";
}

std::string UserDictionaryPath() {
    const char* data_home = std::getenv("XDG_DATA_HOME");
    std::string folder;
    // Relative values are invalid and ignored, as the base directory rules
    // ask.
    if (data_home && data_home[0] == '/') {
        folder = data_home;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/') return {};
        folder = std::string(home) + "/.local/share";
    }
    if (folder.back() != '/') folder += '/';
    return folder + "kovelin/load.dll";
}

DictionaryChoice ChooseDictionary(const std::string& command_line, const std::string& user,
                                  const std::string& bundled, const DictionaryCheck& check) {
    DictionaryChoice choice;
    auto usable = [&](const std::string& path) {
        const std::string why = check(path);
        if (why.empty()) return true;
        choice.problems.push_back("The dictionary " + path + " cannot be read: " + why + ".");
        return false;
    };
    if (!command_line.empty() && usable(command_line)) {
        choice.path = command_line;
        choice.source = DictionarySource::kCommandLine;
        return choice;
    }
    if (!user.empty() && Exists(user) && usable(user)) {
        choice.path = user;
        choice.source = DictionarySource::kUser;
        return choice;
    }
    choice.path = bundled;
    choice.source = DictionarySource::kBundled;
    return choice;
}

DictionaryChoice ChooseDictionary(const std::string& command_line, const std::string& bundled) {
    return ChooseDictionary(command_line, UserDictionaryPath(), bundled,
                            [](const std::string& path) -> std::string {
                                if (!Exists(path)) return "there is no such file";
                                return archive::CheckDictionary(path, archive::kPassword).message;
                            });
}

void SetCommandLineDictionary(std::string path) {
    CommandLineDictionaryStorage() = std::move(path);
}

const std::string& CommandLineDictionary() {
    return CommandLineDictionaryStorage();
}

}  // namespace app
