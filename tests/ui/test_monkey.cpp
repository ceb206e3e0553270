// The monkey test: thousands of seeded random user actions on every control of the real
// window, with the invariants checked after each one. A short seed runs in the default suite,
// a few fixed longer ones under the label monkey;
// MONKEY_SEED (with MONKEY_SEEDS, MONKEY_ACTIONS, MONKEY_SEPARATOR, MONKEY_REAL_BOX and
// MONKEY_FREE_RUN) runs others, longer.

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <ostream>

#include "Errors.h"
#include "TButton.h"
#include "TEdit.h"
#include "TForm1.h"
#include "TRadioGroup.h"
#include "TTimer.h"
#include "test_monkey_driver.h"

namespace {
constexpr int DefaultActions = 3000;

int EnvInt(const char *Name, int Default)
{
    const char *v = std::getenv(Name);
    return v && *v ? std::atoi(v) : Default;
}

void RunSeed(uint64_t Seed, QChar Separator, bool RealBox, int Actions = 0)
{
    TMonkeyOptions options;
    options.Seed = Seed;
    // The real box costs a window per error: fewer actions keep such a seed as short.
    options.Actions = Actions ? Actions : EnvInt("MONKEY_ACTIONS", RealBox ? 2000 : DefaultActions);
    options.FreeRun = EnvInt("MONKEY_FREE_RUN", 0) != 0;
    options.Separator = Separator;
    options.RealBox = RealBox;
    TMonkey monkey(options);
    const QString failure = monkey.Run();
    std::fputs(monkey.Summary().toUtf8().constData(), stdout);
    EXPECT_TRUE(failure.isEmpty()) << failure.toStdString();
}

struct TSeed {
    uint64_t Seed;
    char Separator;
    bool RealBox; // the real modal box instead of the capturing hook
};

void PrintTo(const TSeed &Seed, std::ostream *Out)
{
    *Out << "seed " << Seed.Seed << ", separator '" << Seed.Separator << "'" << (Seed.RealBox ? ", real box" : "");
}

class MonkeyTest : public ::testing::TestWithParam<TSeed> {};

TEST_P(MonkeyTest, EveryActionLeavesTheWindowSound)
{
    RunSeed(GetParam().Seed, QLatin1Char(GetParam().Separator), GetParam().RealBox);
}

INSTANTIATE_TEST_SUITE_P(FixedSeeds, MonkeyTest,
                         ::testing::Values(TSeed{1, ',', false}, TSeed{2, ',', true}, TSeed{3, '.', true},
                                           TSeed{4, ',', false}),
                         [](const ::testing::TestParamInfo<TSeed> &Info) {
                             return "Seed" + std::to_string(Info.param.Seed) +
                                    (Info.param.Separator == ',' ? "Comma" : "Point") +
                                    (Info.param.RealBox ? "RealBox" : "");
                         });

// The one seed of the default suite: a few hundred actions, enough to find a handler that
// breaks the window at once.
TEST(MonkeyShortTest, AShortSeedLeavesTheWindowSound)
{
    RunSeed(5, QLatin1Char(','), false, 400);
}

TEST(MonkeyEnvironmentTest, SeedsFromTheEnvironment)
{
    const char *seed = std::getenv("MONKEY_SEED");
    if (!seed || !*seed)
        GTEST_SKIP() << "set MONKEY_SEED (and MONKEY_SEEDS, MONKEY_ACTIONS, MONKEY_SEPARATOR, MONKEY_REAL_BOX, MONKEY_FREE_RUN) to run";
    const char *sep = std::getenv("MONKEY_SEPARATOR");
    const QChar separator = sep && *sep == '.' ? QLatin1Char('.') : QLatin1Char(',');
    const uint64_t first = std::strtoull(seed, nullptr, 10);
    const int count = EnvInt("MONKEY_SEEDS", 1);
    const bool realBox = EnvInt("MONKEY_REAL_BOX", 0) != 0;
    for (int i = 0; i < count && !HasFailure(); ++i)
        RunSeed(first + i, separator, realBox);
}
} // namespace

// The monkey itself: a window broken on purpose is caught, and the report names the seed and
// lists the actions up to the failure.
namespace {
QString BrokenRun(std::function<void(TForm1 &)> Sabotage)
{
    TMonkeyOptions options;
    options.Seed = 11;
    options.Actions = 600;
    options.Sabotage = std::move(Sabotage);
    TMonkey monkey(options);
    return monkey.Run();
}

TEST(MonkeySelfTest, CatchesBrokenSignalExclusivityAndReportsTheReplay)
{
    const QString report = BrokenRun([](TForm1 &f) { f.Lab().RadioGroup3.OnClick = [&f] { f.Lab().EngineForTest().MarkStatsStale(); }; });
    EXPECT_TRUE(report.contains("not exactly one selection")) << report.toStdString();
    EXPECT_TRUE(report.contains("replay: MONKEY_SEED=11 MONKEY_SEPARATOR=',' MONKEY_ACTIONS=")) << report.toStdString();
    EXPECT_TRUE(report.contains("seed 11, separator ','")) << report.toStdString();
    EXPECT_TRUE(report.contains("\n  1: ")) << report.toStdString();
    EXPECT_TRUE(report.contains("RadioGroup3 click item")) << report.toStdString();
}

TEST(MonkeySelfTest, CatchesANaNFigure)
{
    const QString report = BrokenRun([](TForm1 &f) {
        f.Button2->OnClick = [&f] {
            f.Forward([&f] { f.Lab().Button2Click(); });
            f.Lab().EngineForTest().StateForTest().OutSnr = std::numeric_limits<double>::quiet_NaN();
        };
    });
    EXPECT_TRUE(report.contains("OutSnr is nan")) << report.toStdString();
}

TEST(MonkeySelfTest, CatchesABoxWithAForeignMessageAndAStaleDisplay)
{
    const QString foreign = BrokenRun([](TForm1 &f) { f.Button2->OnClick = [] { throw EConvertError("Stop failed"); }; });
    EXPECT_TRUE(foreign.contains("box text \"Stop failed.\"")) << foreign.toStdString();
    const QString stale = BrokenRun([](TForm1 &f) { f.Timer1->OnTimer = [] {}; });
    EXPECT_TRUE(stale.contains(QRegularExpression("Label\\d+ shows \"[^\"]*\" for"))) << stale.toStdString();
}

TEST(MonkeySelfTest, CatchesASpinnerThatNoLongerFollowsTheNoiseText)
{
    const QString report = BrokenRun([](TForm1 &f) { f.Lab().Edit2.OnChange = [&f] { f.Lab().EngineForTest().MarkStatsStale(); }; });
    EXPECT_TRUE(report.contains("UpDown2 holds")) << report.toStdString();
}
} // namespace

namespace {
TEST(MonkeySelfTest, AnAbortStillPrintsTheSeedAndTheActions)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(BrokenRun([](TForm1 &f) { f.Button2->OnClick = [] { std::abort(); }; }),
                 "monkey: aborted\nseed 11, separator ',', actions so far:\n  1: .*Stop\n$");
}
} // namespace
