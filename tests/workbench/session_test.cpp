#include <cerrno>
#include <cstring>
#include <filesystem>

#include <unistd.h>

#include <gtest/gtest.h>

#include <QImage>

#include "runtime/random_source.h"
#include "workbench/session.h"

namespace vesk {
namespace {

const char* const FirstRandomPattern =
    "DB76D476749D2041640C3032CF707959756C7021F204B6E133793323C0597F64623142D721BBB368";

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override { RandomSource.Seed = 0; } // a session starts as the program does

    void ExpectCaptions(const char* cardinality, const char* subsethood, const char* hamming,
                        const char* fitness) const {
        EXPECT_EQ(Session.CardinalityCaption, cardinality);
        EXPECT_EQ(Session.SubsethoodCaption, subsethood);
        EXPECT_EQ(Session.HammingCaption, hamming);
        EXPECT_EQ(Session.FitnessCaption, fitness);
    }

    static void ExpectNothingToShow(const TCommandOutcome& outcome) {
        EXPECT_FALSE(outcome.Message);
        EXPECT_FALSE(outcome.Error);
        EXPECT_FALSE(outcome.Information);
    }

    TWorkbenchSession Session;
};

TEST_F(SessionTest, StartsAsTheWindowDoes) {
    EXPECT_EQ(Session.Elements.Text, "100");
    EXPECT_EQ(Session.Blocks.Text, "16");
    EXPECT_EQ(Session.HexaText, "");
    EXPECT_EQ(Session.HexaItems,
              (std::vector<std::string>{"77467C422E8C46887454", "AF6553666D22533E1571"}));
    ExpectCaptions("0.0", "0.0", "0.0", "0");
    EXPECT_FALSE(Session.Image.HasBitmap());
    EXPECT_EQ(Session.PatternSet.Count(), 0);
    EXPECT_EQ(Session.ReferenceSet.Count(), 0);
}

TEST_F(SessionTest, PresetsShowTheirMeasures) {
    Session.HexaText = Session.HexaItems[0];
    ExpectNothingToShow(Session.HexaString());
    EXPECT_EQ(Session.Blocks.Text, "4");
    ExpectCaptions("   62.02", "    0.69", "   28.94", "        17");
    EXPECT_EQ(Session.PatternSet.Count(), 100);
    EXPECT_EQ(Session.ReferenceSet.Count(), 100);

    Session.HexaText = Session.HexaItems[1];
    ExpectNothingToShow(Session.HexaString());
    ExpectCaptions("   43.27", "    0.83", "   23.99", "        21");
}

TEST_F(SessionTest, SweepListsTheFourFitnessValuesAndDrawsNothing) {
    Session.HexaText = "77467C422E8C46887454";
    TCommandOutcome outcome = Session.Fitness();
    ASSERT_TRUE(outcome.Message);
    EXPECT_EQ(*outcome.Message, "Fitness (100, 500, 1000, 5000):    17,   18,   18,   18");
    EXPECT_FALSE(outcome.Error);
    EXPECT_EQ(Session.Blocks.Text, "4");
    EXPECT_EQ(Session.ReferenceSet.Count(), 5000);
    EXPECT_EQ(Session.PatternSet.Count(), 5000);
    EXPECT_FALSE(Session.Image.HasBitmap());
    ExpectCaptions("0.0", "0.0", "0.0", "0");

    Session.HexaText = "AF6553666D22533E1571";
    EXPECT_EQ(Session.Fitness().Message, "Fitness (100, 500, 1000, 5000):    21,   23,   23,   23");

    Session.HexaText = ""; // no blocks: flat at 50, the block field ends at 1
    EXPECT_TRUE(Session.Fitness().Message);
    EXPECT_EQ(Session.Blocks.Text, "1");
}

TEST_F(SessionTest, FirstRandomVeskWritesTheKnownPattern) {
    ExpectNothingToShow(Session.RandomVesk());
    EXPECT_EQ(Session.HexaText, FirstRandomPattern);
    ExpectCaptions("   38.28", "    0.72", "   35.56", "        14");
    EXPECT_EQ(Session.Blocks.Text, "16");
    EXPECT_EQ(Session.HexaItems.size(), 2u); // the list is not touched

    // Reading the written text back shows the same pattern.
    ExpectNothingToShow(Session.HexaString());
    ExpectCaptions("   38.28", "    0.72", "   35.56", "        14");
    EXPECT_EQ(Session.Blocks.Text, "16");
    // Every command drew a chromosome, so the next random pattern differs.
    Session.RandomVesk();
    EXPECT_NE(Session.HexaText, FirstRandomPattern);
}

TEST_F(SessionTest, ReferenceFaultEndsTheCommandBeforeAnythingChanges) {
    Session.Elements.Text = "5";
    for (TCommandOutcome outcome :
         {Session.RandomVesk(), Session.HexaString(), Session.Evolve(1000)}) {
        ASSERT_TRUE(outcome.Error);
        EXPECT_EQ(*outcome.Error, "Floating point division by zero.");
    }
    ExpectCaptions("0.0", "0.0", "0.0", "0");
    EXPECT_FALSE(Session.Image.HasBitmap());
    EXPECT_EQ(Session.HexaText, "");
    EXPECT_EQ(RandomSource.Seed, 0u); // no agent was made
}

TEST_F(SessionTest, FaultPartWayKeepsWhatWasDone) {
    Session.Elements.Text = "1";
    Session.HexaText = "00000"; // one element: max(50, ramp) = 50
    ExpectNothingToShow(Session.HexaString());
    ExpectCaptions("    0.50", "    1.00", "    0.50", "        10");
    Session.HexaText = "00001"; // min(50, ramp) = 0: the subsethood is 0/0
    const TCommandOutcome outcome = Session.HexaString();
    ASSERT_TRUE(outcome.Error);
    EXPECT_EQ(*outcome.Error, "Invalid floating point operation.");
    ExpectCaptions("    0.00", "    1.00", "    0.50", "        10");
    EXPECT_EQ(Session.PatternSet.GetDegree(0), 0);
    EXPECT_TRUE(Session.Image.HasBitmap());
}

TEST_F(SessionTest, FieldsCommitBeforeTheyAreRead) {
    // A typed 0 becomes 1: the reference is the single degree 100, and the first random
    // pattern projects to a single 0, so the command stops at the subsethood.
    Session.Elements.Text = "0";
    const TCommandOutcome outcome = Session.RandomVesk();
    EXPECT_EQ(Session.Elements.Text, "1");
    EXPECT_EQ(Session.ReferenceSet.Degrees(), std::vector<std::int32_t>{100});
    EXPECT_EQ(Session.HexaText, FirstRandomPattern);
    ASSERT_TRUE(outcome.Error);
    EXPECT_EQ(*outcome.Error, "Invalid floating point operation.");
    ExpectCaptions("    0.00", "0.0", "0.0", "0");

    Session.Elements.Text = "2000000000";
    Session.Blocks.Text = "40";
    ExpectNothingToShow(Session.RandomVesk());
    EXPECT_EQ(Session.Elements.Text, "2048");
    EXPECT_EQ(Session.ReferenceSet.Count(), 2048);
    EXPECT_EQ(Session.Blocks.Text, "32");
    EXPECT_EQ(Session.HexaText.size(), 160u);

    Session.Elements.Text = "abc"; // does not parse: reads as 1 and stays
    Session.HexaText = "";
    ExpectNothingToShow(Session.HexaString());
    EXPECT_EQ(Session.Elements.Text, "abc");
    EXPECT_EQ(Session.PatternSet.Degrees(), std::vector<std::int32_t>{50});
    EXPECT_EQ(Session.Blocks.Text, "1"); // no blocks, written clamped
}

TEST_F(SessionTest, HexaTextOfAWrongLengthIsRefusedUntouched) {
    Session.HexaText = Session.HexaItems[0];
    Session.HexaString();
    const std::uint32_t seed = RandomSource.Seed;
    const QImage before = Session.Image.Bitmap().copy();

    Session.HexaText = "77467C422E8C4688745"; // 19 characters
    Session.Blocks.Text = "40";
    for (TCommandOutcome outcome : {Session.HexaString(), Session.Fitness()}) {
        ASSERT_TRUE(outcome.Error);
        EXPECT_EQ(*outcome.Error, "Hexa string length must be a multiple of 5.");
        EXPECT_FALSE(outcome.Message);
    }
    EXPECT_EQ(RandomSource.Seed, seed);
    EXPECT_EQ(Session.Blocks.Text, "40");
    EXPECT_EQ(Session.HexaText, "77467C422E8C4688745");
    ExpectCaptions("   62.02", "    0.69", "   28.94", "        17");
    EXPECT_EQ(Session.ReferenceSet.Count(), 100);
    EXPECT_EQ(Session.Image.Bitmap(), before);
}

TEST_F(SessionTest, SaveImageWritesTheBitmapAsBmp) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("vesk_session_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "picture").string(); // no extension is added

    const TCommandOutcome early = Session.SaveImage(path);
    ASSERT_TRUE(early.Information);
    EXPECT_EQ(*early.Information, "There is no image to save yet.");
    EXPECT_FALSE(std::filesystem::exists(path));

    Session.HexaText = Session.HexaItems[1];
    Session.HexaString();
    ExpectNothingToShow(Session.SaveImage(path));
    QImage saved(QString::fromStdString(path), "BMP");
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), QSize(611, 236));
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB888), Session.Image.Bitmap());

    // After a resize the next pattern command draws, and saves, at the new size.
    Session.Image.SetClientSize(400, 150);
    Session.HexaString();
    ExpectNothingToShow(Session.SaveImage(path));
    EXPECT_EQ(QImage(QString::fromStdString(path), "BMP").size(), QSize(400, 150));

    const std::string unwritable = (dir / "missing" / "picture.bmp").string();
    const TCommandOutcome failed = Session.SaveImage(unwritable);
    ASSERT_TRUE(failed.Error);
    EXPECT_EQ(*failed.Error,
              "Cannot create file " + unwritable + ": " + std::strerror(ENOENT) + ".");
    std::filesystem::remove_all(dir);
}

