#include "CliFixture.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "data/GbkCodec.h"

extern char** environ;

namespace fs = std::filesystem;

namespace morvi::test {

CliResult RunMorvinpc(const std::vector<std::string>& args, const std::string& workDir) {
    fs::create_directories(workDir);
    const std::string outPath = workDir + "/.stdout", errPath = workDir + "/.stderr";
    std::vector<std::string> argv_s = {MORVINPC_EXE};
    argv_s.insert(argv_s.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argv_s) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, MORVINPC_EXE, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) throw std::runtime_error("cannot start morvinpc");
    int status = 0;
    waitpid(pid, &status, 0);

    CliResult result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadFile(outPath);
    result.err = ReadFile(errPath);
    fs::remove(outPath);
    fs::remove(errPath);
    return result;
}

TreeSnapshot Snapshot(const std::string& root) {
    TreeSnapshot snap;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        const std::string path = entry.path().string();
        snap.bytes[path] = ReadFile(path);
        struct stat st{};
        ::stat(path.c_str(), &st);
        snap.mtimes[path] = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    }
    return snap;
}

void AgeFiles(const std::string& root) {
    const timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) ::utimensat(AT_FDCWD, entry.path().c_str(), old, 0);
}

std::string Gbk(const std::string& utf8) {
    auto bytes = Utf8ToGbk(utf8);
    if (!bytes) throw std::runtime_error("not GBK");
    return *bytes;
}

::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    size_t i = 0;
    while (i < actual.size() && i < expected.size() && actual[i] == expected[i]) ++i;
    return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                         << ", first difference at offset " << i;
}

std::vector<PlacementRecord> HandRecords(int file) {
    using tools::MakeRecord;
    if (file == 0)
        return {MakeRecord(3, Gbk("卫兵"), 100, 1, 50, 2, 0, 1, 2, 5),
                MakeRecord(4, Gbk("商人"), 200, 3, 60, 4, 3, 5, 1, 0, "\\script\\npc\\merchant_of_the_town.lua"),
                MakeRecord(0, Gbk("隐藏"), 10, 0, 10, 0, 0, 0, 0, 0),   // template 0: hidden
                MakeRecord(3, Gbk("卫兵"), 100, 1, 50, 2, 4, 6, 3, 7)};   // same key as the first
    return {MakeRecord(5, std::string("Bad\xFF\xFE", 5), 300, 5, 70, 6, 4, 2, 4, 1),   // not valid GBK
            MakeRecord(6, "Slash\\x41", 400, 7, 80, 8, 5, 0, 0, 2)};   // a real "\x41" in the name
}

void CliTest::SetUp() {
    // The programs started by the test keep their change history beside the tree.
    ::setenv("XDG_STATE_HOME", stateDir().c_str(), 1);
    tools::TreeShape shape;
    shape.maps = 3;
    shape.filesPerMap = 6;
    shape.recordsPerFile = 4;
    shape.templates = 12;
    tools::GenerateServerTree(server(), shape);
    // A fourth map of known records; its script file exists.
    std::string worldset = ReadFile(server() + "/maps/worldset.ini");
    worldset.replace(worldset.find("Count=3"), 7, "Count=4");
    worldset += "World03=99\r\n";
    WriteFile(server() + "/maps/worldset.ini", worldset);
    std::string maplist = ReadFile(server() + "/settings/maplist.ini");
    maplist += "99_name=" + Gbk("手工") + "\r\n99=hand\r\n";
    WriteFile(server() + "/settings/maplist.ini", maplist);
    WriteFile(handFile(0), tools::MakeRegionImage(7, HandRecords(0)));
    WriteFile(handFile(1), tools::MakeRegionImage(8, HandRecords(1)));
    WriteFile(server() + "/script/npc/merchant_of_the_town.lua", "-- merchant\n");
    fs::create_directories(work());
}

}  // namespace morvi::test
