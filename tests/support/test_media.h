// Real media for the tests, made or fetched at test time and kept in the build's test-data
// folder for the test programs after the first: the encoder output of scripts/real-media.sh
// and scripts/debian-media.sh, and the tracker modules of scripts/game-modules.sh. And a container that lays files into
// random filler, the first ones across window boundaries.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace rsf::test {

using MediaFiles = std::map<std::string, std::vector<std::uint8_t>>;

// The files a script writes into a folder of its own (`script` relative to the source tree,
// given the folder as its argument), by name; empty when the script fails. Made once: the
// folder appears whole or not at all, so test programs running side by side may all ask.
// `arguments` follow the folder (each a word without quotes).
MediaFiles ScriptMedia(const std::string& script, const std::string& folder_name, const std::string& arguments = "");

inline MediaFiles RealMedia() { return ScriptMedia("scripts/real-media.sh", "real-media"); }
inline MediaFiles GameModules() { return ScriptMedia("scripts/game-modules.sh", "game-modules"); }
// The files of Debian's packages with the stream forms the precise rules end by their trailers,
// tables and padding: a movie whose last atom has size 0 (coccinella), video elementary streams
// (xine-ui, wx3.2-examples), RealAudio with its trailer (emacspeak), Video CD and Super Video CD
// streams (k3b-data), RealMedia (golang-github-gabriel-vasile-mimetype-dev).
inline MediaFiles DebianStreamForms() {
  return ScriptMedia("scripts/debian-media.sh", "debian-stream-forms",
                     "coccinella xine-ui wx3.2-examples emacspeak k3b-data golang-github-gabriel-vasile-mimetype-dev");
}

struct Embedded {
  std::string name;
  std::int64_t start;
  std::int64_t end;
};

// `files` in random filler, in the order given; every other one starts a few bytes before a
// window boundary. Random filler follows the last file unless `last_at_end`.
std::vector<std::uint8_t> LayIntoFiller(const std::vector<std::pair<std::string, const std::vector<std::uint8_t>*>>& files,
                                        std::vector<Embedded>& placed, bool last_at_end = false);

// The output of a command, as the shell runs it.
std::string CommandOutput(const std::string& command);

}  // namespace rsf::test
