#pragma once
// Runs morvinpc as a user would: a separate process with arguments and a working directory,
// its standard output, standard error and exit status captured. The server tree is generated
// below a temporary directory, with a hand-made map of known records beside the generated ones.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "TreeGenerator.h"

namespace morvi::test {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the executable with `args` in `workDir`.
CliResult RunMorvinpc(const std::vector<std::string>& args, const std::string& workDir);

// A path with '/' as its only separator (Windows takes both), so the tests compare one form.
std::string SlashForm(std::string path);

// Bytes and modification times of every file below a directory, by their paths' slash form.
struct TreeSnapshot {
    std::map<std::string, std::string> bytes;
    std::map<std::string, long long> mtimes;   // nanoseconds
};
TreeSnapshot Snapshot(const std::string& root);

// Sets every file's modification time to a fixed time in the past, so any rewrite shows.
void AgeFiles(const std::string& root);

std::string Gbk(const std::string& utf8);

// Equal bytes; on a difference, the sizes and the first differing offset instead of a dump.
::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected);

// Sets (nullptr: removes) an environment variable of the programs the tests start. Every test
// program starts them with LC_ALL=C, so they speak their original English whatever the
// machine's locale is; the tests of the language choice set the locale variables themselves.
void SetProgramEnvironment(const char* name, const char* value);

class CliTest : public ::testing::Test {
protected:
    // Generated maps 0..2 plus map 3 ("手工", directory "hand"): two region files of known
    // records (see HandRecords()).
    void SetUp() override;

    CliResult Run(std::vector<std::string> args) {
        args.insert(args.begin() + (args.empty() ? 0 : 1), {"--server", server()});
        return RunMorvinpc(args, work());
    }

    std::string server() const { return SlashForm(dir.path()) + "/server"; }
    std::string work() const { return SlashForm(dir.path()) + "/work"; }
    // XDG_STATE_HOME of the programs the test starts.
    std::string stateDir() const { return SlashForm(dir.path()) + "/state"; }
    std::string handFile(int i) const { return server() + "/maps/hand/" + (i == 0 ? "a/0_0_S.DAT" : "b/0_1_S.DAT"); }

    TempDir dir;
};

// The records of the hand-made map's two files.
std::vector<PlacementRecord> HandRecords(int file);

}  // namespace morvi::test
