#include "CliFixture.h"

#include <chrono>
#include <filesystem>
#include <mutex>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#endif

#include "data/text/GbkCodec.h"
#include "data/platform/WidePath.h"

namespace fs = std::filesystem;

namespace morvi::test {

#ifdef _WIN32
namespace {

// morvinpc.exe is built in the directory above the test executable's.
std::wstring MorvinpcExe() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return (fs::path(self).parent_path().parent_path() / L"morvinpc.exe").wstring();
}

// One argument quoted so CommandLineToArgvW gives it back unchanged.
void AppendQuoted(std::wstring& line, const std::wstring& arg) {
    line += L'"';
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') { ++backslashes; continue; }
        line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

HANDLE InheritableFile(const std::string& path) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    return ::CreateFileW(WidenUtf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

int Spawn(const std::vector<std::string>& args, const std::string& workDir, const std::string& outPath,
          const std::string& errPath) {
    const std::wstring exe = MorvinpcExe();
    std::wstring line;
    AppendQuoted(line, exe);
    for (const std::string& a : args) {
        line += L' ';
        AppendQuoted(line, WidenUtf8(a));
    }
    // Every inheritable handle alive at a CreateProcess goes to that child: another thread's
    // start must not take these (its child would keep this output file open), so the handles
    // live only while this thread starts its own child.
    static std::mutex starting;
    std::unique_lock<std::mutex> startLock(starting);
    HANDLE out = InheritableFile(outPath), err = InheritableFile(errPath);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = out;
    si.hStdError = err;
    PROCESS_INFORMATION pi{};
    const std::wstring cwd = WidenUtf8(workDir);
    const BOOL started = ::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                          cwd.c_str(), &si, &pi);
    ::CloseHandle(out);
    ::CloseHandle(err);
    startLock.unlock();
    if (!started) throw std::runtime_error("cannot start morvinpc.exe");
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

}  // namespace
#else
namespace {

int Spawn(const std::vector<std::string>& args, const std::string& workDir, const std::string& outPath,
          const std::string& errPath) {
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
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace
#endif

void SetProgramEnvironment(const char* name, const char* value) {
#ifdef _WIN32
    // CreateProcessW hands the child this process's environment block.
    ::SetEnvironmentVariableA(name, value);
#else
    if (value) ::setenv(name, value, 1);
    else ::unsetenv(name);
#endif
}

namespace {
// The started programs speak English (their original texts) on any machine.
class FixedLocale : public ::testing::Environment {
public:
    void SetUp() override { SetProgramEnvironment("LC_ALL", "C"); }
};
[[maybe_unused]] ::testing::Environment* const kFixedLocale = ::testing::AddGlobalTestEnvironment(new FixedLocale);
}  // namespace

CliResult RunMorvinpc(const std::vector<std::string>& args, const std::string& workDir) {
    fs::create_directories(FsPath(workDir));
    const std::string outPath = workDir + "/.stdout", errPath = workDir + "/.stderr";
    CliResult result;
    result.status = Spawn(args, workDir, outPath, errPath);
    result.out = ReadFile(outPath);
    result.err = ReadFile(errPath);
#ifdef _WIN32
    // The C runtime writes "\r\n" for every "\n" of a text stream.
    for (std::string* text : {&result.out, &result.err}) {
        std::string plain;
        for (size_t i = 0; i < text->size(); ++i)
            if (!((*text)[i] == '\r' && i + 1 < text->size() && (*text)[i + 1] == '\n')) plain += (*text)[i];
        *text = plain;
    }
#endif
    fs::remove(FsPath(outPath));
    fs::remove(FsPath(errPath));
    return result;
}

std::string SlashForm(std::string path) {
#ifdef _WIN32
    for (char& c : path)
        if (c == '\\') c = '/';
#endif
    return path;
}

TreeSnapshot Snapshot(const std::string& root) {
    TreeSnapshot snap;
    for (const auto& entry : fs::recursive_directory_iterator(FsPath(root))) {
        if (!entry.is_regular_file()) continue;
        const std::string path = SlashForm(PathUtf8(entry.path()));
        snap.bytes[path] = ReadFile(path);
        snap.mtimes[path] = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                entry.last_write_time().time_since_epoch()).count();
    }
    return snap;
}

void AgeFiles(const std::string& root) {
    // Years before now, so any rewrite shows in the modification time.
    const fs::file_time_type old = fs::file_time_type::clock::now() - std::chrono::hours(24 * 365 * 5);
    for (const auto& entry : fs::recursive_directory_iterator(FsPath(root)))
        if (entry.is_regular_file()) fs::last_write_time(entry.path(), old);
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
#ifndef _WIN32
    // The programs started by the test keep their change history beside the tree (on Windows
    // it is below the test prefix's local application data, one directory per server tree).
    ::setenv("XDG_STATE_HOME", stateDir().c_str(), 1);
#endif
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