TEST_F(SessionTest, DoubleClickAppendsTheTextUnchecked) {
    Session.HexaText = "12345";
    Session.AppendHexaItem();
    Session.AppendHexaItem();
    Session.HexaText = "";
    Session.AppendHexaItem();
    ASSERT_EQ(Session.HexaItems.size(), 5u);
    EXPECT_EQ(Session.HexaItems[2], "12345");
    EXPECT_EQ(Session.HexaItems[3], "12345");
    EXPECT_EQ(Session.HexaItems[4], "");
}

// The evolve a session prepares spends what `vesk evolve` would with the same options: a time
// limit or a stop distance alone lifts the budget, the default budget stands without them, and
// the budget the verb gives or the settings set counts whatever else is set.
TEST_F(SessionTest, EvolveSpendsWhatTheSettingsSayAsTheToolDoes) {
    const auto prepared = [this](std::optional<std::uint64_t> evaluations = std::nullopt) {
        TSearchSettings settings;
        EXPECT_FALSE(Session.PrepareEvolve(settings, evaluations).Error);
        return settings;
    };
    EXPECT_EQ(prepared().Evaluations, EvolveBudget);
    ASSERT_EQ(ApplySearchSetting(Session.Search, "seconds", "2.5"), "");
    EXPECT_EQ(prepared().Evaluations, MaxEvaluations);
    EXPECT_EQ(prepared().Seconds, 2.5);
    EXPECT_EQ(prepared(3000).Evaluations, 3000u);
    ASSERT_EQ(ApplySearchSetting(Session.Search, "seconds", "off"), "");
    ASSERT_EQ(ApplySearchSetting(Session.Search, "distance", "0.5"), "");
    EXPECT_EQ(prepared().Evaluations, MaxEvaluations);
    ASSERT_EQ(ApplySearchSetting(Session.Search, "evaluations", "40000"), "");
    EXPECT_EQ(prepared().Evaluations, 40000u);
    ASSERT_EQ(ApplySearchSetting(Session.Search, "evaluations", "default"), "");
    ASSERT_EQ(ApplySearchSetting(Session.Search, "distance", "off"), "");
    EXPECT_EQ(prepared().Evaluations, EvolveBudget);
    ASSERT_EQ(ApplySearchSetting(Session.Search, "islands", "3"), "");
    EXPECT_EQ(prepared().Islands, 3);
    ASSERT_EQ(ApplySearchSetting(Session.Search, "islands", "default"), "");
    EXPECT_EQ(prepared().Islands, 0);
}

