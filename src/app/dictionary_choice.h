// SPDX-License-Identifier: GPL-3.0-or-later
// Which dictionary archive the program and kovelin-lookup read.
//
// In this order: a file given on the command line (--dictionary FILE), the
// user's own at $XDG_DATA_HOME/kovelin/load.dll ($HOME/.local/share when
// XDG_DATA_HOME is unset or not absolute), then the bundled one in the data
// folder. A candidate that cannot be read is reported, naming the file and
// why, and the next one is tried; the bundled dictionary is the last resort
// and is taken without a check (its problems show as they always have).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace app {

enum class DictionarySource { kCommandLine, kUser, kBundled };

struct DictionaryChoice {
    std::string path;
    DictionarySource source = DictionarySource::kBundled;
    // One sentence per candidate passed over, naming its file.
    std::vector<std::string> problems;

    // "the bundled dictionary (PATH)", "your dictionary PATH", for --help,
    // the splash window and messages.
    std::string Describe() const;
};

// $XDG_DATA_HOME/kovelin/load.dll or its $HOME/.local/share default; empty
// when neither variable gives a folder.
std::string UserDictionaryPath();

// Why the archive at `path` cannot be used; empty when it can.
using DictionaryCheck = std::function<std::string(const std::string& path)>;

// The choice among the candidates. `command_line` and `user` may be empty
// (not given); a user dictionary that does not exist is not a problem, one
// named on the command line is.
DictionaryChoice ChooseDictionary(const std::string& command_line, const std::string& user,
                                  const std::string& bundled, const DictionaryCheck& check);

// The choice with the real archive check and the user's folder.
DictionaryChoice ChooseDictionary(const std::string& command_line, const std::string& bundled);

// The --dictionary FILE of the program's command line, set once by main()
// before start-up; empty when none was given.
void SetCommandLineDictionary(std::string path);
const std::string& CommandLineDictionary();

}  // namespace app
