// The input file `import` reads comes back byte for byte, whatever its size (empty, small,
// across whole large pages and just past one), and what is not a readable regular file is
// refused.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "cli/InputText.h"

namespace morvi::test {
namespace {

namespace fs = std::filesystem;

class InputTextTest : public ::testing::Test {
protected:
    InputTextTest() : dir(fs::temp_directory_path() / ("morvi-input-" + std::to_string(std::random_device{}()))) {
        fs::create_directories(dir);
    }
    ~InputTextTest() override { fs::remove_all(dir); }

    std::string Write(const std::string& name, const std::string& bytes) {
        const fs::path path = dir / name;
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    fs::path dir;
};

TEST_F(InputTextTest, ReadsEveryByteOfFilesOfEverySize) {
    const size_t page = kLargePageBytes;
    std::mt19937 random(11);
    for (const size_t size : {size_t{0}, size_t{1}, size_t{4096}, page - 1, page, page + 1, 3 * page + 17}) {
        std::string bytes(size, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        cli::InputText text;
        ASSERT_TRUE(text.Read(Write("in.csv", bytes))) << size;
        EXPECT_EQ(text.View(), bytes) << size;
    }
}

TEST_F(InputTextTest, RefusesWhatIsNoReadableRegularFile) {
    cli::InputText text;
    EXPECT_FALSE(text.Read((dir / "missing.csv").string()));
    EXPECT_FALSE(text.Read(dir.string()));
#ifndef _WIN32
    const std::string fifo = (dir / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(text.Read(fifo)) << "a FIFO is refused without blocking";
#endif
    EXPECT_TRUE(text.View().empty());
}

}  // namespace
}  // namespace morvi::test