// A setting no later evolve could run with is refused when it is given, in evolve's words, and
// leaves the settings as they were; one a later change of target or pattern could make usable
// is taken.
TEST_F(SessionTest, ASettingNoEvolveCouldUseIsRefusedAtOnce) {
    TSearchSettings settings;
    EXPECT_EQ(ApplySearchSetting(Session.Search, "algorithm", "nsga2"),
              "nsga2 serves the Pareto search only");
    EXPECT_FALSE(Session.Search.Algorithm.has_value());
    EXPECT_FALSE(Session.PrepareEvolve(settings).Error);
    EXPECT_EQ(ApplySearchSettings(Session.Search, {{"seed", "5"}, {"algorithm", "nsga2"}}),
              "nsga2 serves the Pareto search only");
    EXPECT_EQ(Session.Search.Seed, EvolveSeed); // nothing of a refused set is taken
    // Each setting is blamed for its own value, named by its place; together-only refusals
    // blame what giving up would cure.
    EXPECT_EQ(SettingProblems(Session.Search, {{"seed", "x"}, {"islands", "2"}, {"shapes", "99"}}),
              (std::vector<std::string>{"must be a whole number", "",
                                        "'99' is not a code 0..15 or a range LOW-HIGH of them"}));
    EXPECT_EQ(SettingProblems(Session.Search, {{"seed", "5"}, {"algorithm", "nsga2"}}),
              (std::vector<std::string>{"", "nsga2 serves the Pareto search only"}));
    EXPECT_EQ(SettingProblems(Session.Search, {{"seconds", "off"}, {"seed", "5"}}),
              (std::vector<std::string>{"", ""}));
    EXPECT_EQ(ApplySearchSetting(Session.Search, "pareto", "on"),
              "no setting 'pareto' (the settings: objective, algorithm, islands, seed, "
              "evaluations, seconds, distance, start, shapes, operators)");
    // A start outside the shapes allowed depends on the pattern shown when evolve runs.
    ASSERT_EQ(ApplySearchSetting(Session.Search, "shapes", "0"), "");
    ASSERT_EQ(ApplySearchSetting(Session.Search, "start", "on"), "");
    Session.HexaText = "AF655";
    EXPECT_EQ(Session.PrepareEvolve(settings).Error,
              "the start pattern's block 1 has shape 10, which the allowed shapes leave out");
    Session.HexaText = "";
    EXPECT_EQ(Session.PrepareEvolve(settings).Error,
              "start from the current pattern: there is no pattern to start from");
    Session.HexaText = "00000";
    EXPECT_FALSE(Session.PrepareEvolve(settings).Error);
    // Every algorithm but the Pareto search's is offered.
    std::vector<std::string> offered = AlgorithmNames();
    std::erase(offered, AlgorithmName(ParetoAlgorithm));
    EXPECT_EQ(SearchSettingWords(*SearchOptionOf("algorithm", TFrontEnd::Session)), offered);
}

} // namespace
} // namespace vesk
