// Replays every file of the fuzz corpus through the fuzz targets' property checks, so the
// suite keeps what the fuzzer once found without needing libFuzzer.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "NumberTextProperties.h"

namespace {

using TCheck = std::string (*)(const uint8_t *, std::size_t);

struct TTarget {
    const char *Name;
    TCheck Check;
};

void PrintTo(const TTarget &Target, std::ostream *Out) { *Out << Target.Name; }

class CorpusReplay : public ::testing::TestWithParam<TTarget> {};

std::string ReadFile(const std::filesystem::path &Path)
{
    std::ifstream In(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

} // namespace

TEST_P(CorpusReplay, EveryFileKeepsItsProperties)
{
    const std::filesystem::path Dir = std::filesystem::path(FUZZ_CORPUS_DIR) / GetParam().Name;
    ASSERT_TRUE(std::filesystem::is_directory(Dir)) << Dir;
    std::vector<std::filesystem::path> Files;
    for (const auto &Entry : std::filesystem::directory_iterator(Dir))
        if (Entry.is_regular_file())
            Files.push_back(Entry.path());
    std::sort(Files.begin(), Files.end());
    // A corpus that lost its files would pass vacuously.
    ASSERT_GE(Files.size(), 20u) << Dir;
    for (const auto &File : Files) {
        const std::string Bytes = ReadFile(File);
        const std::string Fault = GetParam().Check(reinterpret_cast<const uint8_t *>(Bytes.data()), Bytes.size());
        EXPECT_EQ(Fault, "") << File.filename().string();
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, CorpusReplay,
                         ::testing::Values(TTarget{"parse_float", CheckParseFloat}, TTarget{"parse_int", CheckParseInt},
                                           TTarget{"format_general", CheckFormatGeneral}),
                         [](const auto &Info) { return std::string(Info.param.Name); });
