// `morvinpc --version`: the project's version, whatever else stands on the command line, and
// before the check that a subcommand was given.

#include "CliFixture.h"
#include "version/ProgramVersion.h"

namespace morvi::test {
namespace {

TEST_F(CliTest, VersionPrintsTheProjectVersionAndNothingElse) {
    const std::vector<std::vector<std::string>> commands = {
        {"--version"},
        {"--version", "list", "0"},
        {"list", "0", "--version"},       // a subcommand passes it up to the program
        {"--server", "/nowhere", "--version"},
    };
    for (const auto& args : commands) {
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        const CliResult r = RunMorvinpc(args, work());
        EXPECT_EQ(r.status, 0) << joined << r.err;
        EXPECT_EQ(r.out, "morvinpc " MORVI_VERSION_TEXT "\n") << joined;
        EXPECT_EQ(r.err, "") << joined;
    }
}

TEST_F(CliTest, VersionIsNamedInTheHelpAndASubcommandIsStillRequiredWithoutIt) {
    const CliResult help = RunMorvinpc({"--help"}, work());
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--version"), std::string::npos) << help.out;
    const CliResult none = RunMorvinpc({}, work());
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.out.find(MORVI_VERSION_TEXT), std::string::npos);
}

TEST(ProgramVersion, IsThreeNumbersAndTheWindowsShortFormItsStart) {
    const std::string text = MORVI_VERSION_TEXT;
    EXPECT_EQ(text, std::to_string(MORVI_VERSION_MAJOR) + "." + std::to_string(MORVI_VERSION_MINOR) + "." +
                        std::to_string(MORVI_VERSION_PATCH));
    EXPECT_EQ(std::string(MORVI_VERSION_SHORT) + "." + std::to_string(MORVI_VERSION_PATCH), text);
}

}  // namespace
}  // namespace morvi::test
